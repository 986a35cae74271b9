// The exported C functions of libVOBADOReports2.so: create the manager, call its members, run reports.
// Nothing may unwind into a C host: every function catches everything, std::bad_alloc included.
#include "manager/c_api/vob_c_api.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "manager/c_api/handle_table.h"
#include "manager/report_output.h"
#include "manager/report_print.h"
#include "manager/rpt_manager.h"
#include "platform/data/sql_error.h"
#include "platform/engine/engine_error.h"
#include "platform/render/render_error.h"
#include "platform/vb/classic_locale.h"
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "settings/report_settings.h"

#define VOB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// What a handle stands for: a manager or a report object.
struct HostObject {
  std::unique_ptr<vob::rptManager> manager;  // set for a manager
  vob::engine::ReportHandle report;          // set for a report
  std::string report_key;                    // the lower-cased key the report was asked for by
  std::optional<int> page_count;             // of the last run, when it succeeded
  vob_progress_fn progress = nullptr;
  void* progress_data = nullptr;
  std::atomic<bool> is_running{false};
  std::atomic<bool> cancel_requested{false};
};

// The host sees at most this much of a text it passed in, echoed in a message.
constexpr size_t kEchoBytes = 64;
// A message longer than this (an SQL text holding a huge parameter) is cut.
constexpr size_t kMessageBytes = 16384;

thread_local std::string last_error;
// Set instead of last_error when even the message could not be stored.
thread_local const char* last_error_fallback = nullptr;

