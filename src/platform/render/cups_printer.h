// Printing through CUPS: the destinations a server offers, a finished PDF submitted as one job, the job's
// state. Talks IPP through libcups to the server CUPS_SERVER (or the user's client.conf) names.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"

namespace vob::render {

// No server, an unknown or stopped printer, a refused or failed job, pages outside the document. The message
// names the server, the printer and the job involved.
class PrintError : public vob::Error {
 public:
  using vob::Error::Error;
};

struct PrintDestination {
  std::string name;
  bool is_default = false;
  std::string state;  // "idle", "processing" or "stopped"
  bool is_accepting_jobs = true;
  std::string state_message;  // the printer's own words ("Out of paper"); may be empty
  std::string state_reasons;  // IPP keywords, comma-separated ("media-empty-error"); "none" when fine
};

// What the job carries besides the document. Empty texts leave the printer's defaults.
struct PrintJobOptions {
  std::string printer;  // empty: the default destination
  std::string job_name;
  std::string media;  // IPP media name, from MediaForPage
  int copies = 1;
  std::string sides;        // "one-sided", "two-sided-long-edge", "two-sided-short-edge"
  std::string page_ranges;  // "1-3,5", checked by ParsePageRanges
};

struct PrintJob {
  std::string printer;
  int32_t id = 0;
};

enum class JobState { kPending, kHeld, kProcessing, kStopped, kCanceled, kAborted, kCompleted };

struct JobStatus {
  JobState state = JobState::kPending;
  std::string reasons;  // job-state-reasons, comma-separated
  std::string message;  // the printer's last message about the job; may be empty
};

// The server libcups talks to, as "host:port" or a socket path: what error messages name.
std::string PrintServerName();

// Every printer of the server, in the server's order, with the default marked. Throws PrintError when no
// server answers.
std::vector<PrintDestination> ListPrintDestinations();

struct PrintConnection;  // cups_printer.cc

// One job whose one PDF document is sent while it is still being written. Every call may come from any
// thread, one at a time (they are serialized here). Bytes written before Open wait in memory; a stream
// dropped without Finish cancels its job and purges it, so a failed run leaves nothing queued.
class PrintJobStream {
 public:
  // Checks the destination (throws PrintError as SubmitPdf does) without queueing anything yet.
  explicit PrintJobStream(PrintJobOptions options);
  ~PrintJobStream();
  PrintJobStream(const PrintJobStream&) = delete;
  PrintJobStream& operator=(const PrintJobStream&) = delete;

  // Creates the job with the options as they are then (the media may be set until now) and sends what was
  // written so far. Does nothing the second time.
  void Open(const std::string& media);
  void Write(std::string_view bytes);
  // Opens the job if it is not yet, sends the rest and ends the document: the job is then in the spool.
  PrintJob Finish();

  // The first failure of Open or Write, kept for whoever runs the writer: a writer's own error handling
  // may wrap it.
  std::exception_ptr failure() const;

 private:
  void OpenLocked(const std::string& media);
  void Send(std::string_view bytes);
  void Flush();

  mutable std::mutex mutex_;
  PrintJobOptions options_;
  std::unique_ptr<PrintConnection> connection_;
  PrintJob job_;
  std::string pending_;  // bytes not sent yet: before Open, and a piece at a time after
  bool is_open_ = false, is_finished_ = false;
  std::exception_ptr failure_;
};

// Submits pdf as one job, sized with print-scaling=none so the printer places every page where the document
// does. Throws PrintError, before anything is queued, for an unknown printer (listing the known ones), a
// stopped printer or one that rejects jobs; a job whose document cannot be sent is cancelled, not left
// behind.
PrintJob SubmitPdf(std::string_view pdf, const PrintJobOptions& options);

// The job's state now.
JobStatus QueryJob(const PrintJob& job);
// Polls until the job ends. Returns when it completed; throws PrintError with CUPS's reason when it was
// aborted, cancelled or stopped.
void WaitForJob(const PrintJob& job);

// "pending", "held", "processing", "stopped", "canceled", "aborted", "completed".
std::string_view JobStateName(JobState state);

// The IPP media name of a page of width x height twips, landscape or portrait: "na_letter_8.5x11in",
// "iso_a4_210x297mm", or a custom size ("custom_4x6in_4x6in") for stock no standard size matches.
std::string MediaForPage(int32_t width_twips, int32_t height_twips);

// "1-3,5" as inclusive 1-based ranges. Throws PrintError naming the text when it is not a comma-separated
// list of N or N-M with 1 <= N <= M.
std::vector<std::pair<int, int>> ParsePageRanges(std::string_view text);

}  // namespace vob::render
