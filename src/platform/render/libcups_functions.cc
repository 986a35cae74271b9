// The libcups functions the printer calls, defined here to load libcups on the first call: runs that do not
// print never load it (see platform/vb/lazy_library.h).
#include <cups/cups.h>
#include <cups/pwg.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kLibcups[] = "libcups.so.2";

}  // namespace

int cupsAddOption(const char* name, const char* value, int num_options, cups_option_t** options) {
  VOB_LAZY_CALL(kLibcups, cupsAddOption, name, value, num_options, options);
}
ipp_status_t cupsCancelJob2(http_t* http, const char* name, int job_id, int purge) {
  VOB_LAZY_CALL(kLibcups, cupsCancelJob2, http, name, job_id, purge);
}
int cupsCreateJob(http_t* http, const char* name, const char* title, int num_options,
                  cups_option_t* options) {
  VOB_LAZY_CALL(kLibcups, cupsCreateJob, http, name, title, num_options, options);
}
ipp_t* cupsDoRequest(http_t* http, ipp_t* request, const char* resource) {
  VOB_LAZY_CALL(kLibcups, cupsDoRequest, http, request, resource);
}
http_encryption_t cupsEncryption(void) {
  VOB_LAZY_CALL(kLibcups, cupsEncryption);
}
ipp_status_t cupsFinishDocument(http_t* http, const char* name) {
  VOB_LAZY_CALL(kLibcups, cupsFinishDocument, http, name);
}
void cupsFreeOptions(int num_options, cups_option_t* options) {
  VOB_LAZY_CALL(kLibcups, cupsFreeOptions, num_options, options);
}
const char* cupsGetDefault2(http_t* http) {
  VOB_LAZY_CALL(kLibcups, cupsGetDefault2, http);
}
ipp_status_t cupsLastError(void) {
  VOB_LAZY_CALL(kLibcups, cupsLastError);
}
const char* cupsLastErrorString(void) {
  VOB_LAZY_CALL(kLibcups, cupsLastErrorString);
}
const char* cupsServer(void) {
  VOB_LAZY_CALL(kLibcups, cupsServer);
}
http_status_t cupsStartDocument(http_t* http, const char* name, int job_id, const char* docname,
                                const char* format, int last_document) {
  VOB_LAZY_CALL(kLibcups, cupsStartDocument, http, name, job_id, docname, format, last_document);
}
const char* cupsUser(void) {
  VOB_LAZY_CALL(kLibcups, cupsUser);
}
http_status_t cupsWriteRequestData(http_t* http, const char* buffer, size_t length) {
  VOB_LAZY_CALL(kLibcups, cupsWriteRequestData, http, buffer, length);
}
void httpClose(http_t* http) {
  VOB_LAZY_CALL(kLibcups, httpClose, http);
}
http_t* httpConnect2(const char* host, int port, http_addrlist_t* addrlist, int family,
                     http_encryption_t encryption, int blocking, int msec, int* cancel) {
  VOB_LAZY_CALL(kLibcups, httpConnect2, host, port, addrlist, family, encryption, blocking, msec, cancel);
}
ipp_attribute_t* ippAddString(ipp_t* ipp, ipp_tag_t group, ipp_tag_t value_tag, const char* name,
                              const char* language, const char* value) {
  VOB_LAZY_CALL(kLibcups, ippAddString, ipp, group, value_tag, name, language, value);
}
ipp_attribute_t* ippAddStrings(ipp_t* ipp, ipp_tag_t group, ipp_tag_t value_tag, const char* name,
                               int num_values, const char* language, const char* const* values) {
  VOB_LAZY_CALL(kLibcups, ippAddStrings, ipp, group, value_tag, name, num_values, language, values);
}
void ippDelete(ipp_t* ipp) {
  VOB_LAZY_CALL(kLibcups, ippDelete, ipp);
}
const char* ippErrorString(ipp_status_t error) {
  VOB_LAZY_CALL(kLibcups, ippErrorString, error);
}
ipp_attribute_t* ippFindAttribute(ipp_t* ipp, const char* name, ipp_tag_t value_tag) {
  VOB_LAZY_CALL(kLibcups, ippFindAttribute, ipp, name, value_tag);
}
ipp_attribute_t* ippFirstAttribute(ipp_t* ipp) {
  VOB_LAZY_CALL(kLibcups, ippFirstAttribute, ipp);
}
int ippGetBoolean(ipp_attribute_t* attr, int element) {
  VOB_LAZY_CALL(kLibcups, ippGetBoolean, attr, element);
}
int ippGetCount(ipp_attribute_t* attr) {
  VOB_LAZY_CALL(kLibcups, ippGetCount, attr);
}
ipp_tag_t ippGetGroupTag(ipp_attribute_t* attr) {
  VOB_LAZY_CALL(kLibcups, ippGetGroupTag, attr);
}
int ippGetInteger(ipp_attribute_t* attr, int element) {
  VOB_LAZY_CALL(kLibcups, ippGetInteger, attr, element);
}
const char* ippGetName(ipp_attribute_t* attr) {
  VOB_LAZY_CALL(kLibcups, ippGetName, attr);
}
const char* ippGetString(ipp_attribute_t* attr, int element, const char** language) {
  VOB_LAZY_CALL(kLibcups, ippGetString, attr, element, language);
}
ipp_t* ippNewRequest(ipp_op_t op) {
  VOB_LAZY_CALL(kLibcups, ippNewRequest, op);
}
ipp_attribute_t* ippNextAttribute(ipp_t* ipp) {
  VOB_LAZY_CALL(kLibcups, ippNextAttribute, ipp);
}
int ippPort(void) {
  VOB_LAZY_CALL(kLibcups, ippPort);
}
http_uri_status_t httpAssembleURI(http_uri_coding_t encoding, char* uri, int urilen, const char* scheme,
                                  const char* username, const char* host, int port, const char* resource) {
  VOB_LAZY_CALL(kLibcups, httpAssembleURI, encoding, uri, urilen, scheme, username, host, port, resource);
}
pwg_media_t* pwgMediaForSize(int width, int length) {
  VOB_LAZY_CALL(kLibcups, pwgMediaForSize, width, length);
}
