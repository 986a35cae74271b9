// Engine-internal: one run of one report object, from data initialisation to report end, in one pass over the
// rows. A main report fills pages for a PageSink; a subreport fills one continuous band for its parent.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/engine/active_report.h"
#include "platform/engine/band_builder.h"
#include "platform/engine/document_tables.h"
#include "platform/engine/record_sink.h"
#include "platform/engine/text_measurer.h"

namespace vob::engine {

class ReportFill final : public SubreportRunner {
 public:
  // Pages go to sink; with no sink the report prints as one band width twips wide (a subreport).
  ReportFill(ActiveReport& report, DocumentTables& tables, TextMeasurer& measurer, PageSink* sink,
             int32_t band_width = 0);

  // The printed sections also go to records as data. REQUIRES: a main report (a page sink), before Execute.
  void set_records(RecordSink* records) { records_ = records; }

  // Checked before each row and each page handed to the sink. REQUIRES: before Execute.
  void set_cancel_flag(const std::atomic<bool>* cancel_requested) { cancel_requested_ = cancel_requested; }

  // The whole run. Throws RunError (RunCancelled once the cancel flag is set); the sinks then receive nothing
  // more.
  void Execute();

  int page_count() const { return page_number_; }
  std::vector<TocEntry>& toc() { return toc_; }
  Band& band() { return continuous_; }  // a subreport's output
  void set_page_number(int page_number) {
    page_number_ = page_number;
  }  // what a subreport's page fields show

  void RunSubreport(Subreport& control, Band& band) override;

 private:
  // Placing a section can print others first (a page break prints the page footer and header), so each depth
  // of placement has bands of its own; they keep their capacity from row to row.
  struct Bands {
    Band band, rest;
  };

  // Calls a handler or does an engine step, turning any error into a RunError that names the report, the
  // handler (or control) and the cause.
  template <typename Step>
  void Invoke(std::string_view where, Step&& step);
  void CallReportEvent(void (ActiveReport::*handler)(), std::string_view name);

  // Throws RunCancelled when the caller asked the run to stop.
  void StopIfCancelled() const;

  // Data and rows.
  void OpenData();
  bool NextRow(bool is_first);
  int BrokenGroup();
  int BreakSlot(size_t group);
  void OpenGroups(size_t first);
  void CloseGroups(size_t first);
  void AccumulateSums();
  // The field slot a text box shows or sums, -1 for a name that is no field; resolved once per generation.
  int BoundSlot(TextBox& box);

  // Records.
  void BeginRecords();
  void SendRecord(const Section& section);

  // Sections.
  void RefreshCaches();
  void BindControls(Section& section);
  void Print(SectionId id, bool is_repeat = false);
  void Place(Section& section, bool is_repeat);
  void PlaceOnPage(Section& section, Bands& bands, bool is_repeat);
  void ChooseColumn(Section& section, int32_t height);
  void PlaceBand(const Section& section, Bands& bands);
  // Runs BeforePrint and lays the instance out again when the handler may have changed it. False when the
  // section is hidden now.
  bool BeforePrint(Section& section, int32_t width, Band& band);
  void AddToc(std::vector<TocEntry>& entries);
  void Append(Band& band, int32_t left, int32_t top);  // moves the items out
  static bool CountsAsContent(const Section& section, const Band& band);

  // Pages.
  void OpenPage(const Section* trigger);
  void PrintRepeats(const Section* trigger);
  void CallPageEvent(void (ActiveReport::*handler)(), std::string_view name);
  void EndPage();
  void BreakPage(const Section* trigger);
  // Breaks the page before a footer that does not fit, taking the last line and what followed it along.
  void BreakPageWithTail(const Section& footer);
  void FinishPages();
  void EndColumns();

  ActiveReport& report_;
  DocumentTables& tables_;
  TextMeasurer& measurer_;
  PageSink* sink_;
  BandBuilder builder_;
  std::vector<std::unique_ptr<Bands>> bands_;
  size_t bands_in_use_ = 0;
  Band continuous_;
  int32_t band_width_;

  DataControl* data_ = nullptr;
  data::Recordset* recordset_ = nullptr;
  FieldCollection& fields_;
  std::vector<Section*> groups_;  // declared group headers, outermost first
  std::vector<int> break_slots_;
  uint64_t break_slots_generation_ = 0;
  std::array<bool, kMaxGroups + 1> is_group_open_{};  // [0] the banner

  uint64_t caches_version_ = 0;
  std::array<std::vector<TextBox*>, kSectionCount> text_boxes_;
  std::vector<TextBox*> sums_;
  std::vector<int> sum_levels_;  // 0: never reset within the run; 1 to 6: reset when that group starts

  Page page_;
  bool is_page_open_ = false;
  bool is_opening_page_ = false;
  bool is_page_header_due_ = false;
  bool has_content_ = false;
  bool is_break_due_ = false;
  int page_number_ = 0;
  int32_t y_ = 0;
  int32_t fresh_y_ = 0;
  int32_t body_bottom_ = 0;
  // The most items a page of this run has held: each page reserves as many, so that a page a little fuller
  // than the one before does not move its items to a vector twice the size.
  size_t most_items_ = 64;
  // Where the last line placed on this page (a detail or group header, with the headers right above it)
  // begins: its first item, its top and its first table-of-contents entry. kNoTail when the page has none
  // outside columns.
  static constexpr size_t kNoTail = SIZE_MAX;
  size_t tail_item_ = kNoTail;
  int32_t tail_top_ = 0;
  size_t tail_toc_ = 0;
  bool is_tail_only_headers_ = false;

  bool is_in_columns_ = false;
  bool is_column_break_due_ = false;
  int column_ = 0;
  int32_t column_top_ = 0, column_y_ = 0, columns_bottom_ = 0;

  std::vector<TocEntry> toc_;

  RecordSink* records_ = nullptr;
  const std::atomic<bool>* cancel_requested_ = nullptr;
  SectionId row_section_ = kDetail;
  std::array<std::vector<TextBox*>, kSectionCount> record_boxes_;  // the layout's boxes of each section
  std::vector<const Label*> row_labels_;
  std::vector<std::string> begun_subtables_;  // subreport controls whose records went to records_  // a row
                                              // section without text boxes: its labels stand for them
  std::vector<RecordCell> cells_;
};

}  // namespace vob::engine
