// libpq, loaded when the first form names a server rather than when provix2 starts.
//
// The client library brings two dozen others with it (TLS, Kerberos, LDAP, SASL), and
// the dynamic loader's work on them cost every start-up about 15 ms, though most forms
// never name a server. It is opened from the absolute path found when provix2 was
// built (libraries are only ever loaded from absolute paths), once, and stays loaded.
#pragma once

#include <libpq-fe.h>

#include <string>

namespace provix2 {

struct Libpq {
  decltype(&::PQconnectdbParams) PQconnectdbParams = nullptr;
  decltype(&::PQstatus) PQstatus = nullptr;
  decltype(&::PQerrorMessage) PQerrorMessage = nullptr;
  decltype(&::PQfinish) PQfinish = nullptr;
  decltype(&::PQreset) PQreset = nullptr;
  decltype(&::PQexecParams) PQexecParams = nullptr;
  decltype(&::PQresultStatus) PQresultStatus = nullptr;
  decltype(&::PQresultErrorField) PQresultErrorField = nullptr;
  decltype(&::PQntuples) PQntuples = nullptr;
  decltype(&::PQgetisnull) PQgetisnull = nullptr;
  decltype(&::PQgetvalue) PQgetvalue = nullptr;
  decltype(&::PQclear) PQclear = nullptr;
  decltype(&::PQescapeIdentifier) PQescapeIdentifier = nullptr;
  decltype(&::PQfreemem) PQfreemem = nullptr;
};

// The loaded library's functions; raises RecordsetError (recordset.h) with the
// loader's reason when it cannot be loaded or lacks one of them.
const Libpq& LoadLibpq();

}  // namespace provix2
