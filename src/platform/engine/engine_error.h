// Errors of the report engine: a layout that cannot be built or used, and a run that a handler or its data
// ended. A RunError keeps the classic error number of its cause, so hosts can still compare numbers after the
// wrap.
#pragma once

#include <string>

#include "platform/error.h"

namespace vob::engine {

// A layout that names an unknown section, control or field, or uses a control as a kind it is not.
class LayoutError : public vob::Error {
 public:
  using vob::Error::Error;
};

// A run that ended with an error. The message names the report class, the handler (or control) and the cause:
// "rptChaccts, ActiveReport_DataInitialize: error 9: Subscript out of range".
class RunError : public vob::Error {
 public:
  RunError(const std::string& message, int number) : vob::Error(message), number_(number) {}
  int number() const { return number_; }  // the classic error number; 0 when the cause had none

 private:
  int number_;
};

// A run stopped because its caller asked it to (RunContext::cancel_requested); the sink receives no End.
class RunCancelled : public vob::Error {
 public:
  using vob::Error::Error;
};

}  // namespace vob::engine
