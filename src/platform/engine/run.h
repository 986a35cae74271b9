// engine::Run fills a report object's pages in one pass over its rows and streams them to a PageSink.
// The order of the handler calls below is the contract reports are written against.
//
// 1. ActiveReport_DataInitialize.
// 2. The main data control (the first in section order) opens its source and stands on the first row.
// 3. ActiveReport_ReportStart.
// 4. ActiveReport_FetchData for the first row (active_report.h: the eof flag), so that headers show its
// values.
// 5. ReportHeader, then the page header, then BannerHeader; group headers of row 1, outermost first; Detail.
// 6. For each further row: the recordset moves on and ActiveReport_FetchData runs for the new row (the engine
//    reads one row ahead); if a group's break value changed, the footers of the broken groups print innermost
//    first, showing the fields of the group's last row, then the new groups' headers outermost first; Detail.
// 7. At the end of the rows: every group footer innermost first, BannerFooter, ReportFooter.
// 8. ActiveReport_ReportEnd after the last page; then the engine closes the recordset it opened.
//
// Every section instance runs Format, then BeforePrint, then is laid out and placed. Pages:
// - A page begins when the first section needs it: ActiveReport_PageStart (the canvas draws on the page), the
//   page header, then the repeated headers: the banner (which repeats unless a handler turns that off) and
//   the open groups whose headers repeat, with is_repeating() true while they print. Page 1 has the report
//   header above the page header.
// - Sections stack from the top margin; the page footer's height is kept free at the bottom. A section that
//   does not fit moves whole to the next page; one taller than an empty page is cut at a line where it stands
//   and goes on over pages. A group footer or the banner footer that does not fit takes the last detail or
//   group header placed (and what followed it) along, so that no footer starts a page alone.
// - A page ends with the page footer, then ActiveReport_PageEnd; the page then goes to the sink.
// - New page before a section is ignored while its page holds only headers (page header, banner, group
//   headers), so that a banner never stands alone; new page after takes effect with the next section placed.
// - Page number fields print the number of the page they land on, in any section (filled in as the page is
//   finished); page count fields are a deferred slot that the sink resolves at End.
// - The table of contents records each entry with the page of the next section placed (the section whose
//   handlers added it); entries added in a hidden section go with the next visible one.
#pragma once

#include <atomic>
#include <string>

#include "platform/engine/active_report.h"
#include "platform/engine/engine_error.h"
#include "platform/engine/page_model.h"
#include "platform/engine/record_sink.h"
#include "platform/engine/text_measurer.h"

namespace vob::engine {

struct RunContext {
  TextMeasurer& measurer;
  PageSink& sink;
  std::string report_key;  // "chaccts"
  std::string title;
  // Read before each row and each finished page; once true, the run stops there with RunCancelled. May be
  // set from any thread, also from inside the sink.
  const std::atomic<bool>* cancel_requested = nullptr;
};

// Runs the report object into context.sink: Begin, each page as it is finished, End. A report object can run
// more than once; its own variables keep their values between runs. Throws RunError when a handler, the data
// or the layout fails ("rptChaccts, ActiveReport_DataInitialize: error 9: Subscript out of range"), and
// RunCancelled when cancel_requested was set; the sink then receives no End.
void Run(ActiveReport& report, const RunContext& context);
// The same run, with each printed section also handed to records as data (record_sink.h) in the same pass.
void Run(ActiveReport& report, const RunContext& context, RecordSink& records);

}  // namespace vob::engine
