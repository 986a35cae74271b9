// JSON page dumps through nlohmann::ordered_json, keeping the field order of the format.
// Texts that are not valid UTF-8 are written with replacement characters rather than failing the dump.
#include "platform/render/json_dump.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace vob::render {
namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

const char* KindName(engine::ItemKind kind) {
  switch (kind) {
    case engine::ItemKind::kText:
      return "text";
    case engine::ItemKind::kRect:
      return "rect";
    case engine::ItemKind::kLine:
      return "line";
    case engine::ItemKind::kImage:
      return "image";
  }
  return "unknown";
}

const char* AlignName(engine::Align align) {
  switch (align) {
    case engine::Align::kLeft:
      return "left";
    case engine::Align::kRight:
      return "right";
    case engine::Align::kCenter:
      return "center";
  }
  return "left";
}

Json ItemJson(const engine::PageModel& model, const engine::PageItem& item) {
  const bool is_text = item.kind == engine::ItemKind::kText;
  Json json;
  json["kind"] = KindName(item.kind);
  json["section"] = model.name(item.section);
  json["control"] = model.name(item.control);
  json["text"] = is_text ? Json(item.text) : Json();
  json["left"] = item.left;
  json["top"] = item.top;
  json["width"] = item.width;
  json["height"] = item.height;
  json["align"] = is_text ? Json(AlignName(item.align)) : Json();
  if (is_text) {
    const engine::FontSpec& font = model.font(item.font);
    json["font"] = font.family;
    json["size"] = font.size_points;
    json["bold"] = font.is_bold;
    json["italic"] = font.is_italic;
  } else {
    json["font"] = nullptr;
    json["size"] = nullptr;
    json["bold"] = nullptr;
    json["italic"] = nullptr;
  }
  if (item.kind == engine::ItemKind::kRect) {
    char fill[8];
    std::snprintf(fill, sizeof fill, "#%02X%02X%02X", item.color.red, item.color.green, item.color.blue);
    json["fill"] = fill;
  } else {
    json["fill"] = nullptr;
  }
  json["hyperlink"] = item.hyperlink.empty() ? Json() : Json(item.hyperlink);
  return json;
}

}  // namespace

void WriteJsonDump(const engine::PageModel& model, std::ostream& out) {
  out << "{\"report\": " << Dump(model.info().report_key) << ",\n \"pages\": [";
  bool is_first_page = true;
  for (const engine::Page& page : model.pages()) {
    out << (is_first_page ? "\n" : ",\n") << "  {\"number\": " << page.number << ", \"width\": " << page.width
        << ", \"height\": " << page.height << ", \"items\": [";
    bool is_first_item = true;
    for (const engine::PageItem& item : page.items) {
      out << (is_first_item ? "\n" : ",\n") << "    " << Dump(ItemJson(model, item));
      is_first_item = false;
    }
    out << (is_first_item ? "]}" : "\n  ]}");
    is_first_page = false;
  }
  out << (is_first_page ? "],\n" : "\n ],\n") << " \"toc\": [";
  bool is_first_entry = true;
  for (const engine::TocEntry& entry : model.toc()) {
    Json json;
    json["text"] = entry.text;
    json["level"] = entry.level;
    json["page"] = entry.page;
    out << (is_first_entry ? "\n" : ",\n") << "  " << Dump(json);
    is_first_entry = false;
  }
  out << (is_first_entry ? "]}\n" : "\n ]}\n");
}

}  // namespace vob::render
