// Text box value display, subreport ownership and the data control's opening of its source.
#include "platform/engine/controls.h"

#include "platform/engine/section.h"
#include "platform/vb/conversions.h"

namespace vob::engine {

void TextBox::set_output_format(std::string pattern) {
  output_format_ = std::move(pattern);
  format_program_ = nullptr;
  if (is_text_from_value_) ShowValue(value_);
}

void TextBox::set_summary(Summary summary) {
  summary_ = summary;
  section().Touch();
}

void TextBox::ShowValue(const vb::Variant& value) {
  if (&value != &value_) value_.Assign(value);
  if (output_format_.empty()) {
    // Text passes through without a copy of its own; everything else takes the general format.
    if (value_.is_string()) {
      text_.assign(value_.str());
    } else {
      text_ = vb::GeneralText(value_);
    }
  } else {
    if (format_program_ == nullptr) format_program_ = &vb::CachedFormat(output_format_);
    text_ = format_program_->Apply(value_);
  }
  is_text_from_value_ = true;
}

Subreport::Subreport(Section& section, std::string name) : Control(section, kSubreport, std::move(name)) {}
Subreport::~Subreport() = default;

void Subreport::set_report(ReportHandle report) {
  report_ = std::move(report);
}

data::Recordset& DataControl::recordset() const {
  if (open_ == nullptr) {
    throw LayoutError(name() +
                      " has no open recordset (the engine opens it after ActiveReport_DataInitialize)");
  }
  return *open_;
}

data::Recordset* DataControl::Open() {
  Close();
  if (ready_recordset_ != nullptr) {
    open_ = ready_recordset_;
  } else if (!source_.empty()) {
    auto recordset = std::make_shared<data::Recordset>();
    recordset->Open(source_, connection_string_);
    open_ = std::move(recordset);
  }
  return open_.get();
}

void DataControl::Close() {
  if (open_ != nullptr && open_ != ready_recordset_ && open_->State() == data::kStateOpen) open_->Close();
  open_.reset();
}

}  // namespace vob::engine
