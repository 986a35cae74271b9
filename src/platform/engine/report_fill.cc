// The fill: handlers in their fixed order over one pass of the rows, group breaks and sums, and each section
// instance from binding its controls to its layout. Where instances go on pages is report_fill_paging.cc.
#include "platform/engine/report_fill.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"

namespace vob::engine {
namespace {

// Break values compare as numbers when both are numeric (an integer 1 and a double 1 are one group), else as
// they are: text exactly, Null equal to Null.
bool IsSameGroup(const vb::Variant& a, const vb::Variant& b) {
  if (a.is_numeric_type() && b.is_numeric_type()) return vb::CDbl(a) == vb::CDbl(b);
  return a == b;
}

// "GroupHeader1_Format" and "GroupHeader1_BeforePrint", made once.
const std::string& EventName(SectionId id, bool is_before_print) {
  static const auto kNames = [] {
    std::array<std::array<std::string, 2>, kSectionCount> names;
    for (int id = 0; id < kSectionCount; ++id) {
      std::string section(SectionName(static_cast<SectionId>(id)));
      names[id] = {section + "_Format", section + "_BeforePrint"};
    }
    return names;
  }();
  return kNames[id][is_before_print ? 1 : 0];
}

struct SectionHandlers {
  void (ActiveReport::*format)();
  void (ActiveReport::*before_print)();
};

constexpr SectionHandlers kHandlers[kSectionCount] = {
    {&ActiveReport::ReportHeader_Format, &ActiveReport::ReportHeader_BeforePrint},
    {&ActiveReport::PageHeader_Format, &ActiveReport::PageHeader_BeforePrint},
    {&ActiveReport::BannerHeader_Format, &ActiveReport::BannerHeader_BeforePrint},
    {&ActiveReport::GroupHeader1_Format, &ActiveReport::GroupHeader1_BeforePrint},
    {&ActiveReport::GroupHeader2_Format, &ActiveReport::GroupHeader2_BeforePrint},
    {&ActiveReport::GroupHeader3_Format, &ActiveReport::GroupHeader3_BeforePrint},
    {&ActiveReport::GroupHeader4_Format, &ActiveReport::GroupHeader4_BeforePrint},
    {&ActiveReport::GroupHeader5_Format, &ActiveReport::GroupHeader5_BeforePrint},
    {&ActiveReport::GroupHeader6_Format, &ActiveReport::GroupHeader6_BeforePrint},
    {&ActiveReport::Detail_Format, &ActiveReport::Detail_BeforePrint},
    {&ActiveReport::GroupFooter1_Format, &ActiveReport::GroupFooter1_BeforePrint},
    {&ActiveReport::GroupFooter2_Format, &ActiveReport::GroupFooter2_BeforePrint},
    {&ActiveReport::GroupFooter3_Format, &ActiveReport::GroupFooter3_BeforePrint},
    {&ActiveReport::GroupFooter4_Format, &ActiveReport::GroupFooter4_BeforePrint},
    {&ActiveReport::GroupFooter5_Format, &ActiveReport::GroupFooter5_BeforePrint},
    {&ActiveReport::GroupFooter6_Format, &ActiveReport::GroupFooter6_BeforePrint},
    {&ActiveReport::BannerFooter_Format, &ActiveReport::BannerFooter_BeforePrint},
    {&ActiveReport::PageFooter_Format, &ActiveReport::PageFooter_BeforePrint},
    {&ActiveReport::ReportFooter_Format, &ActiveReport::ReportFooter_BeforePrint},
};

// The first data control in section order: the one that feeds the detail rows.
DataControl* MainDataControl(const ActiveReport& report) {
  for (int id = 0; id < kSectionCount; ++id) {
    const Section* section = report.FindSection(static_cast<SectionId>(id));
    if (section == nullptr) continue;
    for (const auto& control : section->controls()) {
      if (auto* data = dynamic_cast<DataControl*>(control.get())) return data;
    }
  }
  return nullptr;
}

}  // namespace

ReportFill::ReportFill(ActiveReport& report, DocumentTables& tables, TextMeasurer& measurer, PageSink* sink,
                       int32_t band_width)
    : report_(report),
      tables_(tables),
      measurer_(measurer),
      sink_(sink),
      builder_(tables, measurer),
      band_width_(band_width),
      fields_(report.Fields()) {}

template <typename Step>
void ReportFill::Invoke(std::string_view where, Step&& step) {
  try {
    step();
  } catch (const RunCancelled&) {
    throw;  // a subreport's run stopped: not the handler's error
  } catch (const RunError& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": " + error.what(), error.number(),
                   error.cause());
  } catch (const vb::Error& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": error " +
                       std::to_string(error.number()) + ": " + error.what(),
                   error.number(), std::current_exception());
  } catch (const std::exception& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": " + error.what(), 0,
                   std::current_exception());
  }
}

