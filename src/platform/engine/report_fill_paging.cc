// The fill's placement of section instances on pages: page breaks and what a new page begins with (page
// start, page header, repeated headers), columns, bands taller than a page, the page footer and the page's
// hand-over.
#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/engine/report_fill.h"

namespace vob::engine {
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
      tail_item_ = kNoTail;
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
      if (section.keeps_together()) {
        // A kept header stays with the line that follows it: a detail line, or, where the details are
        // hidden (summary reports), its own group's footer.
        const Section* follower = report_.FindSection(kDetail);
        if ((follower == nullptr || !follower->visible()) && IsGroupHeader(id)) {
          follower = report_.FindSection(GroupFooterOf(GroupLevel(id)));
        }
        if (follower != nullptr && follower->visible()) needed += follower->height();
      }
      // A section taller than an empty page is cut where it stands: a new page would not hold it either.
      bool is_taller_than_page = band.height > body_bottom_ - fresh_y_;
      if (!is_taller_than_page && y_ + needed > body_bottom_ && y_ > fresh_y_) {
        // A footer never starts a page alone: the group's last line goes over with it.
        bool is_footer = IsGroupFooter(id) || id == kBannerFooter;
        if (is_footer && tail_item_ != kNoTail && tail_top_ > fresh_y_) {
          BreakPageWithTail(section);
        } else {
          BreakPage(&section);
        }
      }
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
  // A band taller than the room left goes on over as many pages as it needs.
  while (y_ + band.height > body_bottom_) {
    if (builder_.Split(band, body_bottom_ - y_, bands.rest) > 0) {
      Append(band, left, y_);
      BreakPage(&section);
      std::swap(band, bands.rest);
    } else if (y_ > fresh_y_) {
      BreakPage(&section);  // not even its first line fits here
    } else {
      break;  // nor on an empty page: it runs past the bottom
    }
  }
  // The tail is the last line with the group headers right above it, which a line never leaves behind.
  bool is_header = IsGroupHeader(section.id());
  if (section.id() == kDetail || is_header) {
    if (tail_item_ == kNoTail || !is_tail_only_headers_) {
      tail_item_ = page_.items.size();
      tail_top_ = y_;
      tail_toc_ = toc_.size();
    }
    is_tail_only_headers_ = is_header;
  } else {
    is_tail_only_headers_ = false;
  }
  Append(band, left, y_);
  y_ += band.height;
  has_content_ = has_content_ || CountsAsContent(section, band);
}

void ReportFill::BreakPageWithTail(const Section& footer) {
  auto items_from = page_.items.begin() + static_cast<ptrdiff_t>(tail_item_);
  std::vector<PageItem> items(std::make_move_iterator(items_from),
                              std::make_move_iterator(page_.items.end()));
  page_.items.erase(items_from, page_.items.end());
  auto toc_from = toc_.begin() + static_cast<ptrdiff_t>(tail_toc_);
  std::vector<TocEntry> entries(std::make_move_iterator(toc_from), std::make_move_iterator(toc_.end()));
  toc_.erase(toc_from, toc_.end());
  int32_t old_top = tail_top_, height = y_ - tail_top_;

  BreakPage(&footer);
  tail_item_ = page_.items.size();
  tail_top_ = y_;
  tail_toc_ = toc_.size();
  for (PageItem& item : items) {
    item.top += y_ - old_top;
    page_.items.push_back(std::move(item));
  }
  for (TocEntry& entry : entries) {
    entry.page = page_number_;
    toc_.push_back(std::move(entry));
  }
  y_ += height;
  has_content_ = true;
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

void ReportFill::CallPageEvent(void (ActiveReport::*handler)(), std::string_view name) {
  // The canvas draws on this page for the length of the event only.
  struct Attached {
    PageCanvas& canvas;
    ~Attached() { canvas.Detach(); }
  } attached{report_.Canvas()};
  attached.canvas.Attach(page_, tables_, measurer_);
  CallReportEvent(handler, name);
}

void ReportFill::OpenPage(const Section* trigger) {
  page_ = Page();
  page_.number = ++page_number_;
  page_.width = report_.paper_width();
  page_.height = report_.paper_height();
  page_.items.reserve(most_items_);
  is_page_open_ = true;
  has_content_ = false;
  tail_item_ = kNoTail;
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
  tables_.ResolvePageNumbers(page_);
  most_items_ = std::max(most_items_, page_.items.size());
  is_page_open_ = false;
  StopIfCancelled();
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

}  // namespace vob::engine
