// libFuzzer target: compiles arbitrary pattern bytes and applies them to a Double, a Currency, a Date, a text
// and Null. FormatError is the one acceptable way to refuse a pattern; anything else escaping is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/vb/currency.h"
#include "platform/vb/format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vob::vb::Variant;
  static const Variant kValues[] = {
      Variant(-1234.5678),
      Variant(0.0),
      Variant(vob::vb::Currency::FromRaw(-6543210987)),  // every number stays a valid date serial
      Variant(vob::vb::Currency::FromRaw(12345000)),
      Variant::Date(45296.58552083333),  // 2024-01-05 14:03:09
      Variant("5551234"),
      Variant::Null(),
  };
  const std::string_view pattern(reinterpret_cast<const char*>(data), size);
  try {
    const vob::vb::FormatProgram program = vob::vb::FormatProgram::Compile(pattern);
    for (const Variant& value : kValues) {
      // Output grows with the pattern: "c" is the longest token for its length.
      if (program.Apply(value).size() > 32 * size + 400) __builtin_trap();
    }
  } catch (const vob::vb::FormatError&) {
  }
  return 0;
}
