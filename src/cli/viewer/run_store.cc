// Run threads and the memory bound. A run's thread owns its rptManager, so its settings are its own; the
// bound, counting running runs too, is checked as a run grows and when it ends, and a running run is never
// dropped.
#include "cli/viewer/run_store.h"

#include <algorithm>
#include <exception>
#include <thread>

#include "platform/engine/run.h"
#include "platform/render/font_service.h"
#include "platform/vb/conversions.h"

namespace vob::cli::viewer {

RunStore::RunStore(size_t memory_limit_bytes, ReportPreparer prepare)
    : memory_limit_bytes_(memory_limit_bytes), prepare_(std::move(prepare)) {}

RunStore::~RunStore() {
  std::unique_lock lock(mutex_);
  for (const auto& run : runs_) run->Cancel();
  all_ended_.wait(lock, [this] { return running_threads_ == 0; });
}

std::shared_ptr<KeptRun> RunStore::Start(RunOptions options) {
  std::lock_guard lock(mutex_);
  auto run = std::make_shared<KeptRun>(next_id_++, std::move(options));
  run->set_on_growth([this] {
    std::lock_guard lock(mutex_);
    DropOldestWhileOverBound();
  });
  runs_.push_back(run);
  ++running_threads_;
  std::thread([this, run] { RunOnThread(run); }).detach();
  return run;
}

void RunStore::RunOnThread(const std::shared_ptr<KeptRun>& run) {
  try {
    rptManager manager;
    engine::ReportHandle report = prepare_(run->options(), manager);
    render::FontService fonts;
    const std::string key = vb::LCase(run->options().key);
    engine::Run(*report,
                {fonts, *run, key, run->options().has_title ? run->options().title : DefaultTitle(key)},
                run->records());
  } catch (const std::exception& error) {
    run->Fail(error.what());
  }
  std::lock_guard lock(mutex_);
  if (run->is_cancel_asked()) {
    runs_.remove(run);
  } else {
    DropOldestWhileOverBound();
  }
  // The last touch of the store: the destructor may go on once the count reaches 0 and the lock is free.
  if (--running_threads_ == 0) all_ended_.notify_all();
}

void RunStore::DropOldestWhileOverBound() {
  size_t total = 0;
  for (const auto& run : runs_) total += run->bytes();
  for (auto it = runs_.begin(); total > memory_limit_bytes_ && it != runs_.end() && runs_.size() > 1;) {
    if ((*it)->state() == RunState::kRunning || std::next(it) == runs_.end()) {
      ++it;
      continue;
    }
    total -= (*it)->bytes();
    dropped_.insert((*it)->id());
    it = runs_.erase(it);
  }
}

std::shared_ptr<KeptRun> RunStore::Find(int id) const {
  std::lock_guard lock(mutex_);
  for (const auto& run : runs_) {
    if (run->id() == id) return run;
  }
  return nullptr;
}

bool RunStore::WasDropped(int id) const {
  std::lock_guard lock(mutex_);
  return dropped_.contains(id);
}

bool RunStore::Cancel(int id) {
  std::lock_guard lock(mutex_);
  for (auto it = runs_.begin(); it != runs_.end(); ++it) {
    if ((*it)->id() != id) continue;
    (*it)->Cancel();
    if ((*it)->state() != RunState::kRunning) runs_.erase(it);  // a running one goes when its thread ends
    return true;
  }
  return false;
}

int RunStore::runs_started() const {
  std::lock_guard lock(mutex_);
  return next_id_ - 1;
}

size_t RunStore::kept_bytes() const {
  std::lock_guard lock(mutex_);
  size_t total = 0;
  for (const auto& run : runs_) total += run->bytes();
  return total;
}

}  // namespace vob::cli::viewer
