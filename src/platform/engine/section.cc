// Section control collections: lookup by name, and controls added or removed while a report runs.
#include "platform/engine/section.h"

#include <algorithm>

#include "platform/vb/names.h"

namespace vob::engine {

std::atomic<uint64_t> Section::generation_{1};

Section::Section(SectionId id) : id_(id) {}

Control* Section::FindControl(std::string_view name) {
  for (const auto& control : controls_) {
    if (vb::SameName(control->name(), name)) return control.get();
  }
  return nullptr;
}

Control& Section::ControlNamed(std::string_view name) {
  if (Control* control = FindControl(name)) return *control;
  throw LayoutError(std::string(this->name()) + " has no control named \"" + std::string(name) + "\"");
}

Control& Section::AddControl(ControlKind kind, std::string_view name) {
  if (FindControl(name) != nullptr) {
    throw LayoutError(std::string(this->name()) + " has a control named \"" + std::string(name) +
                      "\" already");
  }
  std::unique_ptr<Control> control;
  std::string owned_name(name);
  switch (kind) {
    case kLabel:
      control = std::make_unique<Label>(*this, std::move(owned_name));
      break;
    case kLine:
      control = std::make_unique<Line>(*this, std::move(owned_name));
      break;
    case kImage:
      control = std::make_unique<Image>(*this, std::move(owned_name));
      break;
    case kSubreport:
      control = std::make_unique<Subreport>(*this, std::move(owned_name));
      break;
    case kData:
      control = std::make_unique<DataControl>(*this, std::move(owned_name));
      break;
    case kText:
    case kGroupSum:
    case kReportSum:
    case kPageNumber:
    case kPageCount: {
      auto text_box = std::make_unique<TextBox>(*this, std::move(owned_name));
      constexpr TextBox::Summary kSummaries[] = {TextBox::Summary::kNone, TextBox::Summary::kGroup,
                                                 TextBox::Summary::kReport, TextBox::Summary::kPageNumber,
                                                 TextBox::Summary::kPageCount};
      text_box->set_summary(kSummaries[kind - kText]);
      control = std::move(text_box);
      break;
    }
  }
  controls_.push_back(std::move(control));
  Touch();
  return *controls_.back();
}

void Section::RemoveControl(std::string_view name) {
  auto found = std::find_if(controls_.begin(), controls_.end(),
                            [name](const auto& control) { return vb::SameName(control->name(), name); });
  if (found == controls_.end()) {
    throw LayoutError(std::string(this->name()) + " has no control named \"" + std::string(name) + "\"");
  }
  controls_.erase(found);
  Touch();
}

}  // namespace vob::engine