void ReportFill::CallReportEvent(void (ActiveReport::*handler)(), std::string_view name) {
  Invoke(name, [&] { (report_.*handler)(); });
}

void ReportFill::Execute() {
  report_.TOC().TakePending();
  CallReportEvent(&ActiveReport::ActiveReport_DataInitialize, "ActiveReport_DataInitialize");
  OpenData();
  CallReportEvent(&ActiveReport::ActiveReport_ReportStart, "ActiveReport_ReportStart");
  RefreshCaches();
  for (TextBox* sum : sums_) sum->sum_ = vb::Currency();
  if (records_ != nullptr) BeginRecords();

  bool has_row = NextRow(true);
  Print(kReportHeader);
  Print(kBannerHeader);
  is_group_open_[0] = true;
  if (has_row) {
    OpenGroups(0);
    while (true) {
      Print(kDetail);
      AccumulateSums();
      if (!NextRow(false)) break;
      int broken = BrokenGroup();
      if (broken >= 0) {
        fields_.ShowPreviousRow();
        CloseGroups(broken);
        fields_.ShowCurrentRow();
        OpenGroups(broken);
      }
    }
    CloseGroups(0);
  }
  Print(kBannerFooter);
  is_group_open_[0] = false;
  Print(kReportFooter);
  FinishPages();
  CallReportEvent(&ActiveReport::ActiveReport_ReportEnd, "ActiveReport_ReportEnd");
  if (data_ != nullptr) Invoke(data_->name(), [&] { data_->Close(); });
  if (records_ != nullptr) records_->End();
}

// ---- Records ----

void ReportFill::BeginRecords() {
  RecordLayout layout;
  layout.group_count = static_cast<int>(groups_.size());
  const Section* detail = report_.FindSection(kDetail);
  row_section_ = kDetail;
  auto has_visible = [](const Section& section, ControlKind kind) {
    return std::any_of(section.controls().begin(), section.controls().end(),
                       [&](const auto& control) { return control->kind() == kind && control->visible(); });
  };
  // A detail that holds only subreports (a profile's locations) leaves the rows to the groups.
  const bool is_detail_empty = detail == nullptr || !detail->visible() ||
                               (!has_visible(*detail, kText) && !has_visible(*detail, kLabel));
  if (is_detail_empty && !groups_.empty()) {
    const SectionId innermost = GroupFooterOf(GroupLevel(groups_.back()->id()));
    if (report_.FindSection(innermost) != nullptr) row_section_ = innermost;
  }
  layout.row_section = row_section_;
  auto is_record_section = [&](SectionId id) {
    return IsGroupHeader(id) || IsGroupFooter(id) || id == row_section_ || id == kBannerFooter ||
           id == kReportFooter;
  };
  auto is_caption_section = [&](SectionId id) {
    return id == kPageHeader || id == kBannerHeader || is_record_section(id);
  };
  auto describe = [](const Control& control, SectionId id, std::string text) {
    RecordControl described{
        id, control.name(), std::move(text), control.left(), control.top(), control.width(), control.height(),
        {}};
    if (auto* box = dynamic_cast<const TextBox*>(&control)) described.field = box->data_field();
    return described;
  };
  for (int index = 0; index < kSectionCount; ++index) {
    const auto id = static_cast<SectionId>(index);
    record_boxes_[id].clear();
    const Section* section = report_.FindSection(id);
    if (section == nullptr || !is_caption_section(id)) continue;
    for (const auto& control : section->controls()) {
      if (!control->visible()) continue;
      if (auto* label = dynamic_cast<const Label*>(control.get())) {
        layout.labels.push_back(describe(*label, id, label->caption()));
      } else if (auto* box = dynamic_cast<TextBox*>(control.get()); box != nullptr) {
        if (is_record_section(id)) {
          record_boxes_[id].push_back(box);
        } else if (id == kPageHeader || id == kBannerHeader) {
          layout.values.push_back(describe(*box, id, ""));
        }
      }
    }
    // Left to right, so that columns read as the printed line does.
    std::stable_sort(record_boxes_[id].begin(), record_boxes_[id].end(),
                     [](const TextBox* a, const TextBox* b) {
                       return a->left() != b->left() ? a->left() < b->left() : a->top() < b->top();
                     });
    for (const TextBox* box : record_boxes_[id])
      layout.boxes.push_back(describe(*box, id, box->column_name()));
  }
  // Labels a handler writes each row (mailing labels) are the row's values when it has no text box.
  row_labels_.clear();
  if (record_boxes_[row_section_].empty()) {
    if (const Section* row = report_.FindSection(row_section_)) {
      for (const auto& control : row->controls()) {
        if (auto* label = dynamic_cast<const Label*>(control.get()); label != nullptr && label->visible())
          row_labels_.push_back(label);
      }
    }
    // Placed among the boxes by section order: the row section's boxes come before later sections'.
    auto at = std::find_if(layout.boxes.begin(), layout.boxes.end(),
                           [&](const RecordControl& box) { return box.section > row_section_; });
    for (const Label* label : row_labels_) {
      RecordControl described = describe(*label, row_section_, "");
      const int32_t pitch = std::max(1, static_cast<int32_t>(label->font().size_points * 23));  // 1.15 em
      described.lines = std::max(1, label->height() / pitch);
      at = layout.boxes.insert(at, std::move(described)) + 1;
    }
  }
  records_->Begin(tables_.info(), layout);
}

