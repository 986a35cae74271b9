// CUPS through libcups's IPP calls: CUPS-Get-Printers for the destinations, Create-Job and Send-Document for
// a job, Get-Job-Attributes for its state. Each call opens its own connection, so any thread may print.
#include "platform/render/cups_printer.h"

#include <cups/cups.h>
#include <cups/pwg.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <thread>

namespace vob::render {
namespace {

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Connection = std::unique_ptr<http_t, HttpCloser>;
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

// The document goes to the server in pieces of at least this size, as the PDF writer emits it in small ones.
constexpr size_t kWriteBytes = 1 << 16;

Connection Connect() {
  Connection http(
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
  if (!http) {
    throw PrintError("no CUPS server answers at " + PrintServerName() + " (set CUPS_SERVER to another)");
  }
  return http;
}

std::string LastCupsError() {
  const char* message = cupsLastErrorString();
  return message != nullptr && *message != 0 ? message : ippErrorString(cupsLastError());
}

// The attribute's values joined with ", ", or "" when the message has no such attribute.
std::string Texts(ipp_attribute_t* attribute) {
  std::string joined;
  for (int i = 0; attribute != nullptr && i < ippGetCount(attribute); ++i) {
    const char* value = ippGetString(attribute, i, nullptr);
    if (value == nullptr) continue;
    if (!joined.empty()) joined += ", ";
    joined += value;
  }
  return joined;
}

std::string PrinterStateName(int state) {
  switch (state) {
    case IPP_PSTATE_PROCESSING:
      return "processing";
    case IPP_PSTATE_STOPPED:
      return "stopped";
    default:
      return "idle";
  }
}

std::vector<PrintDestination> ListDestinations(http_t* http) {
  static const char* const kAttributes[] = {"printer-name", "printer-state", "printer-state-message",
                                            "printer-state-reasons", "printer-is-accepting-jobs"};
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
  const IppMessage response(cupsDoRequest(http, request, "/"));  // frees request
  if (!response) {
    throw PrintError("the CUPS server at " + PrintServerName() +
                     " did not list its printers: " + LastCupsError());
  }
  if (cupsLastError() > IPP_STATUS_OK_CONFLICTING && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
    throw PrintError("the CUPS server at " + PrintServerName() +
                     " did not list its printers: " + LastCupsError());
  }
  const char* default_name = cupsGetDefault2(http);
  const std::string default_printer = default_name != nullptr ? default_name : "";

  // The response is one group of printer attributes per printer, separated by group changes.
  std::vector<PrintDestination> destinations;
  PrintDestination current;
  const auto flush = [&] {
    if (!current.name.empty()) {
      current.is_default = current.name == default_printer;
      destinations.push_back(std::move(current));
    }
    current = PrintDestination();
  };
  for (ipp_attribute_t* attribute = ippFirstAttribute(response.get()); attribute != nullptr;
       attribute = ippNextAttribute(response.get())) {
    const char* name = ippGetName(attribute);
    if (name == nullptr) {  // the separator between two printers
      flush();
      continue;
    }
    if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER) continue;
    const std::string_view key(name);
    if (key == "printer-name") {
      current.name = Texts(attribute);
    } else if (key == "printer-state") {
      current.state = PrinterStateName(ippGetInteger(attribute, 0));
    } else if (key == "printer-state-message") {
      current.state_message = Texts(attribute);
    } else if (key == "printer-state-reasons") {
      current.state_reasons = Texts(attribute);
    } else if (key == "printer-is-accepting-jobs") {
      current.is_accepting_jobs = ippGetBoolean(attribute, 0) != 0;
    }
  }
  flush();
  return destinations;
}

// The printer's state as a clause for a message: "Out of paper (media-empty-error)".
std::string Reason(const std::string& message, const std::string& reasons) {
  const bool has_reasons = !reasons.empty() && reasons != "none";
  if (message.empty()) return has_reasons ? reasons : "no reason given";
  return has_reasons ? message + " (" + reasons + ")" : message;
}

// The destination a job goes to, checked to exist and take jobs.
PrintDestination ChooseDestination(http_t* http, const std::string& printer) {
  const std::vector<PrintDestination> destinations = ListDestinations(http);
  std::string known;
  for (const PrintDestination& destination : destinations) {
    known += (known.empty() ? "" : ", ") + destination.name;
  }
  if (known.empty()) known = "none";
  const auto found = std::find_if(destinations.begin(), destinations.end(), [&](const PrintDestination& d) {
    return printer.empty() ? d.is_default : strcasecmp(d.name.c_str(), printer.c_str()) == 0;
  });
  if (found == destinations.end()) {
    if (printer.empty()) {
      throw PrintError("the CUPS server at " + PrintServerName() +
                       " has no default printer; name one of: " + known);
    }
    throw PrintError("no printer \"" + printer + "\" on the CUPS server at " + PrintServerName() +
                     "; known printers: " + known);
  }
  const std::string reason = Reason(found->state_message, found->state_reasons);
  if (found->state == "stopped" && !found->is_accepting_jobs) {
    throw PrintError("printer \"" + found->name + "\" is stopped and rejects jobs: " + reason);
  }
  if (found->state == "stopped") throw PrintError("printer \"" + found->name + "\" is stopped: " + reason);
  if (!found->is_accepting_jobs) throw PrintError("printer \"" + found->name + "\" rejects jobs: " + reason);
  return *found;
}

std::string JobDescription(const PrintJob& job) {
  return "job " + std::to_string(job.id) + " on \"" + job.printer + "\"";
}

}  // namespace

std::string PrintServerName() {
  const std::string server = cupsServer();
  if (server.empty() || server.front() == '/') return server;
  if (server.find(':') != std::string::npos && server.front() != '[') return server;  // has its port
  return server + ":" + std::to_string(ippPort());
}

std::vector<PrintDestination> ListPrintDestinations() {
  const Connection http = Connect();
  return ListDestinations(http.get());
}

struct PrintConnection {
  Connection http;
};

PrintJobStream::PrintJobStream(PrintJobOptions options)
    : options_(std::move(options)),
      connection_(std::make_unique<PrintConnection>(PrintConnection{Connect()})) {
  options_.printer = ChooseDestination(connection_->http.get(), options_.printer).name;
  job_.printer = options_.printer;
}

PrintJobStream::~PrintJobStream() {
  if (is_open_ && !is_finished_) {
    // Closing the document's connection mid-request makes the server drop what it received; the job itself
    // is cancelled over a new connection.
    connection_.reset();
    if (Connection http(
            httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
        http) {
      cupsCancelJob2(http.get(), job_.printer.c_str(), job_.id, 1);  // 1: purge its files and history
    }
  }
}

void PrintJobStream::Open(const std::string& media) {
  std::lock_guard lock(mutex_);
  OpenLocked(media);
}

void PrintJobStream::OpenLocked(const std::string& media) {
  if (is_open_) return;
  try {
    if (!media.empty()) options_.media = media;
    cups_option_t* job_options = nullptr;
    int option_count = 0;
    const auto add = [&](const char* name, const std::string& value) {
      if (!value.empty()) option_count = cupsAddOption(name, value.c_str(), option_count, &job_options);
    };
    add("print-scaling", "none");
    add("media", options_.media);
    add("copies", std::to_string(std::max(options_.copies, 1)));
    add("sides", options_.sides);
    add("page-ranges", options_.page_ranges);
    const std::string job_name = options_.job_name.empty() ? "vobreports" : options_.job_name;
    http_t* http = connection_->http.get();
    job_.id = cupsCreateJob(http, job_.printer.c_str(), job_name.c_str(), option_count, job_options);
    cupsFreeOptions(option_count, job_options);
    if (job_.id <= 0) {
      job_.id = 0;
      throw PrintError("printer \"" + job_.printer + "\" refused the job: " + LastCupsError());
    }
    is_open_ = true;
    if (cupsStartDocument(http, job_.printer.c_str(), job_.id, job_name.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
      throw PrintError("the document of " + JobDescription(job_) + " could not be sent: " + LastCupsError());
    }
    Flush();
  } catch (...) {
    if (!failure_) failure_ = std::current_exception();
    throw;
  }
}

void PrintJobStream::Write(std::string_view bytes) {
  std::lock_guard lock(mutex_);
  pending_.append(bytes);
  if (is_open_ && pending_.size() >= kWriteBytes) {
    try {
      Flush();
    } catch (...) {
      if (!failure_) failure_ = std::current_exception();
      throw;
    }
  }
}

void PrintJobStream::Flush() {
  if (pending_.empty()) return;
  if (cupsWriteRequestData(connection_->http.get(), pending_.data(), pending_.size()) !=
      HTTP_STATUS_CONTINUE) {
    throw PrintError("the document of " + JobDescription(job_) + " could not be sent: " + LastCupsError());
  }
  pending_.clear();
}

PrintJob PrintJobStream::Finish() {
  std::lock_guard lock(mutex_);
  OpenLocked(options_.media);
  Flush();
  if (cupsFinishDocument(connection_->http.get(), job_.printer.c_str()) > IPP_STATUS_OK_CONFLICTING) {
    throw PrintError("the document of " + JobDescription(job_) + " could not be sent: " + LastCupsError());
  }
  is_finished_ = true;
  return job_;
}

std::exception_ptr PrintJobStream::failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

PrintJob SubmitPdf(std::string_view pdf, const PrintJobOptions& options) {
  PrintJobStream stream(options);
  stream.Open(options.media);
  for (size_t at = 0; at < pdf.size(); at += kWriteBytes) {
    stream.Write(pdf.substr(at, kWriteBytes));
  }
  return stream.Finish();
}

JobStatus QueryJob(const PrintJob& job) {
  static const char* const kAttributes[] = {"job-state", "job-state-reasons", "job-printer-state-message"};
  const Connection http = Connect();
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[HTTP_MAX_URI];
  const std::string resource = "/jobs/" + std::to_string(job.id);
  httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                  resource.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
  const IppMessage response(cupsDoRequest(http.get(), request, "/"));
  if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
    throw PrintError("the state of " + JobDescription(job) + " cannot be read: " + LastCupsError());
  }
  JobStatus status;
  switch (ippGetInteger(ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM), 0)) {
    case IPP_JSTATE_HELD:
      status.state = JobState::kHeld;
      break;
    case IPP_JSTATE_PROCESSING:
      status.state = JobState::kProcessing;
      break;
    case IPP_JSTATE_STOPPED:
      status.state = JobState::kStopped;
      break;
    case IPP_JSTATE_CANCELED:
      status.state = JobState::kCanceled;
      break;
    case IPP_JSTATE_ABORTED:
      status.state = JobState::kAborted;
      break;
    case IPP_JSTATE_COMPLETED:
      status.state = JobState::kCompleted;
      break;
    default:
      status.state = JobState::kPending;
  }
  status.reasons = Texts(ippFindAttribute(response.get(), "job-state-reasons", IPP_TAG_KEYWORD));
  status.message = Texts(ippFindAttribute(response.get(), "job-printer-state-message", IPP_TAG_TEXT));
  return status;
}

void WaitForJob(const PrintJob& job) {
  // Short polls first, as a small job is done within a second; then twice a second.
  auto pause = std::chrono::milliseconds(20);
  while (true) {
    const JobStatus status = QueryJob(job);
    switch (status.state) {
      case JobState::kCompleted:
        return;
      case JobState::kAborted:
      case JobState::kCanceled:
      case JobState::kStopped:
        throw PrintError(JobDescription(job) + " was " + std::string(JobStateName(status.state)) + ": " +
                         Reason(status.message, status.reasons));
      default:
        break;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(500));
  }
}

std::string_view JobStateName(JobState state) {
  switch (state) {
    case JobState::kPending:
      return "pending";
    case JobState::kHeld:
      return "held";
    case JobState::kProcessing:
      return "processing";
    case JobState::kStopped:
      return "stopped";
    case JobState::kCanceled:
      return "canceled";
    case JobState::kAborted:
      return "aborted";
    case JobState::kCompleted:
      return "completed";
  }
  return "pending";
}

std::string MediaForPage(int32_t width_twips, int32_t height_twips) {
  // PWG sizes are in hundredths of a millimetre, 2540 to the inch; twips are 1440 to the inch.
  const auto hundredths = [](int32_t twips) {
    return static_cast<int>(std::lround(twips * 2540.0 / 1440.0));
  };
  const int width = hundredths(std::min(width_twips, height_twips));
  const int length = hundredths(std::max(width_twips, height_twips));
  const pwg_media_t* media = pwgMediaForSize(width, length);
  if (media == nullptr || media->pwg == nullptr) {
    throw PrintError("no media name for a page of " + std::to_string(width_twips) + " x " +
                     std::to_string(height_twips) + " twips");
  }
  return media->pwg;
}

std::vector<std::pair<int, int>> ParsePageRanges(std::string_view text) {
  const auto fail = [&]() -> PrintError {
    return PrintError("pages \"" + std::string(text) + "\" is not a list of pages and ranges such as 1-3,5");
  };
  const auto number = [&](std::string_view digits) {
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value < 1) {
      throw fail();
    }
    return value;
  };
  std::vector<std::pair<int, int>> ranges;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string_view item = text.substr(start, comma == std::string_view::npos ? comma : comma - start);
    const size_t dash = item.find('-');
    const int first = number(item.substr(0, dash));
    const int last = dash == std::string_view::npos ? first : number(item.substr(dash + 1));
    if (last < first) throw fail();
    ranges.emplace_back(first, last);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return ranges;
}

}  // namespace vob::render
