// The subcommands of the vobreports command line, each registered on the application by its own function.
// Exit codes: 0 success, 1 failure (the message on stderr), 2 bad usage.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "manager/report_keys.h"
#include "platform/error.h"

namespace vob::cli {

// A command line that names something that does not exist (an unknown report key): exit code 2.
class UsageError : public vob::Error {
 public:
  using vob::Error::Error;
};

// Each Register function adds one subcommand with its options and the callback that runs it. Callbacks throw
// vob::Error on failure; main() prints the message and exits with 1.
void RegisterKeysCommand(CLI::App& app);
void RegisterFormatCommand(CLI::App& app);
void RegisterWordsCommand(CLI::App& app);
void RegisterDemoDbCommand(CLI::App& app);
void RegisterSqlCommand(CLI::App& app);
void RegisterRunCommand(CLI::App& app);
void RegisterParamsCommand(CLI::App& app);
void RegisterViewCommand(CLI::App& app);
void RegisterPrintCommands(CLI::App& app);  // print and printers

// The key table's entry for a report key in any case. Throws UsageError for an unknown key, listing every key
// (ReportKeyList), and vob::Error for a key whose report is not built yet: `run` and `params` fail alike.
const ReportKey& FindBuiltReport(const std::string& key);
std::string ReportKeyList();

// What `params KEY --json` prints: the report's declared parameters, with the second run's examples when
// is_second. Throws as FindBuiltReport does.
nlohmann::ordered_json DeclaredParamsJson(const std::string& key, bool is_second = false);

}  // namespace vob::cli