void ReportFill::SendRecord(const Section& section) {
  const SectionId id = section.id();
  const bool is_printed = section.visible();
  const bool has_labels = id == row_section_ && !row_labels_.empty();
  if (record_boxes_[id].empty() && !IsGroupHeader(id) && !has_labels) return;
  if (!IsGroupHeader(id) && !is_printed) return;
  cells_.clear();
  for (const TextBox* box : record_boxes_[id]) {
    cells_.push_back(RecordCell{&box->value_, &box->text(), &box->output_format(), !box->is_text_from_value_,
                                box->visible()});
  }
  if (has_labels) {
    static const vb::Variant kNoValue;
    static const std::string kNoFormat;
    for (const Label* label : row_labels_)
      cells_.push_back(RecordCell{&kNoValue, &label->caption(), &kNoFormat, true, label->visible()});
  }
  records_->AddRecord(Record{id, cells_, IsGroupHeader(id) ? &section.group_value() : nullptr});
}

// ---- Data and rows ----

void ReportFill::OpenData() {
  data_ = MainDataControl(report_);
  recordset_ = nullptr;
  if (data_ != nullptr) Invoke(data_->name(), [&] { recordset_ = data_->Open(); });
  fields_.Attach(recordset_);
}

void ReportFill::StopIfCancelled() const {
  if (cancel_requested_ != nullptr && cancel_requested_->load(std::memory_order_relaxed)) {
    throw RunCancelled(report_.class_name() + ": the run was cancelled");
  }
}

bool ReportFill::NextRow(bool is_first) {
  StopIfCancelled();
  bool eof = true;
  if (recordset_ != nullptr) {
    Invoke(data_->name(), [&] {
      if (!is_first) recordset_->MoveNext();
      eof = recordset_->eof();
    });
    if (eof) return false;
  }
  fields_.BeginRow();
  Invoke("ActiveReport_FetchData", [&] { report_.ActiveReport_FetchData(eof); });
  if (eof) fields_.DiscardRow();
  return !eof;
}

int ReportFill::BreakSlot(size_t group) {
  if (break_slots_generation_ != fields_.generation() || break_slots_.size() != groups_.size()) {
    break_slots_.clear();
    for (const Section* header : groups_) {
      int slot = header->break_field().empty() ? -1 : fields_.Resolve(header->break_field());
      if (slot < 0 && !header->break_field().empty()) {
        throw RunError(report_.class_name() + ", " + std::string(header->name()) + ": the break field \"" +
                           header->break_field() + "\" is neither a column of the data nor an added field",
                       0);
      }
      break_slots_.push_back(slot);
    }
    break_slots_generation_ = fields_.generation();
  }
  return break_slots_[group];
}

