// Lookups in Terms and libMessages, the default check style, and the shared connection.
#include "common/lookups.h"

#include "platform/data/connection.h"
#include "platform/vb/conversions.h"
#include "platform/vb/resume_next.h"
#include "settings/report_settings.h"

namespace vob {
namespace {

constexpr int kTimeoutSeconds = 30;

// Opens a private connection (errors propagate), then reads one text column of the first row with errors
// ignored, as the lookups have always done: a broken query reads as "".
std::string LookUpText(const std::string& sql, const char* column) {
  data::Connection connection;
  connection.set_mode(0);
  connection.set_connection_string(Settings().ConnString);
  connection.set_connection_timeout(kTimeoutSeconds);
  connection.Open("", "");

  std::string result;
  data::Recordset recordset;
  bool at_end = true;
  vb::ResumeNext(
      [&] { recordset.Open(sql, connection, data::CursorType::kForwardOnly, data::LockType::kReadOnly); },
      [&] { at_end = recordset.eof(); });
  if (at_end) {
    vb::ResumeNext([&] { recordset.Close(); });
    return "";
  }
  vb::ResumeNext(
      [&] {
        const vb::Variant& value = recordset.Fields(column);
        if (!vb::IsNull(value)) result = vb::CStr(value);
      },
      [&] { recordset.Close(); }, [&] { connection.Close(); });
  return result;
}

}  // namespace

std::string GetTermsDescription(std::string code) {
  if (code.empty()) return "";
  return LookUpText("Select Description from Terms where TermCode = '" + code + "'", "Description");
}

std::string GetMessageText(int32_t n) {
  if (n == 0) return "";
  return LookUpText("Select MessageText from libMessages where MessageNo = " + std::to_string(n),
                    "MessageText");
}

std::unique_ptr<data::Recordset> GetDefaultCheckStyle() {
  auto recordset = std::make_unique<data::Recordset>();
  recordset->Open("Select * from libChecks where Default = true", Settings().ConnString,
                  data::CursorType::kForwardOnly, data::LockType::kReadOnly);
  return recordset;
}

void OpenSharedConnection() {
  ReportSettings& settings = Settings();
  if (!settings.SharedConnection) settings.SharedConnection = std::make_unique<data::Connection>();
  data::Connection& connection = *settings.SharedConnection;
  if (connection.State() == data::kStateOpen) connection.Close();
  connection.set_command_timeout(kTimeoutSeconds);
  connection.set_mode(0);
  // A host's string may lack its final ";" (or be a bare file path); the appended pair must not run into it.
  const bool needs_separator = !settings.ConnString.empty() && settings.ConnString.back() != ';';
  connection.set_connection_string(settings.ConnString + (needs_separator ? ";" : "") +
                                   "Persist Security Info=False;");
  connection.set_connection_timeout(kTimeoutSeconds);
  connection.Open("", "");
}

}  // namespace vob
