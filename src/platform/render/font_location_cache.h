// The file that remembers fontconfig's answers between processes: which font file each family, weight and
// slant came to, with the stamps (modification time, size) of every file and folder the answers depend on.
// A file whose stamps no longer hold, or that cannot be read or parsed, is not used: the caller asks again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/render/font_locator.h"

namespace vob::render {

// What a path looked like: absent, or its modification and change times, size and inode.
struct FileStamp {
  std::string path;
  bool exists = false;
  int64_t modified_ns = 0;
  int64_t changed_ns = 0;
  int64_t size = 0;
  uint64_t inode = 0;

  bool operator==(const FileStamp&) const = default;
};

// The stamp of path now (lstat-free: a link is followed to what fontconfig would read).
FileStamp StampOf(const std::string& path);

struct RememberedFont {
  std::string family;  // as asked
  bool is_bold = false;
  bool is_italic = false;
  FontLocation location;
};

struct FontLocationFile {
  std::string context;  // what else the answers depend on; a file written under another is not used
  std::vector<FileStamp> stamps;
  std::vector<RememberedFont> fonts;
};

// The file's text, and back; Parse answers nothing for a text it did not write. Paths and names may hold any
// bytes.
std::string FormatFontLocations(const FontLocationFile& contents);
std::optional<FontLocationFile> ParseFontLocations(const std::string& text);

// The file's fonts when it can be read, was written under context, and every stamp still holds; else none.
std::optional<std::vector<RememberedFont>> ReadCurrentFontLocations(const std::string& path,
                                                                    const std::string& context);

// Replaces the file at once (a new file renamed over it), creating its folder; false, and nothing left
// behind, when it cannot.
bool WriteFontLocations(const std::string& path, const FontLocationFile& contents);

}  // namespace vob::render
