// The fill: handlers in their fixed order over one pass of the rows, group breaks and sums, and the placement
// of section instances on pages (page breaks, repeated headers, columns, bands taller than a page).
#include "platform/engine/report_fill.h"

#include <algorithm>
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

// Keeps the canvas attached to a page for the length of a page event.
class CanvasScope {
 public:
  CanvasScope(PageCanvas& canvas, Page& page, DocumentTables& tables, TextMeasurer& measurer)
      : canvas_(canvas) {
    canvas_.Attach(page, tables, measurer);
  }
  ~CanvasScope() { canvas_.Detach(); }
  CanvasScope(const CanvasScope&) = delete;
  CanvasScope& operator=(const CanvasScope&) = delete;

 private:
  PageCanvas& canvas_;
};

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
  } catch (const RunError& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": " + error.what(), error.number());
  } catch (const vb::Error& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": error " +
                       std::to_string(error.number()) + ": " + error.what(),
                   error.number());
  } catch (const std::exception& error) {
    throw RunError(report_.class_name() + ", " + std::string(where) + ": " + error.what(), 0);
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
  for (TextBox* sum : sums_) sum->ResetSum();

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
}

// ---- Data and rows ----

void ReportFill::OpenData() {
  data_ = report_.MainDataControl();
  recordset_ = nullptr;
  if (data_ != nullptr) Invoke(data_->name(), [&] { recordset_ = data_->Open(); });
  fields_.Attach(recordset_);
}

bool ReportFill::NextRow(bool is_first) {
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
    if (sum_levels_[i] >= first_level) sums_[i]->ResetSum();
  }
  for (size_t group = first; group < groups_.size(); ++group) {
    Section& header = *groups_[group];
    int slot = BreakSlot(group);
    header.set_group_value(slot >= 0 ? fields_.value(slot) : vb::Variant());
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

void ReportFill::AccumulateSums() {
  for (TextBox* sum : sums_) {
    if (sum->data_field().empty()) continue;
    int slot = sum->bound_slot(fields_.generation());
    if (slot == TextBox::kUnresolved) {
      slot = fields_.Resolve(sum->data_field());
      sum->set_bound_slot(fields_.generation(), slot);
    }
    if (slot < 0) {
      throw RunError(report_.class_name() + ", " + sum->name() + ": sums \"" + sum->data_field() +
                         "\", which is neither a column of the data nor an added field",
                     0);
    }
    const vb::Variant& value = fields_.value(slot);
    if (value.is_null() || value.is_empty()) continue;
    Invoke(sum->name(), [&] {
      sum->AddToSum(value.type() == vb::VarType::kCurrency ? value.currency() : vb::CCur(value));
    });
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
        int slot = box->bound_slot(fields_.generation());
        if (slot == TextBox::kUnresolved) {
          slot = fields_.Resolve(box->data_field());
          box->set_bound_slot(fields_.generation(), slot);
        }
        if (slot < 0) {
          throw LayoutError(box->name() + " is bound to \"" + box->data_field() +
                            "\", which is neither a column of the data nor an added field");
        }
        box->ShowValue(fields_.value(slot));
        break;
      }
      case TextBox::Summary::kGroup:
      case TextBox::Summary::kReport:
        box->ShowValue(vb::Variant(box->sum()));
        break;
      case TextBox::Summary::kPageNumber:
        box->ShowValue(vb::Variant(page_number_ + (is_page_open_ || sink_ == nullptr ? 0 : 1)));
        break;
      case TextBox::Summary::kPageCount:
        if (box->deferred_slot(tables_.serial()) == kNotDeferred) {
          if (!box->output_format().empty())
            vb::CachedFormat(box->output_format());  // a bad pattern fails now
          box->cache_deferred_slot(tables_.serial(), tables_.NewPageCountSlot(box->output_format()));
        }
        break;
    }
  }
}

void ReportFill::Print(SectionId id, bool is_repeat) {
  Section* section = report_.FindSection(id);
  if (section == nullptr) return;
  RefreshCaches();
  section->set_repeating(is_repeat);
  Invoke(section->name(), [&] { BindControls(*section); });
  Invoke(EventName(id, false), [&] { (report_.*HandlersOf(id).format)(); });
  if (section->visible()) Place(*section, is_repeat);
  section->set_repeating(false);
}

