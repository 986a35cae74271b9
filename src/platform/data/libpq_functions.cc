// The libpq functions the PostgreSQL backend and the demo loader call, defined here to load libpq on the
// first call: runs on SQLite never load it (see platform/vb/lazy_library.h).
#include <dlfcn.h>
#include <libpq-fe.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kLibpq[] = "libpq.so.5";

// Loads libpq with lazy binding before the first look-up opens it again (which then binds nothing): of the
// functions it and its 19 libraries import, a run calls few, and binding them all took half a millisecond.
// A library that cannot be loaded is reported by the look-up.
void BindLibpqLazily() {
  static void* const handle = dlopen(kLibpq, RTLD_LAZY | RTLD_LOCAL);
  (void)handle;
}

}  // namespace

#define VOB_LIBPQ_CALL(name, ...) \
  BindLibpqLazily();              \
  VOB_LAZY_CALL(kLibpq, name, __VA_ARGS__)

int PQcancel(PGcancel* cancel, char* errbuf, int errbufsize) {
  VOB_LIBPQ_CALL(PQcancel, cancel, errbuf, errbufsize);
}
void PQclear(PGresult* res) {
  VOB_LIBPQ_CALL(PQclear, res);
}
PGconn* PQconnectdb(const char* conninfo) {
  VOB_LIBPQ_CALL(PQconnectdb, conninfo);
}
PGconn* PQconnectdbParams(const char* const* keywords, const char* const* values, int expand_dbname) {
  VOB_LIBPQ_CALL(PQconnectdbParams, keywords, values, expand_dbname);
}
void PQconninfoFree(PQconninfoOption* connOptions) {
  VOB_LIBPQ_CALL(PQconninfoFree, connOptions);
}
PQconninfoOption* PQconninfoParse(const char* conninfo, char** errmsg) {
  VOB_LIBPQ_CALL(PQconninfoParse, conninfo, errmsg);
}
int PQconsumeInput(PGconn* conn) {
  VOB_LIBPQ_CALL(PQconsumeInput, conn);
}
int PQenterPipelineMode(PGconn* conn) {
  VOB_LIBPQ_CALL(PQenterPipelineMode, conn);
}
char* PQerrorMessage(const PGconn* conn) {
  VOB_LIBPQ_CALL(PQerrorMessage, conn);
}
PGresult* PQexec(PGconn* conn, const char* query) {
  VOB_LIBPQ_CALL(PQexec, conn, query);
}
int PQexitPipelineMode(PGconn* conn) {
  VOB_LIBPQ_CALL(PQexitPipelineMode, conn);
}
void PQfinish(PGconn* conn) {
  VOB_LIBPQ_CALL(PQfinish, conn);
}
int PQfmod(const PGresult* res, int field_num) {
  VOB_LIBPQ_CALL(PQfmod, res, field_num);
}
char* PQfname(const PGresult* res, int field_num) {
  VOB_LIBPQ_CALL(PQfname, res, field_num);
}
void PQfreemem(void* ptr) {
  VOB_LIBPQ_CALL(PQfreemem, ptr);
}
void PQfreeCancel(PGcancel* cancel) {
  VOB_LIBPQ_CALL(PQfreeCancel, cancel);
}
Oid PQftable(const PGresult* res, int field_num) {
  VOB_LIBPQ_CALL(PQftable, res, field_num);
}
Oid PQftype(const PGresult* res, int field_num) {
  VOB_LIBPQ_CALL(PQftype, res, field_num);
}
PGcancel* PQgetCancel(PGconn* conn) {
  VOB_LIBPQ_CALL(PQgetCancel, conn);
}
PGresult* PQgetResult(PGconn* conn) {
  VOB_LIBPQ_CALL(PQgetResult, conn);
}
int PQgetisnull(const PGresult* res, int tup_num, int field_num) {
  VOB_LIBPQ_CALL(PQgetisnull, res, tup_num, field_num);
}
int PQgetlength(const PGresult* res, int tup_num, int field_num) {
  VOB_LIBPQ_CALL(PQgetlength, res, tup_num, field_num);
}
char* PQgetvalue(const PGresult* res, int tup_num, int field_num) {
  VOB_LIBPQ_CALL(PQgetvalue, res, tup_num, field_num);
}
int PQisBusy(PGconn* conn) {
  VOB_LIBPQ_CALL(PQisBusy, conn);
}
int PQnfields(const PGresult* res) {
  VOB_LIBPQ_CALL(PQnfields, res);
}
int PQntuples(const PGresult* res) {
  VOB_LIBPQ_CALL(PQntuples, res);
}
const char* PQparameterStatus(const PGconn* conn, const char* paramName) {
  VOB_LIBPQ_CALL(PQparameterStatus, conn, paramName);
}
int PQpipelineSync(PGconn* conn) {
  VOB_LIBPQ_CALL(PQpipelineSync, conn);
}
int PQputCopyData(PGconn* conn, const char* buffer, int nbytes) {
  VOB_LIBPQ_CALL(PQputCopyData, conn, buffer, nbytes);
}
int PQputCopyEnd(PGconn* conn, const char* errormsg) {
  VOB_LIBPQ_CALL(PQputCopyEnd, conn, errormsg);
}
char* PQresultErrorField(const PGresult* res, int fieldcode) {
  VOB_LIBPQ_CALL(PQresultErrorField, res, fieldcode);
}
char* PQresultErrorMessage(const PGresult* res) {
  VOB_LIBPQ_CALL(PQresultErrorMessage, res);
}
ExecStatusType PQresultStatus(const PGresult* res) {
  VOB_LIBPQ_CALL(PQresultStatus, res);
}
int PQsendDescribePrepared(PGconn* conn, const char* stmt) {
  VOB_LIBPQ_CALL(PQsendDescribePrepared, conn, stmt);
}
int PQsendPrepare(PGconn* conn, const char* stmtName, const char* query, int nParams, const Oid* paramTypes) {
  VOB_LIBPQ_CALL(PQsendPrepare, conn, stmtName, query, nParams, paramTypes);
}
int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths, const int* paramFormats,
                      int resultFormat) {
  VOB_LIBPQ_CALL(PQsendQueryParams, conn, command, nParams, paramTypes, paramValues, paramLengths,
                 paramFormats, resultFormat);
}
int PQsendQueryPrepared(PGconn* conn, const char* stmtName, int nParams, const char* const* paramValues,
                        const int* paramLengths, const int* paramFormats, int resultFormat) {
  VOB_LIBPQ_CALL(PQsendQueryPrepared, conn, stmtName, nParams, paramValues, paramLengths, paramFormats,
                 resultFormat);
}
PQnoticeProcessor PQsetNoticeProcessor(PGconn* conn, PQnoticeProcessor proc, void* arg) {
  VOB_LIBPQ_CALL(PQsetNoticeProcessor, conn, proc, arg);
}
int PQsetSingleRowMode(PGconn* conn) {
  VOB_LIBPQ_CALL(PQsetSingleRowMode, conn);
}
int PQsocket(const PGconn* conn) {
  VOB_LIBPQ_CALL(PQsocket, conn);
}
ConnStatusType PQstatus(const PGconn* conn) {
  VOB_LIBPQ_CALL(PQstatus, conn);
}
PGTransactionStatusType PQtransactionStatus(const PGconn* conn) {
  VOB_LIBPQ_CALL(PQtransactionStatus, conn);
}