// The length of the valid UTF-8 sequence at the start of text, or 0 (overlong forms, surrogates and code
// points above U+10FFFF are invalid).
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// text as valid UTF-8, each invalid byte shown as U+FFFD, cut after about max_bytes with "...".
std::string ValidUtf8(std::string_view text, size_t max_bytes) {
  std::string out;
  out.reserve(std::min(text.size(), max_bytes) + 8);
  size_t at = 0;
  while (at < text.size()) {
    if (out.size() >= max_bytes) {
      out += "...";
      break;
    }
    const size_t length = Utf8SequenceLength(text.substr(at));
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++at;
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  return out;
}

// A host's text quoted in a message: "VOBADOReports2.x", or its first bytes and its size when it is long.
std::string Echo(const char* text) {
  if (text == nullptr) return "NULL";
  const std::string_view whole(text);
  std::string echo = "\"" + ValidUtf8(whole, kEchoBytes) + "\"";
  if (whole.size() > kEchoBytes) echo += " (" + std::to_string(whole.size()) + " bytes)";
  return echo;
}

vob_result Succeed() noexcept {
  last_error.clear();
  last_error_fallback = nullptr;
  return VOB_OK;
}

vob_result Fail(vob_result code, std::string_view message) noexcept {
  try {
    last_error = ValidUtf8(message, kMessageBytes);
    last_error_fallback = nullptr;
  } catch (...) {
    last_error.clear();
    last_error_fallback = "out of memory (the message of the failure could not be kept)";
  }
  return code;
}

// Fails with "function: " and the pieces; the pieces are joined here, where a failed allocation is caught.
template <typename... Pieces>
vob_result FailIn(const char* function, vob_result code, const Pieces&... pieces) noexcept {
  try {
    std::string message = std::string(function) + ": ";
    (message.append(std::string_view(pieces)), ...);
    return Fail(code, message);
  } catch (...) {
    return Fail(code, function);
  }
}

vob_result ClassicError(int number) {
  return static_cast<vob_result>(0x800A0000u | static_cast<uint32_t>(number));
}

vob::HandleTable<HostObject>& Handles() {
  static auto* handles = new vob::HandleTable<HostObject>;  // never destroyed: hosts may release at exit
  return *handles;
}

uintptr_t HandleOf(const vob_object* object) {
  return reinterpret_cast<uintptr_t>(object);
}

vob_object* NewObject(std::shared_ptr<HostObject> object) {
  return reinterpret_cast<vob_object*>(Handles().Add(std::move(object)));
}

// The result a failure of a run (or a setter) stands for: the classic error number when it has one, else
// the kind of its cause.
vob_result ResultOfCause(const std::exception_ptr& cause) noexcept {
  try {
    std::rethrow_exception(cause);
  } catch (const vob::engine::RunCancelled&) {
    return VOB_E_CANCELLED;
  } catch (const vob::data::OpenError&) {
    return VOB_E_DATABASE;
  } catch (const vob::data::SqlError&) {
    return VOB_E_SQL;
  } catch (const vob::render::RenderError&) {
    return VOB_E_OUTPUT;
  } catch (const vob::render::PrintError&) {
    return VOB_E_OUTPUT;
  } catch (const std::bad_alloc&) {
    return VOB_E_OUTOFMEMORY;
  } catch (...) {
    return VOB_E_FAIL;
  }
}

// Runs call and turns whatever it throws into a result code and the thread's last error.
template <typename Call>
vob_result Guarded(const char* function, Call&& call) noexcept {
  try {
    // Numbers are read and written the same under any locale the host set (a GTK or Qt host sets the
    // user's); only this thread's, only for the call.
    const vob::vb::ClassicLocaleScope classic;
    std::forward<Call>(call)();
    return Succeed();
  } catch (const vob::vb::Error& error) {
    return Fail(ClassicError(error.number()), error.what());
  } catch (const vob::engine::RunError& error) {
    if (error.number() != 0) return Fail(ClassicError(error.number()), error.what());
    return Fail(error.cause() ? ResultOfCause(error.cause()) : VOB_E_FAIL, error.what());
  } catch (const std::bad_alloc&) {
    return FailIn(function, VOB_E_OUTOFMEMORY, "out of memory");
  } catch (const std::exception& error) {
    return Fail(ResultOfCause(std::current_exception()), error.what());
  } catch (...) {
    return FailIn(function, VOB_E_FAIL, "unknown exception");
  }
}

// The checks every member call makes before it runs: a live object of the right kind. Sets result and
// returns null when the check fails.
std::shared_ptr<HostObject> CheckObject(const char* function, const vob_object* object, bool wants_manager,
                                        vob_result& result) noexcept {
  const char* const kind = wants_manager ? "manager" : "report";
  if (object == nullptr) {
    result = FailIn(function, VOB_E_POINTER, kind, " is NULL");
    return nullptr;
  }
  std::shared_ptr<HostObject> live;
  try {
    live = Handles().Find(HandleOf(object));
  } catch (...) {  // the lock itself failed
    result = FailIn(function, VOB_E_FAIL, "cannot look the ", kind, " up");
    return nullptr;
  }
  if (live == nullptr) {
    result =
        FailIn(function, VOB_E_MISUSE, kind, " is not a live object of this library (released already?)");
    return nullptr;
  }
  if (wants_manager != (live->manager != nullptr)) {
    result = FailIn(function, VOB_E_NOINTERFACE, "the object is a ", wants_manager ? "report" : "manager",
                    ", not a ", kind);
    return nullptr;
  }
  result = VOB_OK;
  return live;
}

template <typename Member>
vob_result CallManager(const char* function, vob_object* object, Member&& member) noexcept {
  vob_result checked = VOB_OK;
  const std::shared_ptr<HostObject> live = CheckObject(function, object, true, checked);
  if (live == nullptr) return checked;
  return Guarded(function, [&] { member(*live->manager); });
}

std::string Text(const char* text) {
  return text == nullptr ? std::string() : std::string(text);
}

// Marks a report as running for the lifetime of a run; a second run at the same time is the host's misuse.
class RunningMark {
 public:
  explicit RunningMark(HostObject& report) : report_(report) {
    is_held_ = !report_.is_running.exchange(true);
    if (is_held_) report_.cancel_requested.store(false);
  }
  ~RunningMark() {
    if (is_held_) {
      report_.cancel_requested.store(false);
      report_.is_running.store(false);
    }
  }
  RunningMark(const RunningMark&) = delete;
  RunningMark& operator=(const RunningMark&) = delete;
  bool is_held() const { return is_held_; }

 private:
  HostObject& report_;
  bool is_held_ = false;
};

// Runs a report object with the calling thread's settings into whatever output does with it.
template <typename Output>
vob_result RunReport(const char* function, vob_object* object, Output&& output) noexcept {
  vob_result checked = VOB_OK;
  const std::shared_ptr<HostObject> live = CheckObject(function, object, false, checked);
  if (live == nullptr) return checked;
  const RunningMark running(*live);
  if (!running.is_held()) {
    return FailIn(function, VOB_E_MISUSE, "report \"", live->report_key, "\" is running already");
  }
  return Guarded(function, [&] {
    live->page_count.reset();
    vob::ReportOutputOptions options;
    options.report_key = live->report_key;
    options.title = vob::Settings().ReportTitle;
    options.stamps_creation_time = vob::Settings().RunClock.has_value();
    options.cancel_requested = &live->cancel_requested;
    if (live->progress != nullptr) {
      options.progress = [&live](int pages_done, bool) { live->progress(live->progress_data, pages_done); };
    }
    live->page_count = output(*live->report, options);
  });
}

}  // namespace

VOB_EXPORT const char* vob_version(void) noexcept {
  return VOB_VERSION;
}

