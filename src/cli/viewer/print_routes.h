// The viewer's Print button on the server: the CUPS destinations, a kept run printed without running it
// again, and its job's state while the print dialog is open.
#pragma once

#include <functional>
#include <memory>

#include <httplib.h>

#include "cli/viewer/kept_run.h"

namespace vob::cli::viewer {

// The run a /api/runs/ID/... request names; null after it answered why there is none.
using FindRun = std::function<std::shared_ptr<KeptRun>(const httplib::Request&, httplib::Response&)>;

// GET /api/printers: [{"name", "is_default", "state", "is_accepting_jobs", "state_message"}].
// POST /api/runs/ID/print {"printer", "copies", "sides", "pages"} (all optional): {"job", "printer"}.
// GET /api/print-jobs/ID?printer=NAME: {"state", "reasons", "message"}.
// A failure answers {"error"} with 502 (CUPS) or 400/409 (the request, a run not finished).
void AddPrintRoutes(httplib::Server& server, FindRun find_run, std::function<render::FontService&()> fonts);

}  // namespace vob::cli::viewer
