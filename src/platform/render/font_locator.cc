// fontconfig look-ups for report fonts.
// FcFontMatch always answers with some font; the family check afterwards is what turns a miss into an error.
#include "platform/render/font_locator.h"

#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <tuple>

#include "platform/render/font_location_cache.h"
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

using FontKey = std::tuple<std::string, bool, bool>;

std::mutex cache_settings_mutex;
FontCacheSettings cache_settings;

FontCacheSettings CacheSettings() {
  const std::lock_guard lock(cache_settings_mutex);
  return cache_settings;
}

// The caller's context, and what the answers depend on in this program: fontconfig's version and the rules
// above (the twins table; a change to Match or AcceptedFamily must change kRules).
std::string FullContext(const std::string& context) {
  constexpr std::string_view kRules = "exact family or Liberation twin, scalable, weight and slant";
  uint64_t hash = 14695981039346656037u;  // FNV-1a over the twins table
  for (const Twin& twin : kTwins) {
    for (char c : std::string(twin.family) + '\0' + std::string(twin.liberation) + '\0') {
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    }
  }
  return context + "\nfontconfig " + std::to_string(FcGetVersion()) + "\nrules " + std::string(kRules) + " " +
         std::to_string(hash);
}

// The answers of the cache file, read once per process; empty when there is no file or it is not current.
const std::map<FontKey, FontLocation>& RememberedLocations() {
  static std::map<FontKey, FontLocation> remembered;
  static std::once_flag read;
  std::call_once(read, [] {
    const FontCacheSettings settings = CacheSettings();
    if (settings.file.empty()) return;
    auto fonts = ReadCurrentFontLocations(settings.file, FullContext(settings.context));
    if (!fonts) return;
    for (RememberedFont& font : *fonts) {
      remembered.emplace(std::make_tuple(std::move(font.family), font.is_bold, font.is_italic),
                         std::move(font.location));
    }
  });
  return remembered;
}

void AddStrings(FcStrList* list, std::set<std::string>& paths, bool adds_parents) {
  if (list == nullptr) return;
  while (FcChar8* text = FcStrListNext(list)) {
    std::string path(reinterpret_cast<const char*>(text));
    // A folder changes when a file in it appears or goes; the files fontconfig read are listed, new ones not.
    if (adds_parents) paths.insert(std::filesystem::path(path).parent_path().string());
    paths.insert(std::move(path));
  }
  FcStrListDone(list);
}

// Rewrites the cache file with every answer known. REQUIRES: fontconfig started (an answer came from it).
void WriteCache(const std::map<FontKey, FontLocation>& located) {
  const FontCacheSettings settings = CacheSettings();
  if (settings.file.empty()) return;
  std::set<std::string> paths(settings.watched_paths.begin(), settings.watched_paths.end());
  AddStrings(FcConfigGetConfigFiles(nullptr), paths, true);
  AddStrings(FcConfigGetConfigDirs(nullptr), paths, false);
  AddStrings(FcConfigGetFontDirs(nullptr), paths, false);
  std::map<FontKey, FontLocation> all = RememberedLocations();
  for (const auto& [key, location] : located) all.insert_or_assign(key, location);
  FontLocationFile contents;
  contents.context = FullContext(settings.context);
  for (const auto& [key, location] : all) {
    paths.insert(location.file);
    contents.fonts.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), location});
  }
  for (const std::string& path : paths) {
    if (!path.empty()) contents.stamps.push_back(StampOf(path));
  }
  WriteFontLocations(settings.file, contents);  // a file that cannot be written only costs the next run time
}

}  // namespace

void UseFontCache(FontCacheSettings settings) {
  const std::lock_guard lock(cache_settings_mutex);
  cache_settings = std::move(settings);
}

void StartFontDiscovery() {
  // The future's destructor, at exit, waits for a set-up still running. When the cache file answers,
  // fontconfig starts only if the run asks for a font the file does not name.
  static const std::future<void> discovery = std::async(std::launch::async, [] {
    if (RememberedLocations().empty()) StartFontconfig();
  });
}

// fontconfig's answers hold for the life of the process (it does not rescan), and matching costs more than
// a one-page report's whole layout, so each is asked once per process rather than once per run.
FontLocation LocateFont(const std::string& family, bool is_bold, bool is_italic) {
  static std::mutex mutex;
  static std::map<FontKey, FontLocation> located;
  const std::lock_guard lock(mutex);
  FontKey key = std::make_tuple(family, is_bold, is_italic);
  auto found = located.find(key);
  if (found != located.end()) return found->second;
  const std::map<FontKey, FontLocation>& remembered = RememberedLocations();
  if (auto known = remembered.find(key); known != remembered.end()) {
    return located.emplace(std::move(key), known->second).first->second;
  }
  found = located.emplace(std::move(key), Locate(family, is_bold, is_italic)).first;
  WriteCache(located);
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
