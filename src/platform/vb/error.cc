// Classic runtime error numbers and their messages.
#include "platform/vb/error.h"

#include <string>

namespace vob::vb {
namespace {

std::string Compose(int number, std::string_view detail) {
  std::string message(ClassicMessage(number));
  if (!detail.empty()) {
    message += ": ";
    message += detail;
  }
  return message;
}

}  // namespace

std::string_view ClassicMessage(int number) {
  switch (number) {
    case kInvalidProcedureCall: return "Invalid procedure call or argument";
    case kOverflow: return "Overflow";
    case 7: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kDivisionByZero: return "Division by zero";
    case kTypeMismatch: return "Type mismatch";
    case kFileNotFound: return "File not found";
    case 91: return "Object variable or With block variable not set";
    case kInvalidUseOfNull: return "Invalid use of Null";
    case kInvalidPicture: return "Invalid picture";
    default: return "Application-defined or object-defined error";
  }
}

Error::Error(int number, std::string_view detail) : vob::Error(Compose(number, detail)), number_(number) {}

void Raise(int number, std::string_view detail) { throw Error(number, detail); }

}  // namespace vob::vb
