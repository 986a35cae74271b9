// Field-name lookup tables built once per result, so that reading a field by name costs one hash lookup.
// Ambiguity is decided per base table: the same table's column selected twice is not ambiguous.
#include "platform/data/field_names.h"

#include <algorithm>

namespace vob::data {

FieldNames::FieldNames(const std::vector<ColumnInfo>& columns, const std::vector<TableName>& tables) {
  for (const TableName& table : tables)
    aliases_.emplace(vb::LowerAscii(table.written), vb::LowerAscii(table.table));

  std::unordered_map<std::string, std::string>
      table_of_bare;  // lower column -> lower table of its first field
  for (size_t i = 0; i < columns.size(); ++i) {
    const int index = static_cast<int>(i);
    const std::string column = vb::LowerAscii(columns[i].name);
    const std::string table = vb::LowerAscii(columns[i].table);
    auto [bare, is_new] = bare_.emplace(column, index);
    if (!is_new && bare->second != kAmbiguous && table_of_bare[column] != table) bare->second = kAmbiguous;
    if (is_new) table_of_bare[column] = table;
    if (!table.empty()) qualified_.emplace(table + "." + column, index);
  }
  for (const ColumnInfo& column : columns) {
    const bool is_ambiguous = bare_[vb::LowerAscii(column.name)] == kAmbiguous && !column.table.empty();
    display_names_.push_back(is_ambiguous ? column.table + "." + column.name : column.name);
  }
}

int FieldNames::Find(std::string_view name) const {
  if (const int* kept = recent_.Find(name)) return *kept;
  const int index = FindAnew(name);
  recent_.Keep(name, index);
  return index;
}

int FieldNames::FindAnew(std::string_view name) const {
  // Handlers read fields by bare name on every row: that needs no lower-case copy.
  if (std::none_of(name.begin(), name.end(), [](char c) { return c == '[' || c == '.'; })) {
    auto found = bare_.find(name);
    return found != bare_.end() ? found->second : kUnknown;
  }
  std::string lower = vb::LowerAscii(name);
  // "[Group]" and "Table.[Type]" name fields as the SQL text writes reserved words.
  if (lower.find('[') != std::string::npos) std::erase_if(lower, [](char c) { return c == '[' || c == ']'; });
  const size_t dot = lower.rfind('.');
  if (dot != std::string::npos) {
    const std::string qualifier = lower.substr(0, dot);
    const std::string column = lower.substr(dot + 1);
    auto alias = aliases_.find(qualifier);
    if (alias != aliases_.end()) {
      auto found = qualified_.find(alias->second + "." + column);
      if (found != qualified_.end()) return found->second;
    }
    auto found = qualified_.find(lower);
    if (found != qualified_.end()) return found->second;
  }
  auto found = bare_.find(lower);
  return found != bare_.end() ? found->second : kUnknown;
}

}  // namespace vob::data
