// Errors of the data layer: provider failures, SQL the translator cannot read, misuse of a closed object.
// The message always quotes the SQL text involved, so a failed report names the statement that broke it.
#pragma once

#include <string>

#include "platform/error.h"

namespace vob::data {

class SqlError : public vob::Error {
 public:
  SqlError(const std::string& message, std::string sql)
      : vob::Error(sql.empty() ? message : message + " in: " + sql), sql_(std::move(sql)) {}
  explicit SqlError(const std::string& message) : vob::Error(message) {}
  const std::string& sql() const { return sql_; }

 private:
  std::string sql_;
};

// The database cannot be opened or reached: a malformed connection string, a missing or unreadable file, a
// server that refuses the connection. Statements that fail later are plain SqlErrors.
class OpenError : public SqlError {
 public:
  using SqlError::SqlError;
};

}  // namespace vob::data
