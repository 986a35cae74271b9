// What both backends share: translation caching (per-row lookups repeat the same text many times; the cache
// is bounded, and a report's statements fit many times over) and reading ahead.
#include "platform/data/backend.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <thread>
#include <utility>

#include "platform/data/connection.h"
#include "platform/vb/classic_locale.h"

namespace vob::data {
namespace {

constexpr size_t kMaxCachedTranslations = 512;

// A cursor reads ahead once it has given this many rows and has been read for the delay (see
// SetReadAheadDelay): most statements (look-ups, a page's header, a group's lines) end sooner and never pay
// for a thread.
constexpr size_t kReadAheadAfter = 512;
std::atomic<int64_t> read_ahead_delay_ms{kReadAheadDelay.count()};
// Rows read under one hold of the session's lock, and batches waiting at most: enough for the caller never to
// wait on a long listing, little enough to hold a statement the caller runs meanwhile back only briefly. A
// full reader is woken once the caller is down to kFewBatches, so that it wakes once for several batches:
// each wake-up takes the core from the caller on a machine of two.
constexpr size_t kBatchRows = 256;
constexpr size_t kMostBatches = 8;
constexpr size_t kFewBatches = 2;

StatementLog& TheStatementLog() {
  static StatementLog log;
  return log;
}

}  // namespace

// Every cursor a session runs: its database work under the session's lock. A long one reads ahead on a thread
// of its own, in batches, while the caller works on the rows it has; the rows and any error come in the
// order the database gave them, so the caller sees what it would have seen reading them itself.
class SessionCursor final : public RowCursor {
 public:
  SessionCursor(std::shared_ptr<Backend> backend, std::unique_ptr<RowCursor> inner)
      : backend_(std::move(backend)), inner_(std::move(inner)) {}
  ~SessionCursor() override {
    if (reader_.joinable()) {
      {
        std::lock_guard lock(mutex_);
        is_stopping_ = true;
      }
      has_room_.notify_one();
      reader_.join();
    }
    std::lock_guard session(backend_->session_mutex_);
    inner_.reset();
  }

  const std::vector<ColumnInfo>& columns() const override { return inner_->columns(); }

  bool Next(std::vector<vb::Variant>& row) override {
    if (!reader_.joinable()) {
      if (is_done_) return false;
      if (rows_given_ == 0) started_ = std::chrono::steady_clock::now();
      if (!IsLongRead()) {
        std::lock_guard session(backend_->session_mutex_);
        is_done_ = !inner_->Next(row);
        ++rows_given_;
        return !is_done_;
      }
      reader_ = std::thread(&SessionCursor::ReadAhead, this);
    }
    if (position_ == current_.count) {
      if (current_.is_last) {
        if (current_.error) std::rethrow_exception(std::exchange(current_.error, nullptr));
        return false;
      }
      std::unique_lock lock(mutex_);
      has_batch_.wait(lock, [&] { return !ready_.empty(); });
      spares_.push_back(std::move(current_));
      current_ = std::move(ready_.front());
      ready_.pop_front();
      position_ = 0;
      const bool wakes_reader = is_reader_waiting_ && MayReaderGoOn();
      lock.unlock();
      if (wakes_reader) has_room_.notify_one();
      return Next(row);
    }
    // The caller's row and the batch's trade places: the reader fills the old one's texts again later.
    row.swap(current_.rows[position_++]);
    return true;
  }

 private:
  struct Batch {
    std::vector<std::vector<vb::Variant>> rows;  // the first count of them read
    size_t count = 0;
    bool is_last = false;
    std::exception_ptr error;  // after the rows, when reading failed
  };

  void ReadAhead() {
    // Values are read as in the "C" locale whatever the host set, as on the caller's thread.
    vb::ClassicLocaleScope classic_locale;
    while (true) {
      Batch batch;
      {
        std::lock_guard lock(mutex_);
        if (!spares_.empty()) {
          batch = std::move(spares_.back());
          spares_.pop_back();
        }
      }
      batch.count = 0;
      {
        std::lock_guard session(backend_->session_mutex_);
        try {
          while (batch.count < kBatchRows) {
            if (batch.count == batch.rows.size()) batch.rows.emplace_back();
            if (!inner_->Next(batch.rows[batch.count])) {
              batch.is_last = true;
              break;
            }
            ++batch.count;
          }
        } catch (...) {
          batch.error = std::current_exception();
          batch.is_last = true;
        }
      }
      const bool is_last = batch.is_last;
      {
        std::unique_lock lock(mutex_);
        if (ready_.size() >= kMostBatches) {
          is_reader_waiting_ = true;
          has_room_.wait(lock, [&] { return MayReaderGoOn(); });
          is_reader_waiting_ = false;
        }
        if (is_stopping_) return;
        ready_.push_back(std::move(batch));
      }
      has_batch_.notify_one();
      if (is_last) return;
    }
  }

  std::shared_ptr<Backend> backend_;
  // Whether to read ahead from here on; the clock is read once a batch.
  bool IsLongRead() const {
    return rows_given_ >= kReadAheadAfter && rows_given_ % kBatchRows == 0 &&
           std::chrono::steady_clock::now() - started_ >=
               std::chrono::milliseconds(read_ahead_delay_ms.load(std::memory_order_relaxed));
  }

  std::unique_ptr<RowCursor> inner_;
  size_t rows_given_ = 0;
  std::chrono::steady_clock::time_point started_;  // at the first row
  bool is_done_ = false;

  // The caller's side of reading ahead.
  Batch current_;
  size_t position_ = 0;

  // Between the reader and the caller.
  std::mutex mutex_;
  std::condition_variable has_batch_, has_room_;
  std::deque<Batch> ready_;
  std::vector<Batch> spares_;
  bool is_stopping_ = false;
  bool is_reader_waiting_ = false;
  // Whether a full reader may go on: the one condition it waits for and is woken by.
  bool MayReaderGoOn() const { return ready_.size() <= kFewBatches || is_stopping_; }
  std::thread reader_;
};

void SetStatementLog(StatementLog log) {
  TheStatementLog() = std::move(log);
}

void SetReadAheadDelay(std::chrono::milliseconds delay) {
  read_ahead_delay_ms.store(delay.count(), std::memory_order_relaxed);
}

std::unique_ptr<RowCursor> Backend::Open(std::string_view jet_sql, int command_timeout_seconds,
                                         std::vector<TableName>* tables) {
  std::lock_guard session(session_mutex_);
  if (const StatementLog& log = TheStatementLog()) log(jet_sql);
  const std::string key(jet_sql);
  auto found = translations_.find(key);
  if (found == translations_.end()) {
    TranslatedStatement statement = TranslateJet(jet_sql, dialect(), catalog());
    if (translations_.size() >= kMaxCachedTranslations) translations_.clear();
    found = translations_.emplace(key, std::move(statement)).first;
  }
  if (tables != nullptr) *tables = found->second.tables;
  return std::make_unique<SessionCursor>(shared_from_this(),
                                         Execute(found->second, jet_sql, command_timeout_seconds));
}

}  // namespace vob::data
