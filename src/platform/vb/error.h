// Runtime errors with the classic error numbers (6 Overflow, 9 Subscript out of range, 13 Type mismatch, ...).
// The number is part of the contract: hosts and tests compare it, the message only explains it.
#pragma once

#include <string>
#include <string_view>

#include "platform/error.h"

namespace vob::vb {

inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kInvalidUseOfNull = 94;
inline constexpr int kInvalidPicture = 481;

// The classic message for an error number ("Overflow" for 6); "Application-defined or object-defined error"
// for numbers without one of their own.
std::string_view ClassicMessage(int number);

class Error : public vob::Error {
 public:
  // what() is the classic message, followed by ": " and the detail when one is given.
  explicit Error(int number, std::string_view detail = {});
  int number() const { return number_; }

 private:
  int number_;
};

[[noreturn]] void Raise(int number, std::string_view detail = {});

}  // namespace vob::vb
