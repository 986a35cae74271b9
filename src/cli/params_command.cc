// `vobreports params`: the parameters a report reads, as the report's own table declares them, each with an
// example that works on the demo company. A key is looked up exactly as `run` looks it up.
#include <iostream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "manager/report_keys.h"
#include "platform/vb/conversions.h"

namespace vob::cli {
namespace {

struct ParamsOptions {
  std::string key;
  bool is_json = false;
  bool shows_second_examples = false;
};

std::string IndexText(const reports::ParamRow& row) {
  return row.index == reports::kDrillDown ? "d" : std::to_string(row.index);
}

std::string_view ExampleOf(const reports::ParamRow& row, bool is_second) {
  return is_second && !row.second_example.empty() ? row.second_example : row.example;
}

void PrintParams(const ParamsOptions& options) {
  if (options.is_json) {
    std::cout << DeclaredParamsJson(options.key, options.shows_second_examples).dump(2) << '\n';
    return;
  }
  for (const reports::ParamRow& row : DeclaredParams(FindBuiltReport(options.key))) {
    std::cout << IndexText(row) << '\t' << reports::ParamKindName(row.kind) << '\t' << row.label << '\t'
              << ExampleOf(row, options.shows_second_examples) << '\n';
  }
}

}  // namespace

nlohmann::ordered_json DeclaredParamsJson(const std::string& key, bool is_second) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const reports::ParamRow& row : DeclaredParams(FindBuiltReport(key))) {
    nlohmann::ordered_json item = {{"index", IndexText(row)},
                                   {"kind", reports::ParamKindName(row.kind)},
                                   {"label", row.label},
                                   {"example", ExampleOf(row, is_second)}};
    if (!row.second_example.empty()) item["second_example"] = row.second_example;
    if (reports::IsRequired(row)) item["required"] = true;
    if (row.kind == reports::ParamKind::kChoice) {
      item["values"] = nlohmann::ordered_json::array();
      for (std::string_view value : row.values) item["values"].push_back(value);
    }
    list.push_back(std::move(item));
  }
  return list;
}

std::string ReportKeyList() {
  std::string list;
  for (const ReportKey& entry : ReportKeys()) {
    if (!list.empty()) list += ", ";
    list += entry.key;
  }
  return list;
}

const ReportKey& FindBuiltReport(const std::string& key) {
  const std::string lower = vb::LCase(key);
  const ReportKey* entry = FindReportKey(lower);
  if (entry == nullptr)
    throw UsageError("unknown report key \"" + key + "\"; the keys are: " + ReportKeyList());
  if (entry->create == nullptr) {
    throw vob::Error("report \"" + lower + "\" (" + std::string(entry->class_name) + ") is not built yet");
  }
  return *entry;
}

void RegisterParamsCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "params", "List the parameters a report reads: index (d for drill-down), kind, label, example");
  auto options = std::make_shared<ParamsOptions>();
  command->add_option("KEY", options->key, "Report key (see `vobreports keys`)")->required();
  command->add_flag("--json", options->is_json,
                    "Print a JSON array of objects: index, kind, label, example (values for a choice)");
  command->add_flag("--second", options->shows_second_examples,
                    "Print the examples of the report's second demo run where it has one");
  command->callback([options] { PrintParams(*options); });
}

}  // namespace vob::cli
