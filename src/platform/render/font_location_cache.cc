// The font locations file: one record a line, fields apart by tabs, backslash, tab and newline escaped.
// The first line names the format; a file of another format (an older release) reads as corrupt.
#include "platform/render/font_location_cache.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/render/output_file.h"
#include "platform/render/render_error.h"

namespace vob::render {
namespace {

// Change it whenever what a family comes to may change (the look-up's rules), so that old answers go.
constexpr std::string_view kFormatLine = "vobreports font locations 1";

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseFlag(std::string_view text, bool& flag) {
  if (text != "0" && text != "1") return false;
  flag = text == "1";
  return true;
}

int64_t Nanoseconds(const timespec& time) {
  return int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

FileStamp StampOf(const std::string& path) {
  FileStamp stamp;
  stamp.path = path;
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return stamp;
  stamp.exists = true;
  stamp.modified_ns = Nanoseconds(status.st_mtim);
  stamp.changed_ns = Nanoseconds(status.st_ctim);
  stamp.size = status.st_size;
  stamp.inode = status.st_ino;
  return stamp;
}

std::string FormatFontLocations(const FontLocationFile& contents) {
  std::string text(kFormatLine);
  text += "\ncontext\t";
  AppendEscaped(text, contents.context);
  for (const FileStamp& stamp : contents.stamps) {
    text += "\nstamp\t";
    AppendEscaped(text, stamp.path);
    if (!stamp.exists) {
      text += "\tabsent";
      continue;
    }
    text += "\t" + std::to_string(stamp.modified_ns) + "\t" + std::to_string(stamp.changed_ns) + "\t" +
            std::to_string(stamp.size) + "\t" + std::to_string(stamp.inode);
  }
  for (const RememberedFont& font : contents.fonts) {
    text += "\nfont\t";
    AppendEscaped(text, font.family);
    text += font.is_bold ? "\t1" : "\t0";
    text += font.is_italic ? "\t1\t" : "\t0\t";
    AppendEscaped(text, font.location.file);
    text += "\t" + std::to_string(font.location.index_in_file) + "\t";
    AppendEscaped(text, font.location.family);
  }
  text += "\nend\n";  // a file cut short reads as corrupt
  return text;
}

std::optional<FontLocationFile> ParseFontLocations(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kFormatLine) return std::nullopt;
  FontLocationFile contents;
  bool has_context = false;
  while (std::getline(lines, line)) {
    std::vector<std::string_view> fields = Fields(line);
    const std::string_view kind = fields[0];
    if (kind == "end" && fields.size() == 1) {
      if (!has_context || lines.peek() != std::char_traits<char>::eof()) return std::nullopt;
      return contents;
    }
    if (kind == "context" && fields.size() == 2 && !has_context) {
      auto context = Unescaped(fields[1]);
      if (!context) return std::nullopt;
      contents.context = std::move(*context);
      has_context = true;
    } else if (kind == "stamp" && (fields.size() == 3 || fields.size() == 6)) {
      auto path = Unescaped(fields[1]);
      if (!path) return std::nullopt;
      FileStamp stamp;
      stamp.path = std::move(*path);
      if (fields.size() == 3) {
        if (fields[2] != "absent") return std::nullopt;
      } else {
        stamp.exists = true;
        if (!ParseNumber(fields[2], stamp.modified_ns) || !ParseNumber(fields[3], stamp.changed_ns) ||
            !ParseNumber(fields[4], stamp.size) || !ParseNumber(fields[5], stamp.inode)) {
          return std::nullopt;
        }
      }
      contents.stamps.push_back(std::move(stamp));
    } else if (kind == "font" && fields.size() == 7) {
      RememberedFont font;
      auto family = Unescaped(fields[1]);
      auto file = Unescaped(fields[4]);
      auto declared = Unescaped(fields[6]);
      if (!family || !file || !declared || !ParseFlag(fields[2], font.is_bold) ||
          !ParseFlag(fields[3], font.is_italic) || !ParseNumber(fields[5], font.location.index_in_file)) {
        return std::nullopt;
      }
      font.family = std::move(*family);
      font.location.file = std::move(*file);
      font.location.family = std::move(*declared);
      contents.fonts.push_back(std::move(font));
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;  // no end line
}

std::optional<std::vector<RememberedFont>> ReadCurrentFontLocations(const std::string& path,
                                                                    const std::string& context) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) return std::nullopt;
  std::optional<FontLocationFile> contents = ParseFontLocations(text.str());
  if (!contents || contents->context != context) return std::nullopt;
  for (const FileStamp& stamp : contents->stamps) {
    if (StampOf(stamp.path) != stamp) return std::nullopt;
  }
  return std::move(contents->fonts);
}

bool WriteFontLocations(const std::string& path, const FontLocationFile& contents) {
  try {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    OutputFile file(path);
    file.Write(FormatFontLocations(contents));
    file.Commit();
    return true;
  } catch (const RenderError&) {
    return false;
  }
}

}  // namespace vob::render
