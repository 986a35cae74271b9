// The exported C functions of libVOBADOReports2.so: create the manager, call its members, release objects.
// Every exception stops at this boundary and becomes a result code plus the thread's last error text.
#include "manager/c_api/vob_c_api.h"

#include <memory>
#include <string>
#include <utility>

#include "manager/rpt_manager.h"
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"

#define VOB_EXPORT extern "C" __attribute__((visibility("default")))

struct vob_object {
  std::unique_ptr<vob::rptManager> manager;
  vob::engine::ReportHandle report;
};

namespace {

thread_local std::string last_error;

template <typename Call>
vob_result Guarded(Call&& call) {
  last_error.clear();
  try {
    std::forward<Call>(call)();
    return VOB_OK;
  } catch (const vob::vb::Error& error) {
    last_error = error.what();
    return static_cast<vob_result>(0x800A0000u | static_cast<uint32_t>(error.number()));
  } catch (const std::exception& error) {
    last_error = error.what();
    return VOB_E_FAIL;
  }
}

template <typename Member>
vob_result CallManager(vob_object* object, Member&& member) {
  if (object == nullptr) return VOB_E_POINTER;
  if (!object->manager) return VOB_E_NOINTERFACE;
  return Guarded([&] { member(*object->manager); });
}

std::string Text(const char* text) {
  return text == nullptr ? std::string() : std::string(text);
}

}  // namespace

VOB_EXPORT const char* vob_server_info(const char* name) {
  static const std::pair<std::string_view, std::string_view> kInfo[] = {
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

VOB_EXPORT vob_result vob_create_object(const char* progid_or_clsid, vob_object** object) {
  if (object == nullptr) return VOB_E_POINTER;
  *object = nullptr;
  const std::string id = vob::vb::UCase(Text(progid_or_clsid));
  if (id != vob::vb::UCase(vob::kManagerProgId) && id != vob::vb::UCase(vob::kManagerClassId)) {
    last_error = "class not registered: " + Text(progid_or_clsid);
    return VOB_E_CLASSNOTREG;
  }
  return Guarded([&] { *object = new vob_object{std::make_unique<vob::rptManager>(), nullptr}; });
}

VOB_EXPORT void vob_release(vob_object* object) {
  delete object;
}

VOB_EXPORT const char* vob_last_error(void) {
  return last_error.c_str();
}

VOB_EXPORT vob_result vob_manager_get_report(vob_object* manager, const char* repname, vob_object** report) {
  if (report == nullptr) return VOB_E_POINTER;
  *report = nullptr;
  return CallManager(manager, [&](vob::rptManager& m) {
    if (auto created = m.GetReport(Text(repname))) *report = new vob_object{nullptr, std::move(created)};
  });
}

VOB_EXPORT vob_result vob_manager_reset(vob_object* manager) {
  return CallManager(manager, [](vob::rptManager& m) { m.reset(); });
}

VOB_EXPORT vob_result vob_manager_set_data_source(vob_object* manager, const char* db_con_str) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetDataSource(Text(db_con_str)); });
}

VOB_EXPORT vob_result vob_manager_set_date_format(vob_object* manager, const char* vdata) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetDateFormat(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_currency_format(vob_object* manager, const char* vdata) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetCurrencyFormat(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_drill_down_params(vob_object* manager, const char* vdata) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetDrillDownParams(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_logo_props(vob_object* manager, int16_t vnewval, const char* b_file,
                                                 float b_wid, float b_ht) {
  return CallManager(manager,
                     [&](vob::rptManager& m) { m.SetLogoProps(vnewval, Text(b_file), b_wid, b_ht); });
}

VOB_EXPORT vob_result vob_manager_set_price_fmt(vob_object* manager, const char* vdata) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetPriceFmt(Text(vdata)); });
}

VOB_EXPORT vob_result vob_manager_set_rept_param(vob_object* manager, int16_t i, const char* param_string) {
  return CallManager(manager, [&](vob::rptManager& m) { m.SetReptParam(i, Text(param_string)); });
}

VOB_EXPORT vob_result vob_manager_set_title(vob_object* manager, const char* value) {
  return CallManager(manager, [&](vob::rptManager& m) { m.Title(Text(value)); });
}
