// The dynamically typed value every field, parameter and handler computation passes around.
// Types and their numbers follow the classic runtime (VarType): Empty 0, Null 1, Integer 2, Long 3, ...
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/vb/currency.h"

namespace vob::vb {

enum class VarType : int {
  kEmpty = 0,
  kNull = 1,
  kInteger = 2,  // 16-bit
  kLong = 3,     // 32-bit
  kSingle = 4,
  kDouble = 5,
  kCurrency = 6,
  kDate = 7,
  kString = 8,
  kBoolean = 11,  // True is -1 in arithmetic
};

// A date held by a Variant: a serial (days since 1899-12-30, fraction the time of day).
struct DateValue {
  double serial = 0;
  friend bool operator==(DateValue, DateValue) = default;
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(bool value) : value_(value) {}
  Variant(int16_t value) : value_(value) {}
  Variant(int value) : value_(static_cast<int32_t>(value)) {}
  Variant(float value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(Currency value) : value_(value) {}
  Variant(DateValue value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}

  static Variant Null() {
    Variant null;
    null.value_ = NullTag{};
    return null;
  }
  static Variant Date(double serial) { return Variant(DateValue{serial}); }

  VarType type() const { return static_cast<VarType>(kTypeByIndex[value_.index()]); }
  bool is_null() const { return type() == VarType::kNull; }
  bool is_empty() const { return type() == VarType::kEmpty; }
  bool is_string() const { return type() == VarType::kString; }
  bool is_numeric_type() const;  // Boolean, Integer, Long, Single, Double, Currency, Date

  // Direct access. REQUIRES: the Variant holds that type.
  bool boolean() const { return std::get<bool>(value_); }
  int16_t integer() const { return std::get<int16_t>(value_); }
  int32_t long_value() const { return std::get<int32_t>(value_); }
  float single() const { return std::get<float>(value_); }
  double dbl() const { return std::get<double>(value_); }
  Currency currency() const { return std::get<Currency>(value_); }
  double date_serial() const { return std::get<DateValue>(value_).serial; }
  const std::string& str() const { return std::get<std::string>(value_); }

  // Holds a copy of text, in the text it already holds if any, so that a row read into the same values again
  // allocates nothing.
  void AssignText(std::string_view text) {
    if (auto* held = std::get_if<std::string>(&value_)) {
      held->assign(text);
    } else {
      value_.emplace<std::string>(text);
    }
  }

  // What = does, quicker for the common case of a text replacing a text (values copied row after row).
  void Assign(const Variant& other) {
    if (auto* held = std::get_if<std::string>(&value_)) {
      if (const auto* text = std::get_if<std::string>(&other.value_)) {
        held->assign(*text);
        return;
      }
    }
    value_ = other.value_;
  }

  // Same type and same value; not the classic "=" operator, which converts.
  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) = default;
  };
  static constexpr int kTypeByIndex[] = {0, 1, 11, 2, 3, 4, 5, 6, 7, 8};
  std::variant<std::monostate, NullTag, bool, int16_t, int32_t, float, double, Currency, DateValue,
               std::string>
      value_;
};

}  // namespace vob::vb
