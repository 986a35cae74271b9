// Test doubles for the engine: a fixed-width measurer, in-memory rows, a report base that feeds them, and a
// dump of a page's items as short texts. Every character is 100 twips wide at 10 pt and a line is 20 twips
// per point.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/data/recordset.h"
#include "platform/engine/active_report.h"
#include "platform/engine/page_model.h"
#include "platform/engine/run.h"
#include "platform/engine/text_measurer.h"

namespace vob::engine::testing {

class FixedWidthMeasurer final : public TextMeasurer {
 public:
  double WidthTwips(const FontSpec& font, std::string_view text) override {
    return static_cast<double>(text.size()) * 10.0 * font.size_points;
  }
  FontMetrics Metrics(const FontSpec& font) override {
    return {16.0 * font.size_points, 20.0 * font.size_points};
  }
};

struct Column {
  std::string name;
  data::FieldType type;
};

inline std::shared_ptr<data::Recordset> MemoryRows(const std::vector<Column>& columns,
                                                   const std::vector<std::vector<vb::Variant>>& rows) {
  auto recordset = std::make_shared<data::Recordset>();
  for (const Column& column : columns) recordset->AppendField(column.name, column.type);
  recordset->OpenInMemory();
  for (const auto& row : rows) {
    recordset->AddNew();
    for (size_t i = 0; i < columns.size(); ++i) recordset->SetValue(columns[i].name, row[i]);
    recordset->Update();
  }
  recordset->MoveFirst();
  return recordset;
}

// A report over in-memory rows, fed to its "dataMain" control at data initialisation; it records handler
// calls.
class TestReport : public ActiveReport {
 public:
  TestReport(std::span<const SectionRow> sections, std::span<const ControlRow> controls) {
    Declare(sections, controls);
  }
  void ActiveReport_DataInitialize() override {
    trace.push_back("DataInitialize");
    if (rows != nullptr) {
      rows->MoveFirst();
      Controls<DataControl>("dataMain").set_recordset(rows);
    }
  }
  void ActiveReport_FetchData(bool& eof) override {
    (void)eof;
    trace.push_back("FetchData");
  }

  std::shared_ptr<data::Recordset> rows;
  std::vector<std::string> trace;
};

// Runs a report into a page model with the fixed-width measurer.
inline PageModel RunToModel(ActiveReport& report) {
  FixedWidthMeasurer measurer;
  PageModel model;
  Run(report, RunContext{measurer, model, "test", "Test"});
  return model;
}

// One line per item of a page: "control=text" for text, "control@top" for lines and images, "rect@top" for
// rectangles (section backgrounds).
inline std::vector<std::string> Dump(const PageModel& model, size_t page_index) {
  std::vector<std::string> lines;
  for (const PageItem& item : model.pages().at(page_index).items) {
    std::string name(model.name(item.control));
    switch (item.kind) {
      case ItemKind::kText:
        lines.push_back(name + "=" + item.text);
        break;
      case ItemKind::kRect:
        lines.push_back("rect@" + std::to_string(item.top));
        break;
      default:
        lines.push_back(name + "@" + std::to_string(item.top));
        break;
    }
  }
  return lines;
}

// The items of one control on a page.
inline std::vector<PageItem> ItemsOf(const PageModel& model, size_t page_index, std::string_view control) {
  std::vector<PageItem> items;
  for (const PageItem& item : model.pages().at(page_index).items) {
    if (model.name(item.control) == control) items.push_back(item);
  }
  return items;
}

}  // namespace vob::engine::testing
