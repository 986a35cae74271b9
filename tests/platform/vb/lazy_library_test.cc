// Libraries loaded on first use: a function is found in a library the process has not loaded yet, and a
// missing library or function is an error that names it (a host without libpq must learn why).
#include "platform/vb/lazy_library.h"

#include <gtest/gtest.h>

#include <string>

namespace vob::vb {
namespace {

TEST(LazySymbol, FindsFunctionsAndNamesWhatIsMissing) {
  struct Case {
    const char* library;
    const char* symbol;
    const char* error;  // null when found
  };
  const Case kCases[] = {
      {"libz.so.1", "zlibVersion", nullptr},
      {"libvob-no-such-library.so.9", "anything", "cannot load libvob-no-such-library.so.9"},
      {"libz.so.1", "vob_no_such_function", "cannot find vob_no_such_function in libz.so.1"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.symbol);
    try {
      void* address = LazySymbol(c.library, c.symbol);
      EXPECT_EQ(c.error, nullptr);
      EXPECT_NE(address, nullptr);
    } catch (const Error& error) {
      ASSERT_NE(c.error, nullptr) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace vob::vb