int ReportFill::BrokenGroup() {
  for (size_t group = 0; group < groups_.size(); ++group) {
    int slot = BreakSlot(group);
    if (slot >= 0 && !IsSameGroup(fields_.value(slot), groups_[group]->group_value())) {
      return static_cast<int>(group);
    }
  }
  return -1;
}

void ReportFill::OpenGroups(size_t first) {
  if (first >= groups_.size()) return;
  int first_level = GroupLevel(groups_[first]->id());
  for (size_t i = 0; i < sums_.size(); ++i) {
    if (sum_levels_[i] >= first_level) sums_[i]->sum_ = vb::Currency();
  }
  for (size_t group = first; group < groups_.size(); ++group) {
    Section& header = *groups_[group];
    int slot = BreakSlot(group);
    header.group_value_ = slot >= 0 ? fields_.value(slot) : vb::Variant();
    Print(header.id());
    is_group_open_[group + 1] = true;
  }
}

void ReportFill::CloseGroups(size_t first) {
  for (size_t group = groups_.size(); group-- > first;) {
    Print(GroupFooterOf(GroupLevel(groups_[group]->id())));
    is_group_open_[group + 1] = false;
  }
}

int ReportFill::BoundSlot(TextBox& box) {
  if (box.bound_generation_ != fields_.generation()) {
    box.bound_slot_ = fields_.Resolve(box.data_field());
    box.bound_generation_ = fields_.generation();
  }
  return box.bound_slot_;
}

void ReportFill::AccumulateSums() {
  for (TextBox* sum : sums_) {
    if (sum->data_field().empty()) continue;
    int slot = BoundSlot(*sum);
    if (slot < 0) {
      throw RunError(report_.class_name() + ", " + sum->name() + ": sums \"" + sum->data_field() +
                         "\", which is neither a column of the data nor an added field",
                     0);
    }
    const vb::Variant& value = fields_.value(slot);
    if (value.is_null() || value.is_empty()) continue;
    Invoke(sum->name(),
           [&] { sum->sum_ += value.type() == vb::VarType::kCurrency ? value.currency() : vb::CCur(value); });
  }
}

// ---- Sections ----

void ReportFill::RefreshCaches() {
  uint64_t version = report_.ControlsVersion();
  if (version == caches_version_) return;
  caches_version_ = version;
  groups_.clear();
  for (int level = 1; level <= kMaxGroups; ++level) {
    if (Section* header = report_.FindSection(GroupHeaderOf(level))) groups_.push_back(header);
  }
  break_slots_generation_ = 0;
  sums_.clear();
  sum_levels_.clear();
  for (int id = 0; id < kSectionCount; ++id) {
    text_boxes_[id].clear();
    Section* section = report_.FindSection(static_cast<SectionId>(id));
    if (section == nullptr) continue;
    for (const auto& control : section->controls()) {
      auto* text_box = dynamic_cast<TextBox*>(control.get());
      if (text_box == nullptr) continue;
      text_boxes_[id].push_back(text_box);
      if (text_box->summary() == TextBox::Summary::kGroup ||
          text_box->summary() == TextBox::Summary::kReport) {
        sums_.push_back(text_box);
        bool is_group = text_box->summary() == TextBox::Summary::kGroup;
        sum_levels_.push_back(is_group ? GroupLevel(static_cast<SectionId>(id)) : 0);
      }
    }
  }
}

void ReportFill::BindControls(Section& section) {
  for (TextBox* box : text_boxes_[section.id()]) {
    switch (box->summary()) {
      case TextBox::Summary::kNone: {
        if (box->data_field().empty()) break;
        int slot = BoundSlot(*box);
        if (slot < 0) {
          throw LayoutError(box->name() + " is bound to \"" + box->data_field() +
                            "\", which is neither a column of the data nor an added field");
        }
        box->ShowValue(fields_.value(slot));
        break;
      }
      case TextBox::Summary::kGroup:
      case TextBox::Summary::kReport:
        box->ShowValue(vb::Variant(box->sum_));
        break;
      case TextBox::Summary::kPageNumber:
      case TextBox::Summary::kPageCount: {
        // Handlers read the page the instance is expected on; the page it lands on is filled in when that
        // page is finished, the count at the end of the document.
        bool is_number = box->summary() == TextBox::Summary::kPageNumber;
        if (box->deferred_serial_ != tables_.serial()) {
          box->deferred_slot_ = is_number ? tables_.NewPageNumberSlot(box->output_format())
                                          : tables_.NewPageCountSlot(box->output_format());
          box->deferred_serial_ = tables_.serial();
        }
        // A bad output format fails here, at the first instance.
        box->ShowValue(is_number ? vb::Variant(page_number_ + (is_page_open_ || sink_ == nullptr ? 0 : 1))
                                 : vb::Variant());
        break;
      }
    }
  }
}

