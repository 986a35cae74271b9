// The viewer's runs: each starts on a thread of its own with its own settings, and its finished page model is
// kept for later requests within a memory bound, the oldest finished runs dropped first.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <set>

#include "cli/run_options.h"
#include "cli/viewer/kept_run.h"

namespace vob::cli::viewer {

// Makes the report object a run asks for on the run's own thread; PrepareReport unless a test or benchmark
// brings reports of its own.
using ReportPreparer = std::function<engine::ReportHandle(const RunOptions& options, rptManager& manager)>;

class RunStore {
 public:
  RunStore(size_t memory_limit_bytes, ReportPreparer prepare = PrepareReport);
  // Cancels the runs still going and waits for their threads.
  ~RunStore();
  RunStore(const RunStore&) = delete;
  RunStore& operator=(const RunStore&) = delete;

  // Starts the run and returns it at once; its pages arrive while it goes on.
  std::shared_ptr<KeptRun> Start(RunOptions options);
  // The run with that id; null when there is none, or no longer (see WasDropped).
  std::shared_ptr<KeptRun> Find(int id) const;
  // True when the run was dropped to stay within the memory bound.
  bool WasDropped(int id) const;
  // Stops the run (at its next page) and forgets it, kept pages and all; false when there is no such run.
  bool Cancel(int id);

  int runs_started() const;
  size_t kept_bytes() const;

 private:
  void RunOnThread(const std::shared_ptr<KeptRun>& run);
  void DropOldestWhileOverBound();  // REQUIRES: mutex_ held

  const size_t memory_limit_bytes_;
  const ReportPreparer prepare_;
  mutable std::mutex mutex_;
  std::list<std::shared_ptr<KeptRun>> runs_;  // oldest first
  std::set<int> dropped_;
  std::condition_variable all_ended_;
  int running_threads_ = 0;  // run threads are detached, so that a long-lived server keeps no ended ones
  int next_id_ = 1;
};

}  // namespace vob::cli::viewer
