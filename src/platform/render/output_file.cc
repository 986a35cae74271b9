// Temporary-then-rename output files.
// The temporary is created with mkstemp in the target's own folder so that the final rename cannot cross
// devices.
#include "platform/render/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/render/render_error.h"

namespace vob::render {

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
  std::vector<char> name(target_.begin(), target_.end());
  for (char c : std::string_view(".XXXXXX")) name.push_back(c);
  name.push_back('\0');
  int descriptor = mkstemp(name.data());
  if (descriptor < 0) Fail("cannot create a temporary file for");
  temporary_ = name.data();
  // mkstemp makes the file private; the finished output is an ordinary readable file.
  fchmod(descriptor, 0644);
  file_ = fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    int saved = errno;
    close(descriptor);
    std::remove(temporary_.c_str());
    errno = saved;
    Fail("cannot open a temporary file for");
  }
  // Large writes go straight through; small ones are gathered.
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      file_(std::exchange(other.file_, nullptr)),
      is_committed_(std::exchange(other.is_committed_, true)) {}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!is_committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

void OutputFile::Write(const void* data, size_t size) {
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) Fail("cannot write");
}

void OutputFile::Commit() {
  std::FILE* file = std::exchange(file_, nullptr);
  if (std::fclose(file) != 0) Fail("cannot write");
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot rename the temporary file onto");
  is_committed_ = true;
}

void OutputFile::Fail(const char* what) const {
  throw RenderError(std::string(what) + " " + target_ + ": " + std::strerror(errno));
}

}  // namespace vob::render
