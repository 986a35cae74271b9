// Temporary-then-rename output files.
// The temporary is created with mkstemp in the target's own folder so that the final rename cannot cross
// devices. Live temporaries are also listed where a signal handler can reach them without locks or
// allocation.
#include "platform/render/output_file.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/render/render_error.h"

namespace vob::render {

// One temporary's path. Entries are never freed: one whose file is gone is reused by a later temporary, so
// the list only grows to the most temporaries ever open at once, and the handler may walk it at any moment.
struct PendingPath {
  enum State { kFree, kClaimed, kLive };
  std::atomic<int> state{kClaimed};
  PendingPath* next = nullptr;
  size_t capacity = 0;
  char* path = nullptr;
};

namespace {

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<PendingPath*>::is_always_lock_free);

std::atomic<PendingPath*> pending_paths{nullptr};

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Holds stop signals back on this thread for its lifetime; they arrive when it ends.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal_number : kStopSignals) sigaddset(&stops, signal_number);
    pthread_sigmask(SIG_BLOCK, &stops, &previous_);
  }
  ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

PendingPath* AddPendingPath(const std::string& path) {
  PendingPath* entry = pending_paths.load(std::memory_order_acquire);
  for (; entry != nullptr; entry = entry->next) {
    int free = PendingPath::kFree;
    if (entry->capacity > path.size() && entry->state.compare_exchange_strong(free, PendingPath::kClaimed))
      break;
  }
  if (entry == nullptr) {
    entry = new PendingPath;
    entry->capacity = std::max<size_t>(path.size() + 1, 256);
    entry->path = new char[entry->capacity];
    entry->next = pending_paths.load(std::memory_order_relaxed);
    while (!pending_paths.compare_exchange_weak(entry->next, entry, std::memory_order_release)) {
    }
  }
  std::memcpy(entry->path, path.c_str(), path.size() + 1);
  entry->state.store(PendingPath::kLive, std::memory_order_release);
  return entry;
}

void DropPendingPath(PendingPath* entry) {
  if (entry != nullptr) entry->state.store(PendingPath::kFree, std::memory_order_release);
}

// Only async-signal-safe calls: unlink, sigaction's reset (SA_RESETHAND) and raise.
void RemoveTemporariesAndStop(int signal_number) {
  const int saved = errno;
  for (PendingPath* entry = pending_paths.load(std::memory_order_acquire); entry != nullptr;
       entry = entry->next) {
    if (entry->state.load(std::memory_order_acquire) == PendingPath::kLive) unlink(entry->path);
  }
  errno = saved;
  raise(signal_number);  // delivered with the default action as soon as this handler returns
}

}  // namespace

void RemoveTemporariesOnStop() {
  for (int signal_number : kStopSignals) {
    struct sigaction current {};
    // A signal the caller's parent chose to ignore (as shells do for background jobs) stays ignored.
    if (sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
  }
}

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
  std::vector<char> name(target_.begin(), target_.end());
  for (char c : std::string_view(".XXXXXX")) name.push_back(c);
  name.push_back('\0');
  int descriptor = -1;
  {
    const StopSignalsHeld held;  // a stop between creating and listing the file would leave it behind
    descriptor = mkstemp(name.data());
    if (descriptor < 0) Fail("cannot create a temporary file for");
    temporary_ = name.data();
    pending_ = AddPendingPath(temporary_);
  }
  // mkstemp makes the file private; the finished output is an ordinary readable file.
  fchmod(descriptor, 0644);
  file_ = fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    int saved = errno;
    close(descriptor);
    std::remove(temporary_.c_str());
    DropPendingPath(pending_);
    errno = saved;
    Fail("cannot open a temporary file for");
  }
  // Large writes go straight through; small ones are gathered.
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

OutputFile::OutputFile(std::string* bytes, std::string name)
    : target_(std::move(name)), is_in_memory_(true), memory_target_(bytes) {}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      is_in_memory_(other.is_in_memory_),
      memory_target_(std::exchange(other.memory_target_, nullptr)),
      memory_(std::move(other.memory_)),
      file_(std::exchange(other.file_, nullptr)),
      is_committed_(std::exchange(other.is_committed_, true)),
      pending_(std::exchange(other.pending_, nullptr)) {}

OutputFile::~OutputFile() {
  if (file_ != nullptr) std::fclose(file_);
  if (!is_committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
  DropPendingPath(pending_);  // after the remove or rename: a stop in between finds nothing to delete
}

void OutputFile::Write(const void* data, size_t size) {
  if (is_in_memory_) {
    if (memory_target_ != nullptr) memory_.append(static_cast<const char*>(data), size);
    return;
  }
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) Fail("cannot write");
}

void OutputFile::Commit() {
  if (is_in_memory_) {
    if (memory_target_ != nullptr) *memory_target_ = std::move(memory_);
    is_committed_ = true;
    return;
  }
  std::FILE* file = std::exchange(file_, nullptr);
  if (std::fclose(file) != 0) Fail("cannot write");
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot rename the temporary file onto");
  is_committed_ = true;
  DropPendingPath(std::exchange(pending_, nullptr));
}

void OutputFile::Fail(const char* what) const {
  throw RenderError(std::string(what) + " " + target_ + ": " + std::strerror(errno));
}

}  // namespace vob::render