bool ReportFill::BeforePrint(Section& section, int32_t width, Band& band) {
  report_.ClearHandlerMark();
  Invoke(EventName(section.id(), true), [&] { (report_.*HandlersOf(section.id()).before_print)(); });
  if (report_.was_default_handler()) return true;
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

void ReportFill::PlaceOnPage(Section& section, Bands& bands, bool is_repeat) {
  SectionId id = section.id();
  bool is_in_columns = id == kDetail && section.columns() > 1;
  int32_t width = report_.print_width();
  int32_t spacing = section.column_spacing();
  if (is_in_columns) width = (width - spacing * (section.columns() - 1)) / section.columns();
  Band& band = bands.band;
  builder_.Build(section, width, *this, band);
  // Entries added while the section was formatted are its own, even if a page break prints other sections
  // now.
  std::vector<TocEntry> entries = report_.TOC().TakePending();
  int32_t left = report_.page_settings().left_margin;

  if (id == kPageFooter || id == kPageHeader || is_opening_page_) {
    int32_t top = id == kPageFooter ? body_bottom_ : y_;
    if (BeforePrint(section, width, band)) {
      Append(band, left, top);
      if (id != kPageFooter) y_ += band.height;
    }
  } else {
    if (!is_page_open_) {
      OpenPage(&section);
    } else if (is_break_due_ || (section.new_page() == 1 && !is_repeat && has_content_)) {
      BreakPage(&section);
    }
    if (is_in_columns) {
      ChooseColumn(section, band.height);
      if (BeforePrint(section, width, band)) {
        Append(band, left + column_ * (width + spacing), column_y_);
        column_y_ += band.height;
        columns_bottom_ = std::max(columns_bottom_, column_y_);
        if (section.new_column() == 2) is_column_break_due_ = true;
        has_content_ = true;
      }
    } else {
      EndColumns();
      int32_t needed = band.height;
      const Section* detail = report_.FindSection(kDetail);
      if (section.keeps_together() && detail != nullptr && detail->visible()) needed += detail->height();
      if (y_ + needed > body_bottom_ && y_ > fresh_y_) BreakPage(&section);
      if (BeforePrint(section, width, band)) PlaceBand(section, bands);
    }
    if (section.new_page() == 2 && !is_repeat) is_break_due_ = true;
  }
  AddToc(entries);
  if (is_page_header_due_ && id == kReportHeader) {
    // The report header comes first on its page, the page header under it.
    is_page_header_due_ = false;
    is_opening_page_ = true;
    Print(kPageHeader);
    PrintRepeats(&section);
    is_opening_page_ = false;
    fresh_y_ = y_;
  }
}

void ReportFill::PlaceBand(const Section& section, Bands& bands) {
  Band& band = bands.band;
  int32_t left = report_.page_settings().left_margin;
  // A band taller than the page goes on over as many pages as it needs.
  while (y_ + band.height > body_bottom_ && builder_.Split(band, body_bottom_ - y_, bands.rest) > 0) {
    Append(band, left, y_);
    BreakPage(&section);
    std::swap(band, bands.rest);
  }
  Append(band, left, y_);
  y_ += band.height;
  has_content_ = has_content_ || CountsAsContent(section, band);
}

void ReportFill::AddToc(std::vector<TocEntry>& entries) {
  for (TocEntry& entry : report_.TOC().TakePending())
    entries.push_back(std::move(entry));  // from BeforePrint
  for (TocEntry& entry : entries) {
    entry.page = page_number_;
    toc_.push_back(std::move(entry));
  }
}

void ReportFill::ChooseColumn(Section& section, int32_t height) {
  int columns = section.columns();
  auto start_columns = [&] {
    is_in_columns_ = true;
    column_ = 0;
    column_top_ = column_y_ = columns_bottom_ = y_;
  };
  auto next_column = [&] {
    if (++column_ >= columns) {
      BreakPage(&section);
      start_columns();
    } else {
      column_y_ = column_top_;
    }
  };
  if (!is_in_columns_) start_columns();
  if (is_column_break_due_ || (section.new_column() == 1 && column_y_ > column_top_)) next_column();
  is_column_break_due_ = false;
  if (column_y_ + height > body_bottom_ && column_y_ > column_top_) next_column();
}

void ReportFill::EndColumns() {
  if (!is_in_columns_) return;
  y_ = std::max(y_, columns_bottom_);
  is_in_columns_ = false;
  is_column_break_due_ = false;
}

void ReportFill::Append(Band& band, int32_t left, int32_t top) {
  for (PageItem& item : band.items) {
    PageItem& placed = page_.items.emplace_back(std::move(item));
    placed.left += left;
    placed.top += top;
  }
}

bool ReportFill::CountsAsContent(const Section& section, const Band& band) {
  switch (section.id()) {
    case kReportHeader:
      return band.height > 0;
    case kPageHeader:
    case kPageFooter:
    case kBannerHeader:
      return false;
    default:
      return !IsGroupHeader(section.id());
  }
}

// ---- Pages ----

void ReportFill::CallPageEvent(void (ActiveReport::*handler)(), std::string_view name) {
  CanvasScope canvas(report_.Canvas(), page_, tables_, measurer_);
  CallReportEvent(handler, name);
}

void ReportFill::OpenPage(const Section* trigger) {
  page_ = Page();
  page_.number = ++page_number_;
  page_.width = report_.paper_width();
  page_.height = report_.paper_height();
  page_.items.reserve(last_item_count_);
  is_page_open_ = true;
  has_content_ = false;
  is_break_due_ = false;
  is_in_columns_ = false;
  is_column_break_due_ = false;
  const PageSettings& settings = report_.page_settings();
  y_ = settings.top_margin;
  const Section* footer = report_.FindSection(kPageFooter);
  body_bottom_ =
      page_.height - settings.bottom_margin - (footer != nullptr && footer->visible() ? footer->height() : 0);

  CallPageEvent(&ActiveReport::ActiveReport_PageStart, "ActiveReport_PageStart");
  if (trigger != nullptr && trigger->id() == kReportHeader) {
    is_page_header_due_ = true;
  } else {
    is_opening_page_ = true;
    Print(kPageHeader);
    PrintRepeats(trigger);
    is_opening_page_ = false;
  }
  fresh_y_ = y_;
}

void ReportFill::PrintRepeats(const Section* trigger) {
  const Section* banner = report_.FindSection(kBannerHeader);
  if (is_group_open_[0] && banner != nullptr && banner->repeats() && banner != trigger)
    Print(kBannerHeader, true);
  for (size_t group = 0; group < groups_.size(); ++group) {
    if (is_group_open_[group + 1] && groups_[group]->repeats() && groups_[group] != trigger) {
      Print(groups_[group]->id(), true);
    }
  }
}

void ReportFill::EndPage() {
  EndColumns();
  Print(kPageFooter);
  CallPageEvent(&ActiveReport::ActiveReport_PageEnd, "ActiveReport_PageEnd");
  last_item_count_ = page_.items.size();
  is_page_open_ = false;
  sink_->AddPage(tables_.info(), std::move(page_));
}

void ReportFill::BreakPage(const Section* trigger) {
  EndPage();
  OpenPage(trigger);
}

void ReportFill::FinishPages() {
  if (sink_ == nullptr) {
    continuous_.height = y_;
    return;
  }
  if (!is_page_open_) OpenPage(nullptr);
  for (TocEntry& entry : report_.TOC().TakePending()) {
    entry.page = page_number_;
    toc_.push_back(std::move(entry));
  }
  EndPage();
}

void ReportFill::RunSubreport(Subreport& control, Band& band) {
  ActiveReport& subreport = *control.report();
  ReportFill fill(subreport, tables_, measurer_, nullptr, control.width());
  fill.set_page_number(page_number_ + (is_page_open_ ? 0 : 1));
  Invoke(control.name(), [&] { fill.Execute(); });
  band = std::move(fill.band());
  report_.TOC().AddPending(subreport.TOC().TakePending());
}

}  // namespace vob::engine
