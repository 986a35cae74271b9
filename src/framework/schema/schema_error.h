// Errors of the schema and demo-database layer: a database that cannot be created, written or loaded.
// The message names the database (path or server) and the statement or step that failed.
#pragma once

#include <string>

#include "platform/error.h"

namespace vob::schema {

class SchemaError : public vob::Error {
 public:
  using vob::Error::Error;
};

}  // namespace vob::schema
