// `vobreports keys`, `format` and `words`.
#include "cli/commands.h"

namespace vob::cli {

void RegisterKeysCommand(CLI::App&) {}
void RegisterFormatCommand(CLI::App&) {}
void RegisterWordsCommand(CLI::App&) {}

}  // namespace vob::cli
