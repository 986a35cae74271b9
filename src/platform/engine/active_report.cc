// Building a report's sections and controls from its layout tables, and finding them again by name.
#include "platform/engine/active_report.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "platform/engine/document_tables.h"
#include "platform/vb/resume_next.h"

namespace vob::engine {
namespace {

constexpr LayoutFlags kControlFlags = kHidden | kCanGrow;
constexpr LayoutFlags kHeaderOnlyFlags = kRepeat | kKeepTogether;

// Appended piece by piece: g++ 12 at -O3 takes "\"" + std::string(text) for an overlapping copy (-Wrestrict).
std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back('"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

void ApplySectionRow(Section& section, const SectionRow& row) {
  section.set_height(row.height);
  section.set_break_field(std::string(row.break_field));
  section.set_visible((row.flags & kHidden) == 0);
  section.set_new_page((row.flags & kNewPageBefore) != 0 ? 1 : (row.flags & kNewPageAfter) != 0 ? 2 : 0);
  section.set_back_style((row.flags & kOpaque) != 0 ? kBackStyleOpaque : kBackStyleTransparent);
  section.set_back_color(row.back_color);
  section.set_columns(row.columns);
  section.set_column_spacing(row.column_spacing);
  section.set_keeps_together((row.flags & kKeepTogether) != 0);
  // The banner holds the column captions, so it repeats on every page unless a handler says otherwise.
  section.set_repeats(row.section == kBannerHeader || (row.flags & kRepeat) != 0);
}

void CheckSectionRow(const SectionRow& row) {
  std::string name(SectionName(row.section));
  if (row.section >= kSectionCount) throw LayoutError("section row with an unknown section id");
  if ((row.flags & kCanGrow) != 0)
    throw LayoutError(name + ": sections always grow; kCanGrow is for controls");
  bool is_header = IsGroupHeader(row.section) || row.section == kBannerHeader;
  if ((row.flags & kHeaderOnlyFlags) != 0 && !is_header) {
    throw LayoutError(name + ": kRepeat and kKeepTogether are for group headers");
  }
  if (!row.break_field.empty() && !IsGroupHeader(row.section)) {
    throw LayoutError(name + ": only group headers have a break field");
  }
  if ((row.flags & kNewPageBefore) != 0 && (row.flags & kNewPageAfter) != 0) {
    throw LayoutError(name + ": a new page either before or after, not both");
  }
  if (row.columns < 1) throw LayoutError(name + ": at least one column");
  if (!row.name.empty()) {
    const SectionId named_as = SectionByName(row.name);
    const bool is_same_kind = (IsGroupHeader(row.section) && IsGroupHeader(named_as)) ||
                              (IsGroupFooter(row.section) && IsGroupFooter(named_as));
    if (!is_same_kind)
      throw LayoutError(name + ": only a group may take another name, that of a group section of its kind");
  }
}

void ApplyControlRow(Control& control, const ControlRow& row) {
  control.set_left(row.left);
  control.set_top(row.top);
  control.set_width(row.width);
  control.set_height(row.height);
  control.set_visible((row.flags & kHidden) == 0);
  if (auto* text_control = dynamic_cast<TextControl*>(&control)) {
    text_control->set_font(
        FontSpec{std::string(row.font.family), row.font.size_points, row.font.is_bold, row.font.is_italic});
    text_control->set_alignment(row.align);
    text_control->set_can_grow((row.flags & kCanGrow) != 0);
  }
  if (auto* label = dynamic_cast<Label*>(&control)) label->set_caption(std::string(row.text));
  if (auto* text_box = dynamic_cast<TextBox*>(&control)) {
    text_box->set_data_field(std::string(row.text));
    text_box->set_output_format(std::string(row.format));
  }
  if (auto* data = dynamic_cast<DataControl*>(&control)) data->set_source(std::string(row.text));
}

}  // namespace

void ReleaseReport::operator()(ActiveReport* report) const {
  // A release runs in destructors, so an error in Terminate can reach no one: it ends Terminate only.
  vb::ResumeNext([report] { report->ActiveReport_Terminate(); });
  delete report;
}

ActiveReport::ActiveReport() = default;
ActiveReport::~ActiveReport() = default;

Section& ActiveReport::Sections(std::string_view name) {
  const SectionId named_as = SectionByName(name);
  for (const auto& section : sections_) {
    if (section != nullptr && section->named_as() == named_as) return *section;
  }
  throw LayoutError(class_name() + " has no section named " + Quoted(name));
}

Section& ActiveReport::Sections(SectionId id) {
  if (id >= kSectionCount || sections_[id] == nullptr) {
    throw LayoutError(class_name() + " has no section " + Quoted(SectionName(id)));
  }
  return *sections_[id];
}

Control* ActiveReport::FindControl(std::string_view name) {
  uint64_t version = ControlsVersion();
  if (version != controls_by_name_version_) {
    controls_by_name_.clear();
    for (const auto& section : sections_) {
      if (section == nullptr) continue;
      for (const auto& control : section->controls()) {
        if (!controls_by_name_.emplace(control->name(), control.get()).second) {
          throw LayoutError(class_name() + " has two controls named " + Quoted(control->name()));
        }
      }
    }
    controls_by_name_version_ = version;
    recent_lookups_.Clear();
  }
  if (Control* const* kept = recent_lookups_.Find(name)) return *kept;
  auto found = controls_by_name_.find(name);
  if (found == controls_by_name_.end()) return nullptr;
  recent_lookups_.Keep(name, found->second);
  return found->second;
}

Control& ActiveReport::ControlNamed(std::string_view name) {
  if (Control* control = FindControl(name)) return *control;
  throw LayoutError(class_name() + " has no control named " + Quoted(name));
}

int32_t ActiveReport::paper_width() const {
  bool is_landscape = printer_.orientation == kLandscape || page_settings_.orientation == kLandscape;
  int32_t width = printer_.paper_size == kPaperA4 ? 11906 : 12240;
  int32_t height = printer_.paper_size == kPaperA4      ? 16838
                   : printer_.paper_size == kPaperLegal ? 20160
                                                        : 15840;
  return is_landscape ? height : width;
}

int32_t ActiveReport::paper_height() const {
  bool is_landscape = printer_.orientation == kLandscape || page_settings_.orientation == kLandscape;
  int32_t width = printer_.paper_size == kPaperA4 ? 11906 : 12240;
  int32_t height = printer_.paper_size == kPaperA4      ? 16838
                   : printer_.paper_size == kPaperLegal ? 20160
                                                        : 15840;
  return is_landscape ? width : height;
}

int32_t ActiveReport::print_width() const {
  if (print_width_ > 0) return print_width_;
  return paper_width() - page_settings_.left_margin - page_settings_.right_margin;
}

std::string ActiveReport::class_name() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && demangled != nullptr ? demangled : mangled;
  std::free(demangled);
  size_t colons = name.rfind("::");
  return colons == std::string::npos ? name : name.substr(colons + 2);
}

uint64_t ActiveReport::ControlsVersion() const {
  return Section::generation();
}

Section& ActiveReport::DeclareSection(SectionId id) {
  if (sections_[id] == nullptr) sections_[id] = std::make_unique<Section>(id);
  return *sections_[id];
}

void ActiveReport::Declare(std::span<const SectionRow> sections, std::span<const ControlRow> controls) {
  for (const SectionRow& row : sections) {
    CheckSectionRow(row);
    Section& section = DeclareSection(row.section);
    ApplySectionRow(section, row);
    if (!row.name.empty()) section.named_as_ = SectionByName(row.name);
    SectionId partner = PartnerOf(row.section);
    if (sections_[partner] == nullptr) DeclareSection(partner);
  }
  for (const auto& section : sections_) {
    for (const auto& other : sections_) {
      if (section != nullptr && other != nullptr && section != other &&
          section->named_as() == other->named_as())
        throw LayoutError(class_name() + " has two sections named " + Quoted(section->name()));
    }
  }
  // Names taken, in any case: one set for the whole layout, as a look-up by name would be rebuilt after
  // every control added.
  vb::NameMap<bool> taken;
  for (const auto& section : sections_) {
    if (section == nullptr) continue;
    for (const auto& control : section->controls()) taken.emplace(control->name(), true);
  }
  for (const ControlRow& row : controls) {
    std::string name(row.name);
    if (row.section >= kSectionCount || sections_[row.section] == nullptr) {
      throw LayoutError(class_name() + ": control " + Quoted(name) + " is in section " +
                        Quoted(SectionName(row.section)) + ", which the layout does not declare");
    }
    if ((row.flags & ~kControlFlags) != 0) {
      throw LayoutError(class_name() + ": control " + Quoted(name) + " takes only kHidden and kCanGrow");
    }
    if (!taken.emplace(name, true).second)
      throw LayoutError(class_name() + " has two controls named " + Quoted(name));
    ApplyControlRow(sections_[row.section]->AddControl(row.kind, name), row);
  }
}

}  // namespace vob::engine
