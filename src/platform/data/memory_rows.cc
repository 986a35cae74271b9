// In-memory rows for recordsets a report builds itself (the merged vendor payments).
// Values are converted on the way in, so that reading and sorting see one type per field.
#include "platform/data/memory_rows.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/data/jet_date_literal.h"
#include "platform/data/jet_tokenizer.h"
#include "platform/data/sql_error.h"
#include "platform/data/value_text.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
  while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
  return std::string(text.substr(first, last - first));
}

// The numeric value of a number-like Variant; nothing for text, Null and Empty.
std::optional<double> NumberOf(const vb::Variant& value) {
  switch (value.type()) {
    case vb::VarType::kBoolean:
      return value.boolean() ? -1.0 : 0.0;
    case vb::VarType::kInteger:
      return value.integer();
    case vb::VarType::kLong:
      return value.long_value();
    case vb::VarType::kSingle:
      return value.single();
    case vb::VarType::kDouble:
      return value.dbl();
    case vb::VarType::kCurrency:
      return value.currency().ToDouble();
    case vb::VarType::kDate:
      return value.date_serial();
    default:
      return std::nullopt;
  }
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t length = std::min(a.size(), b.size());
  for (size_t i = 0; i < length; ++i) {
    const int left = std::tolower(static_cast<unsigned char>(a[i]));
    const int right = std::tolower(static_cast<unsigned char>(b[i]));
    if (left != right) return left < right ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareValues(const vb::Variant& a, const vb::Variant& b) {
  const bool a_is_null = a.is_null() || a.is_empty();
  const bool b_is_null = b.is_null() || b.is_empty();
  if (a_is_null || b_is_null) return a_is_null == b_is_null ? 0 : (a_is_null ? -1 : 1);
  if (a.type() == vb::VarType::kCurrency && b.type() == vb::VarType::kCurrency) {
    return a.currency() == b.currency() ? 0 : (a.currency() < b.currency() ? -1 : 1);
  }
  if (a.is_string() && b.is_string()) return CompareText(a.str(), b.str());
  const double left = NumberOf(a).value_or(0), right = NumberOf(b).value_or(0);
  return left == right ? 0 : (left < right ? -1 : 1);
}

}  // namespace

void MemoryRows::AppendField(std::string name, FieldType type, int defined_size) {
  if (!rows_.empty() || !pending_row_.empty()) {
    throw SqlError("Operation is not allowed when the object is open (Fields.Append \"" + name + "\")");
  }
  fields_.push_back({name, type, defined_size});
  std::vector<ColumnInfo> columns;
  for (const Field& field : fields_) columns.push_back({field.name, ""});
  names_ = FieldNames(columns, {});
}

void MemoryRows::BeginRow() {
  pending_row_.assign(fields_.size(), vb::Variant::Null());
}

void MemoryRows::SetValue(int index, vb::Variant value) {
  pending_row_[static_cast<size_t>(index)] = Convert(fields_[static_cast<size_t>(index)], std::move(value));
}

size_t MemoryRows::CommitRow() {
  rows_.push_back(std::move(pending_row_));
  pending_row_.clear();
  return rows_.size() - 1;
}

vb::Variant MemoryRows::Convert(const Field& field, vb::Variant value) const {
  if (value.is_null() || value.is_empty()) return vb::Variant::Null();
  auto mismatch = [&]() -> vb::Variant {
    throw SqlError("Type mismatch: field \"" + field.name + "\" cannot hold this value");
  };
  const std::optional<double> number = NumberOf(value);
  switch (field.type) {
    case FieldType::kText: {
      std::string text;
      if (value.type() == vb::VarType::kLong) {
        text = std::to_string(value.long_value());
      } else if (value.type() == vb::VarType::kInteger) {
        text = std::to_string(value.integer());
      } else if (value.is_string()) {
        text = value.str();
      } else {
        return mismatch();
      }
      const size_t length = CharacterCount(text);
      if (field.defined_size > 0) {
        if (length > static_cast<size_t>(field.defined_size)) {
          throw SqlError("the text \"" + text + "\" is longer than the " +
                         std::to_string(field.defined_size) + " characters of field \"" + field.name + "\"");
        }
        text.append(static_cast<size_t>(field.defined_size) - length, ' ');
      }
      return vb::Variant(std::move(text));
    }
    case FieldType::kCurrency:
      if (value.type() == vb::VarType::kCurrency) return value;
      if (value.type() == vb::VarType::kLong) return vb::Variant(vb::Currency::FromWhole(value.long_value()));
      if (value.type() == vb::VarType::kInteger) return vb::Variant(vb::Currency::FromWhole(value.integer()));
      if (number) return vb::Variant(vb::Currency::FromDouble(*number));
      if (std::optional<vb::Currency> amount = ParseDecimalCurrency(Trim(value.str())))
        return vb::Variant(*amount);
      return mismatch();
    case FieldType::kDate:
      if (number) return vb::Variant::Date(*number);
      if (std::optional<double> serial = ParseIsoDateTime(Trim(value.str())))
        return vb::Variant::Date(*serial);
      if (std::optional<double> serial = ParseJetDateLiteral(value.str())) return vb::Variant::Date(*serial);
      return mismatch();
    case FieldType::kBoolean:
      if (number) return vb::Variant(*number != 0);
      if (vb::SameName(Trim(value.str()), "true")) return vb::Variant(true);
      if (vb::SameName(Trim(value.str()), "false")) return vb::Variant(false);
      return mismatch();
    case FieldType::kLong: {
      double whole;
      if (number) {
        whole = std::nearbyint(*number);  // halves to even
      } else {
        char* end = nullptr;
        const std::string text = Trim(value.str());
        whole = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') return mismatch();
        whole = std::nearbyint(whole);
      }
      if (!(whole >= INT32_MIN && whole <= INT32_MAX)) {
        throw SqlError("Overflow: field \"" + field.name + "\" cannot hold " + std::to_string(whole));
      }
      return vb::Variant(static_cast<int>(whole));
    }
    case FieldType::kDouble: {
      if (number) return vb::Variant(*number);
      char* end = nullptr;
      const std::string text = Trim(value.str());
      const double parsed = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0') return mismatch();
      return vb::Variant(parsed);
    }
  }
  return mismatch();
}

void MemoryRows::Sort(std::string_view field_list) {
  struct Key {
    size_t index;
    bool is_descending;
  };
  std::vector<Key> keys;
  size_t position = 0;
  while (position <= field_list.size()) {
    const size_t comma = std::min(field_list.find(',', position), field_list.size());
    std::string item = Trim(field_list.substr(position, comma - position));
    position = comma + 1;
    if (item.empty()) continue;
    bool is_descending = false;
    const size_t blank = item.find_last_of(" \t");
    if (blank != std::string::npos) {
      const std::string direction = item.substr(blank + 1);
      if (vb::SameName(direction, "desc") || vb::SameName(direction, "asc")) {
        is_descending = vb::SameName(direction, "desc");
        item = Trim(item.substr(0, blank));
      }
    }
    if (item.size() > 2 && item.front() == '[' && item.back() == ']') item = item.substr(1, item.size() - 2);
    const int index = names_.Find(item);
    if (index < 0) {
      throw SqlError(
          "Item cannot be found in the collection corresponding to the requested name or ordinal: \"" + item +
          "\" (Sort \"" + std::string(field_list) + "\")");
    }
    keys.push_back({static_cast<size_t>(index), is_descending});
  }
  std::stable_sort(rows_.begin(), rows_.end(), [&](const auto& a, const auto& b) {
    for (const Key& key : keys) {
      const int order = CompareValues(a[key.index], b[key.index]);
      if (order != 0) return key.is_descending ? order > 0 : order < 0;
    }
    return false;
  });
}

}  // namespace vob::data
