// fontconfig look-ups for report fonts.
// FcFontMatch always answers with some font; the family check afterwards is what turns a miss into an error.
#include "platform/render/font_locator.h"

#include <fontconfig/fontconfig.h>

#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "platform/render/render_error.h"
#include "platform/vb/names.h"

namespace vob::render {
namespace {

struct Twin {
  std::string_view family;  // lower case
  std::string_view liberation;
};

// Families whose widths the Liberation fonts were drawn to match, plus the generic names reports use for
// them.
constexpr Twin kTwins[] = {
    {"arial", "Liberation Sans"},
    {"arimo", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"sans-serif", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"helvetica narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"tinos", "Liberation Serif"},
    {"serif", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"cousine", "Liberation Mono"},
    {"monospace", "Liberation Mono"},
};

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPointer = std::unique_ptr<FcPattern, PatternDeleter>;

}  // namespace

std::string_view LiberationTwin(std::string_view family) {
  for (const Twin& twin : kTwins) {
    if (vb::SameName(twin.family, family)) return twin.liberation;
  }
  return {};
}

namespace {

PatternPointer Match(const std::string& family, bool is_bold, bool is_italic) {
  PatternPointer pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, is_bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, is_italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return PatternPointer(FcFontMatch(nullptr, pattern.get(), &result));
}

// The match's family name that is one of the accepted ones, or null. A file may list several family names
// (localised ones among them); any of them may be the one asked for.
const char* AcceptedFamily(FcPattern* match, std::string_view family, std::string_view twin) {
  FcChar8* name = nullptr;
  for (int i = 0; match != nullptr && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    std::string_view text(reinterpret_cast<const char*>(name));
    if (vb::SameName(text, family) || (!twin.empty() && vb::SameName(text, twin))) {
      return reinterpret_cast<const char*>(name);
    }
  }
  return nullptr;
}

}  // namespace

namespace {

std::once_flag fontconfig_started;
bool is_fontconfig_ready = false;

void StartFontconfig() {
  std::call_once(fontconfig_started, [] { is_fontconfig_ready = FcInit(); });
}

FontLocation Locate(const std::string& family, bool is_bold, bool is_italic) {
  std::string description = "\"" + family + "\"" + (is_bold ? " bold" : "") + (is_italic ? " italic" : "");
  if (family.empty()) throw RenderError("font not found: no family name given");
  StartFontconfig();
  if (!is_fontconfig_ready)
    throw RenderError("font not found: " + description + " (fontconfig cannot start)");
  std::string_view twin = LiberationTwin(family);

  PatternPointer match = Match(family, is_bold, is_italic);
  const char* accepted = AcceptedFamily(match.get(), family, twin);
  // Generic names ("sans-serif") may be configured to some other family; ask for the twin by its own name.
  if (accepted == nullptr && !twin.empty()) {
    match = Match(std::string(twin), is_bold, is_italic);
    accepted = AcceptedFamily(match.get(), family, twin);
  }
  FcChar8* file = nullptr;
  if (accepted == nullptr || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    throw RenderError("font not found: " + description);
  }
  int index = 0;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  return FontLocation{reinterpret_cast<const char*>(file), index, accepted};
}

}  // namespace

void StartFontDiscovery() {
  // The future's destructor, at exit, waits for a set-up still running.
  static const std::future<void> discovery = std::async(std::launch::async, StartFontconfig);
}

// fontconfig's answers hold for the life of the process (it does not rescan), and matching costs more than
// a one-page report's whole layout, so each is asked once per process rather than once per run.
FontLocation LocateFont(const std::string& family, bool is_bold, bool is_italic) {
  static std::mutex mutex;
  static std::map<std::tuple<std::string, bool, bool>, FontLocation> located;
  const std::lock_guard lock(mutex);
  auto key = std::make_tuple(family, is_bold, is_italic);
  auto found = located.find(key);
  if (found == located.end())
    found = located.emplace(std::move(key), Locate(family, is_bold, is_italic)).first;
  return found->second;
}

}  // namespace vob::render

// fontconfig 2.14 loses a block while it parses its configuration files (inside FcInit, out of our reach),
// and every program that looks up a font would fail a leak-checking sanitizer run for it.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOB_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VOB_ADDRESS_SANITIZER)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
// Without the list of suppressions used at exit: a run that fails writes its message, and nothing else, to
// standard error, sanitized or not.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
