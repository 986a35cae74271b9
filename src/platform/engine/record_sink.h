// The printed sections of a report as data, for exporters: each instance's text boxes with the value the fill
// bound or summed, beside the pages. Plain data, like the page model; the exporters never see a control.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/engine/layout.h"
#include "platform/engine/page_model.h"
#include "platform/vb/variant.h"

namespace vob::engine {

// A text box or label as the layout places it, in twips from its section's top-left corner.
//
// | field          | text box                                  | label                    |
// |----------------|-------------------------------------------|--------------------------|
// | section        | its section                               | its section              |
// | name           | the control's name                        | the control's name       |
// | text           | the column name the report gave it, or "" | the caption, as printed  |
// | box            | left, top, width, height                  | left, top, width, height |
// | field          | the bound field, or ""                    | ""                       |
// | lines          | 1                                         | the lines its height holds |
struct RecordControl {
  SectionId section = kDetail;
  std::string name;
  std::string text;
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::string field;
  int32_t lines = 1;
};

// What the exporters learn before the first record: which section makes a row, and the layout to name the
// columns by. A row section without a text box whose labels a handler fills (a sheet of mailing labels) has
// those labels among its boxes: their cells hold the caption as a handler-set text. Taken once the report has
// started (after ActiveReport_ReportStart), so a report that hides its details for a summary has already done
// so.
struct RecordLayout {
  // kDetail, or where the details are hidden or show nothing but subreports, the innermost group's footer
  // (kReportFooter when the report has no group either, so that it still gives its totals): a profile prints
  // one record per group, in its header, and a row is then the group.
  SectionId row_section = kDetail;
  int group_count = 0;  // group levels 1 to group_count exist
  // The visible text boxes of the group headers, the row section and the footers (group, banner and report),
  // in section order, then left to right. A record's cells come in this order, section by section.
  std::vector<RecordControl> boxes;
  // The visible labels of the page header, the banner and the group headers, the row section and the
  // footers, with the captions they had when the report started.
  std::vector<RecordControl> labels;
  // The visible text boxes of the page header and the banner: values printed beside or under a caption
  // ("Ending Date:" and its date), which make that caption a field's, not a column's.
  std::vector<RecordControl> values;
};

// One text box of a printed instance. The pointers are valid for the duration of the call only.
struct RecordCell {
  const vb::Variant* value;          // bound or summed; Empty for a text box nothing feeds
  const std::string* text;           // as printed
  const std::string* output_format;  // the pattern value went through
  bool is_text_set;                  // a handler set the text: it printed instead of value
  bool is_visible;                   // false: the instance printed without this box
};

// One printed (or, for a group header, started) section instance.
struct Record {
  SectionId section = kDetail;
  std::span<const RecordCell> cells;  // the layout's boxes of this section, in the layout's order
  const vb::Variant* group_value;     // a group header's break value (the group's key); else nullptr
};

// Receives the report's sections as records while the fill runs beside a PageSink.
// Calls: Begin once, AddRecord per instance in print order, End once; a failed run calls none after the
// failure and the sink's owner discards what it wrote.
// - A group header's record comes each time its group starts, printed or hidden (its values are the group's
//   key); repeated headers on later pages are not records.
// - The row section's and the footers' records come only for instances that printed (visible after
//   BeforePrint).
class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void Begin(const DocumentInfo& info, const RecordLayout& layout) = 0;
  virtual void AddRecord(const Record& record) = 0;
  virtual void End() = 0;

  // A subreport's records (a profile's other locations), a table of their own beside the main one, named by
  // the subreport control: BeginSubtable the first time the control runs, then its records each time, while
  // the main report's section that holds it prints (after the enclosing group headers' records).
  virtual void BeginSubtable(const std::string& name, const RecordLayout& layout) {
    (void)name, (void)layout;
  }
  virtual void AddSubrecord(const std::string& name, const Record& record) { (void)name, (void)record; }
};

}  // namespace vob::engine
