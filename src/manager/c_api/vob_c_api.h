/* C interface of the VOBADOReports2 in-process server, for hosts written in other languages.
   Results are HRESULT-style: 0 success; classic runtime errors come back as 0x800A0000 | number. */
#ifndef VOB_C_API_H_
#define VOB_C_API_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vob_object vob_object; /* a manager or a report object */
typedef int32_t vob_result;

#define VOB_OK 0
#define VOB_E_NOINTERFACE ((vob_result)0x80004002)
#define VOB_E_POINTER ((vob_result)0x80004003)
#define VOB_E_FAIL ((vob_result)0x80004005)
#define VOB_E_CLASSNOTREG ((vob_result)0x80040154)

/* Server identity: "ProgID", "CLSID", "IID", "LIBID", "HelpString", "FileName", "FileDescription",
   "ProductDescription". Returns NULL for an unknown name. The text lives as long as the library. */
const char* vob_server_info(const char* name);

/* Creates the manager by ProgID ("VOBADOReports2.rptManager") or by class id ("{...}", any letter case). */
vob_result vob_create_object(const char* progid_or_clsid, vob_object** object);
void vob_release(vob_object* object);

/* The message of the calling thread's last failed call, or "". */
const char* vob_last_error(void);

/* rptManager's members in interface order. Texts are UTF-8. GetReport sets *report to NULL (and succeeds)
   when no report matches the key. */
vob_result vob_manager_get_report(vob_object* manager, const char* repname, vob_object** report);
vob_result vob_manager_reset(vob_object* manager);
vob_result vob_manager_set_data_source(vob_object* manager, const char* db_con_str);
vob_result vob_manager_set_date_format(vob_object* manager, const char* vdata);
vob_result vob_manager_set_currency_format(vob_object* manager, const char* vdata);
vob_result vob_manager_set_drill_down_params(vob_object* manager, const char* vdata);
vob_result vob_manager_set_logo_props(vob_object* manager, int16_t vnewval, const char* b_file, float b_wid,
                                      float b_ht);
vob_result vob_manager_set_price_fmt(vob_object* manager, const char* vdata);
vob_result vob_manager_set_rept_param(vob_object* manager, int16_t i, const char* param_string);
vob_result vob_manager_set_title(vob_object* manager, const char* value);

#ifdef __cplusplus
}
#endif

#endif /* VOB_C_API_H_ */