VOB_EXPORT const char* vob_server_info(const char* name) noexcept {
  static constexpr std::pair<std::string_view, std::string_view> kInfo[] = {
      {"ProgID", vob::kManagerProgId},
      {"CLSID", vob::kManagerClassId},
      {"IID", vob::kManagerInterfaceId},
      {"LIBID", vob::kTypeLibraryId},
      {"HelpString", vob::kTypeLibraryHelp},
      {"FileName", vob::kLibraryFile},
      {"FileDescription", vob::kFileDescription},
      {"ProductDescription", vob::kFileDescription},
  };
  for (const auto& [key, value] : kInfo) {
    if (name != nullptr && key == name) return value.data();
  }
  return nullptr;
}

VOB_EXPORT vob_result vob_create_object(const char* progid_or_clsid, vob_object** object) noexcept {
  if (object == nullptr) return FailIn(__func__, VOB_E_POINTER, "object is NULL");
  *object = nullptr;
  bool is_registered = false;
  const vob_result result = Guarded(__func__, [&] {
    const std::string id = vob::vb::UCase(Text(progid_or_clsid));
    is_registered = id == vob::vb::UCase(vob::kManagerProgId) || id == vob::vb::UCase(vob::kManagerClassId);
    if (is_registered) {
      auto manager = std::make_shared<HostObject>();
      manager->manager = std::make_unique<vob::rptManager>();
      *object = NewObject(std::move(manager));
    }
  });
  if (result != VOB_OK || is_registered) return result;
  try {
    return Fail(VOB_E_CLASSNOTREG, "class not registered: " + Echo(progid_or_clsid));
  } catch (...) {
    return Fail(VOB_E_CLASSNOTREG, "class not registered");
  }
}

VOB_EXPORT vob_result vob_release_checked(vob_object* object) noexcept {
  if (object == nullptr) return Succeed();
  std::shared_ptr<HostObject> released;
  try {
    released = Handles().Remove(HandleOf(object));
  } catch (...) {
    return FailIn(__func__, VOB_E_FAIL, "cannot look the object up");
  }
  if (released == nullptr) {
    return FailIn(__func__, VOB_E_MISUSE,
                  "the object is not a live object of this library (released already?)");
  }
  released.reset();  // frees it here, unless a run on another thread still holds it
  return Succeed();
}

VOB_EXPORT void vob_release(vob_object* object) noexcept {
  vob_release_checked(object);
}

VOB_EXPORT const char* vob_last_error(void) noexcept {
  return last_error_fallback != nullptr ? last_error_fallback : last_error.c_str();
}

VOB_EXPORT vob_result vob_manager_get_report(vob_object* manager, const char* repname,
                                             vob_object** report) noexcept {
  if (report == nullptr) return FailIn(__func__, VOB_E_POINTER, "report is NULL");
  *report = nullptr;
  bool is_known = true;
  const vob_result result = CallManager(__func__, manager, [&](vob::rptManager& m) {
    std::string key = Text(repname);
    if (auto created = m.GetReport(key)) {
      auto object = std::make_shared<HostObject>();
      object->report = std::move(created);
      object->report_key = vob::vb::LCase(key);
      *report = NewObject(std::move(object));
    } else {
      is_known = false;
    }
  });
  if (result == VOB_OK && !is_known) {
    // Still a success, as the manager's GetReport has it, but the host learns why there is no report.
    FailIn(__func__, VOB_OK, "no report has the key ", Echo(repname), " (see `vobreports keys`)");
  }
  return result;
}

VOB_EXPORT vob_result vob_manager_reset(vob_object* manager) noexcept {
  return CallManager(__func__, manager, [](vob::rptManager& m) { m.reset(); });
}

VOB_EXPORT vob_result vob_manager_set_data_source(vob_object* manager, const char* db_con_str) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetDataSource(Text(db_con_str)); });
}

VOB_EXPORT vob_result vob_manager_set_date_format(vob_object* manager, const char* vdata) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetDateFormat(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_currency_format(vob_object* manager, const char* vdata) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetCurrencyFormat(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_drill_down_params(vob_object* manager, const char* vdata) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetDrillDownParams(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_logo_props(vob_object* manager, int16_t vnewval, const char* b_file,
                                                 float b_wid, float b_ht) noexcept {
  return CallManager(__func__, manager,
                     [&](vob::rptManager& m) { m.SetLogoProps(vnewval, Text(b_file), b_wid, b_ht); });
}

VOB_EXPORT vob_result vob_manager_set_price_fmt(vob_object* manager, const char* vdata) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetPriceFmt(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_rept_param(vob_object* manager, int16_t i,
                                                 const char* param_string) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetReptParam(i, Text(param_string)); });
}

VOB_EXPORT vob_result vob_manager_set_title(vob_object* manager, const char* value) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.Title(Text(value)); });
}

VOB_EXPORT vob_result vob_manager_set_now(vob_object* manager, const char* date_time) noexcept {
  return CallManager(__func__, manager, [&](vob::rptManager& m) { m.SetNow(Text(date_time)); });
}

