// The libpq functions the PostgreSQL backend and the demo loader call, defined here to load libpq on the
// first call: runs on SQLite never load it (see platform/vb/lazy_library.h).
#include <libpq-fe.h>

#include "platform/vb/lazy_library.h"

namespace {

constexpr char kLibpq[] = "libpq.so.5";

}  // namespace

int PQcancel(PGcancel* cancel, char* errbuf, int errbufsize) {
  VOB_LAZY_CALL(kLibpq, PQcancel, cancel, errbuf, errbufsize);
}
void PQclear(PGresult* res) {
  VOB_LAZY_CALL(kLibpq, PQclear, res);
}
PGconn* PQconnectdb(const char* conninfo) {
  VOB_LAZY_CALL(kLibpq, PQconnectdb, conninfo);
}
PGconn* PQconnectdbParams(const char* const* keywords, const char* const* values, int expand_dbname) {
  VOB_LAZY_CALL(kLibpq, PQconnectdbParams, keywords, values, expand_dbname);
}
void PQconninfoFree(PQconninfoOption* connOptions) {
  VOB_LAZY_CALL(kLibpq, PQconninfoFree, connOptions);
}
PQconninfoOption* PQconninfoParse(const char* conninfo, char** errmsg) {
  VOB_LAZY_CALL(kLibpq, PQconninfoParse, conninfo, errmsg);
}
int PQconsumeInput(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQconsumeInput, conn);
}
int PQenterPipelineMode(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQenterPipelineMode, conn);
}
char* PQerrorMessage(const PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQerrorMessage, conn);
}
PGresult* PQexec(PGconn* conn, const char* query) {
  VOB_LAZY_CALL(kLibpq, PQexec, conn, query);
}
int PQexitPipelineMode(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQexitPipelineMode, conn);
}
void PQfinish(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQfinish, conn);
}
int PQfmod(const PGresult* res, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQfmod, res, field_num);
}
char* PQfname(const PGresult* res, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQfname, res, field_num);
}
void PQfreemem(void* ptr) {
  VOB_LAZY_CALL(kLibpq, PQfreemem, ptr);
}
void PQfreeCancel(PGcancel* cancel) {
  VOB_LAZY_CALL(kLibpq, PQfreeCancel, cancel);
}
Oid PQftable(const PGresult* res, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQftable, res, field_num);
}
Oid PQftype(const PGresult* res, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQftype, res, field_num);
}
PGcancel* PQgetCancel(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQgetCancel, conn);
}
PGresult* PQgetResult(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQgetResult, conn);
}
int PQgetisnull(const PGresult* res, int tup_num, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQgetisnull, res, tup_num, field_num);
}
int PQgetlength(const PGresult* res, int tup_num, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQgetlength, res, tup_num, field_num);
}
char* PQgetvalue(const PGresult* res, int tup_num, int field_num) {
  VOB_LAZY_CALL(kLibpq, PQgetvalue, res, tup_num, field_num);
}
int PQisBusy(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQisBusy, conn);
}
int PQnfields(const PGresult* res) {
  VOB_LAZY_CALL(kLibpq, PQnfields, res);
}
int PQntuples(const PGresult* res) {
  VOB_LAZY_CALL(kLibpq, PQntuples, res);
}
const char* PQparameterStatus(const PGconn* conn, const char* paramName) {
  VOB_LAZY_CALL(kLibpq, PQparameterStatus, conn, paramName);
}
int PQpipelineSync(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQpipelineSync, conn);
}
int PQputCopyData(PGconn* conn, const char* buffer, int nbytes) {
  VOB_LAZY_CALL(kLibpq, PQputCopyData, conn, buffer, nbytes);
}
int PQputCopyEnd(PGconn* conn, const char* errormsg) {
  VOB_LAZY_CALL(kLibpq, PQputCopyEnd, conn, errormsg);
}
char* PQresultErrorField(const PGresult* res, int fieldcode) {
  VOB_LAZY_CALL(kLibpq, PQresultErrorField, res, fieldcode);
}
char* PQresultErrorMessage(const PGresult* res) {
  VOB_LAZY_CALL(kLibpq, PQresultErrorMessage, res);
}
ExecStatusType PQresultStatus(const PGresult* res) {
  VOB_LAZY_CALL(kLibpq, PQresultStatus, res);
}
int PQsendDescribePrepared(PGconn* conn, const char* stmt) {
  VOB_LAZY_CALL(kLibpq, PQsendDescribePrepared, conn, stmt);
}
int PQsendPrepare(PGconn* conn, const char* stmtName, const char* query, int nParams, const Oid* paramTypes) {
  VOB_LAZY_CALL(kLibpq, PQsendPrepare, conn, stmtName, query, nParams, paramTypes);
}
int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths, const int* paramFormats,
                      int resultFormat) {
  VOB_LAZY_CALL(kLibpq, PQsendQueryParams, conn, command, nParams, paramTypes, paramValues, paramLengths,
                paramFormats, resultFormat);
}
int PQsendQueryPrepared(PGconn* conn, const char* stmtName, int nParams, const char* const* paramValues,
                        const int* paramLengths, const int* paramFormats, int resultFormat) {
  VOB_LAZY_CALL(kLibpq, PQsendQueryPrepared, conn, stmtName, nParams, paramValues, paramLengths, paramFormats,
                resultFormat);
}
PQnoticeProcessor PQsetNoticeProcessor(PGconn* conn, PQnoticeProcessor proc, void* arg) {
  VOB_LAZY_CALL(kLibpq, PQsetNoticeProcessor, conn, proc, arg);
}
int PQsetSingleRowMode(PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQsetSingleRowMode, conn);
}
int PQsocket(const PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQsocket, conn);
}
ConnStatusType PQstatus(const PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQstatus, conn);
}
PGTransactionStatusType PQtransactionStatus(const PGconn* conn) {
  VOB_LAZY_CALL(kLibpq, PQtransactionStatus, conn);
}
