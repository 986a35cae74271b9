// Entry point of the vobreports command: dispatches to the subcommands and maps failures to exit codes.
// Usage errors exit with 2, failures with 1; messages go to stderr, results to stdout.
#include <exception>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/font_cache.h"
#include "manager/c_api/vob_c_api.h"
#include "platform/render/output_file.h"

int main(int argc, char** argv) {
  vob::render::RemoveTemporariesOnStop();  // an interrupted run leaves no NAME.pdf.XXXXXX behind
  CLI::App app{"vobreports: the reports of Vob Accounting, rendered to PDF, PNG, SVG, text and JSON"};
  app.require_subcommand(0, 1);  // one is required unless --version is given: checked after parsing
  app.set_help_all_flag("--help-all", "Print help for every subcommand");
  const CLI::Option* version = app.add_flag("--version")->description("Print the version and exit");
  vob::render::UseFontCache(vob::cli::FontCacheSettingsFromEnvironment());
  app.add_flag_callback(
      "--no-font-cache", [] { vob::render::UseFontCache({}); },
      "Ask fontconfig for every font instead of the answers kept in "
      "~/.cache/vobreports/font-locations");
  vob::cli::RegisterKeysCommand(app);
  vob::cli::RegisterFormatCommand(app);
  vob::cli::RegisterWordsCommand(app);
  vob::cli::RegisterDemoDbCommand(app);
  vob::cli::RegisterSqlCommand(app);
  vob::cli::RegisterRunCommand(app);
  vob::cli::RegisterParamsCommand(app);
  vob::cli::RegisterViewCommand(app);
  vob::cli::RegisterPrintCommands(app);
  try {
    app.parse(argc, argv);
    if (version->count() > 0) {
      std::cout << "vobreports " VOB_VERSION "\n";
    } else if (app.get_subcommands().empty()) {
      throw CLI::RequiredError("A subcommand");
    }
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error);
    return code == 0 ? 0 : 2;
  } catch (const vob::cli::UsageError& error) {
    std::cerr << "vobreports: " << error.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "vobreports: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