VOB_EXPORT vob_result vob_report_set_progress(vob_object* report, vob_progress_fn fn,
                                              void* user_data) noexcept {
  vob_result checked = VOB_OK;
  const std::shared_ptr<HostObject> live = CheckObject(__func__, report, false, checked);
  if (live == nullptr) return checked;
  if (live->is_running.load()) {
    return FailIn(__func__, VOB_E_MISUSE, "report \"", live->report_key, "\" is running");
  }
  live->progress = fn;
  live->progress_data = user_data;
  return Succeed();
}

VOB_EXPORT vob_result vob_report_cancel(vob_object* report) noexcept {
  vob_result checked = VOB_OK;
  const std::shared_ptr<HostObject> live = CheckObject(__func__, report, false, checked);
  if (live == nullptr) return checked;
  if (live->is_running.load()) live->cancel_requested.store(true);
  return Succeed();
}

VOB_EXPORT vob_result vob_report_run_to_file(vob_object* report, const char* path) noexcept {
  if (path == nullptr) return FailIn(__func__, VOB_E_POINTER, "path is NULL");
  return RunReport(__func__, report,
                   [&](vob::engine::ActiveReport& active, const vob::ReportOutputOptions& options) {
                     return vob::RunReportToPath(active, path, options);
                   });
}

VOB_EXPORT vob_result vob_report_run_to_pdf_bytes(vob_object* report, unsigned char** bytes,
                                                  size_t* size) noexcept {
  if (bytes != nullptr) *bytes = nullptr;
  if (size != nullptr) *size = 0;
  if (bytes == nullptr || size == nullptr) {
    return FailIn(__func__, VOB_E_POINTER, bytes == nullptr ? "bytes is NULL" : "size is NULL");
  }
  unsigned char* copy = nullptr;
  size_t copy_size = 0;
  const vob_result result = RunReport(
      __func__, report, [&](vob::engine::ActiveReport& active, const vob::ReportOutputOptions& options) {
        const vob::PdfDocument document = vob::RunReportToPdf(active, options);
        // malloc, not new: the host hands the bytes back through a C call and may outlive any
        // C++ runtime state.
        copy = static_cast<unsigned char*>(std::malloc(document.bytes.size()));
        if (copy == nullptr) throw std::bad_alloc();
        std::memcpy(copy, document.bytes.data(), document.bytes.size());
        copy_size = document.bytes.size();
        return document.page_count;
      });
  if (result == VOB_OK) {
    *bytes = copy;
    *size = copy_size;
  } else {
    std::free(copy);
  }
  return result;
}

VOB_EXPORT void vob_free_bytes(unsigned char* bytes) noexcept {
  std::free(bytes);
}

VOB_EXPORT vob_result vob_report_page_count(vob_object* report, int32_t* page_count) noexcept {
  if (page_count == nullptr) return FailIn(__func__, VOB_E_POINTER, "page_count is NULL");
  *page_count = 0;
  vob_result checked = VOB_OK;
  const std::shared_ptr<HostObject> live = CheckObject(__func__, report, false, checked);
  if (live == nullptr) return checked;
  if (!live->page_count) {
    return FailIn(__func__, VOB_E_FAIL, "report \"", live->report_key, "\" has no finished run");
  }
  *page_count = *live->page_count;
  return Succeed();
}

// Printing through CUPS.

VOB_EXPORT vob_result vob_report_print(vob_object* report, const char* printer, const char* options,
                                       int32_t* job_id) noexcept {
  if (job_id == nullptr) return FailIn(__func__, VOB_E_POINTER, "job_id is NULL");
  *job_id = 0;
  std::optional<vob::PrintRequest> request;
  if (const vob_result parsed = Guarded(__func__, [&] { request = vob::ParsePrintOptions(Text(options)); });
      parsed != VOB_OK) {
    if (parsed == VOB_E_OUTOFMEMORY) return parsed;
    const std::string message = vob_last_error();  // Fail rewrites the text it is handed
    return Fail(VOB_E_MISUSE, message);
  }
  if (printer != nullptr && *printer != 0) request->printer = printer;
  const bool waits = request->waits;
  request->waits = false;  // the id comes back even when the wait fails
  std::optional<vob::render::PrintJob> job;
  const vob_result printed = RunReport(
      __func__, report, [&](vob::engine::ActiveReport& active, const vob::ReportOutputOptions& run) {
        const vob::PrintedReport result = vob::PrintReport(active, run, *request);
        job = result.job;
        *job_id = result.job.id;
        return result.page_count;
      });
  if (printed != VOB_OK || !waits) return printed;
  return Guarded(__func__, [&] { vob::render::WaitForJob(*job); });
}
