// The options of `vobreports view`, and the function that serves them, which each program defines its own
// way: the viewer program (view_command.cc) serves in its own process; the command (view_handover.cc), which
// does not load the HTTP server's libraries at start, hands the whole command line over to the viewer
// program.
#pragma once

#include <cstddef>
#include <string>

#include "cli/run_options.h"

namespace vob::cli {

struct ViewOptions {
  RunOptions run;
  int port = 0;
  std::string listen_address = "127.0.0.1";
  bool opens_browser = true;
  size_t memory_megabytes = 1024;
};

// Serves until a stop signal; throws vob::Error when it cannot start.
void ServeViewer(const ViewOptions& options);

}  // namespace vob::cli
