// dlopen's handles are never closed: the functions stay in use until the process ends.
#include "platform/vb/lazy_library.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

namespace vob::vb {

void* LazySymbol(const char* library, const char* symbol) {
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    throw Error(std::string("cannot load ") + library +
                ", which this needs: " + (reason ? reason : "not found"));
  }
  void* address = dlsym(handle, symbol);
  if (address == nullptr) throw Error(std::string("cannot find ") + symbol + " in " + library);
  return address;
}

}  // namespace vob::vb
