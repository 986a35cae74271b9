// Errors of the report engine: a layout that cannot be built or used, and a run that a handler or its data
// ended. A RunError keeps the classic error number of its cause, so hosts can still compare numbers after the
// wrap.
#pragma once

#include <exception>
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
  RunError(const std::string& message, int number, std::exception_ptr cause = nullptr)
      : vob::Error(message), number_(number), cause_(std::move(cause)) {}
  int number() const { return number_; }  // the classic error number; 0 when the cause had none
  // What a handler or engine step threw, for callers that tell failures apart by kind (the data layer's
  // OpenError, the output's RenderError); null when the engine itself found the fault.
  const std::exception_ptr& cause() const { return cause_; }

 private:
  int number_;
  std::exception_ptr cause_;
};

// A run stopped because its caller asked it to (RunContext::cancel_requested); the sink receives no End.
class RunCancelled : public vob::Error {
 public:
  using vob::Error::Error;
};

}  // namespace vob::engine