void ReportFill::Print(SectionId id, bool is_repeat) {
  Section* section = report_.FindSection(id);
  if (section == nullptr) return;
  RefreshCaches();
  section->is_repeating_ = is_repeat;
  Invoke(section->name(), [&] { BindControls(*section); });
  const SectionId named_as = section->named_as();
  Invoke(EventName(named_as, false), [&] { (report_.*kHandlers[named_as].format)(); });
  if (section->visible()) Place(*section, is_repeat);
  section->is_repeating_ = false;
  if (records_ != nullptr && !is_repeat) Invoke(section->name(), [&] { SendRecord(*section); });
}

bool ReportFill::BeforePrint(Section& section, int32_t width, Band& band) {
  report_.is_default_handler_ = false;
  const SectionId named_as = section.named_as();
  Invoke(EventName(named_as, true), [&] { (report_.*kHandlers[named_as].before_print)(); });
  if (report_.is_default_handler_) return true;
  // The handler may have changed texts, visibility or shading: lay the instance out again.
  if (!section.visible()) return false;
  builder_.Build(section, width, *this, band);
  return true;
}

void ReportFill::Place(Section& section, bool is_repeat) {
  if (bands_in_use_ == bands_.size()) bands_.push_back(std::make_unique<Bands>());
  Bands& bands = *bands_[bands_in_use_++];
  struct Release {
    size_t& in_use;
    ~Release() { --in_use; }
  } release{bands_in_use_};

  if (sink_ == nullptr) {
    // A subreport stacks its sections in one band; nothing breaks it.
    builder_.Build(section, band_width_, *this, bands.band);
    if (!BeforePrint(section, band_width_, bands.band)) return;
    for (PageItem& item : bands.band.items) {
      item.top += y_;
      continuous_.items.push_back(std::move(item));
    }
    y_ += bands.band.height;
    return;
  }
  PlaceOnPage(section, bands, is_repeat);
}

void ReportFill::RunSubreport(Subreport& control, Band& band) {
  ActiveReport& subreport = *control.report();
  // Only a detail's subreport prints per record; a header's (the company's) is part of the page.
  const bool forwards_records = records_ != nullptr && control.section().id() == kDetail;
  const bool keeps_band = subreport.prints_alike_ && !forwards_records;
  if (keeps_band && subreport.kept_band_ != nullptr && subreport.kept_serial_ == tables_.serial()) {
    band = *subreport.kept_band_;
    return;
  }
  ReportFill fill(subreport, tables_, measurer_, nullptr, control.width());
  fill.set_page_number(page_number_ + (is_page_open_ ? 0 : 1));
  // The subreport's records go to the main report's sink as a table of their own.
  class Forward final : public RecordSink {
   public:
    Forward(RecordSink& to, const std::string& name, std::vector<std::string>& begun)
        : to_(to), name_(name), begun_(begun) {}
    void Begin(const DocumentInfo&, const RecordLayout& layout) override {
      if (std::find(begun_.begin(), begun_.end(), name_) != begun_.end()) return;
      begun_.push_back(name_);
      to_.BeginSubtable(name_, layout);
    }
    void AddRecord(const Record& record) override { to_.AddSubrecord(name_, record); }
    void End() override {}

   private:
    RecordSink& to_;
    const std::string& name_;
    std::vector<std::string>& begun_;
  };
  std::optional<Forward> forward;
  if (forwards_records) {
    forward.emplace(*records_, control.name(), begun_subtables_);
    fill.set_records(&*forward);
  }
  Invoke(control.name(), [&] { fill.Execute(); });
  band = std::move(fill.band());
  report_.TOC().AddPending(subreport.TOC().TakePending());
  if (keeps_band) {
    subreport.kept_band_ = std::make_unique<Band>(band);
    subreport.kept_serial_ = tables_.serial();
  }
}

}  // namespace vob::engine
