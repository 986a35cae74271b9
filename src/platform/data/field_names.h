// Resolves the names a caller reads fields by: bare ("Name"), or qualified ("Customers.Name", with the table
// as the query writes it or as the database names it). Letter case never matters.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/data/backend.h"
#include "platform/vb/names.h"

namespace vob::data {

class FieldNames {
 public:
  static constexpr int kUnknown = -1;
  static constexpr int kAmbiguous = -2;

  FieldNames() = default;
  // `tables` maps the names the query gives its tables (aliases) to base tables.
  FieldNames(const std::vector<ColumnInfo>& columns, const std::vector<TableName>& tables);

  // The index of a field; kAmbiguous for a bare name that two tables of a join share, kUnknown when absent.
  // A column that a query selects twice from the same table ("T.*, T.Column") is one field, the first.
  int Find(std::string_view name) const;
  // The bare name, or "Table.Column" where the bare name is ambiguous.
  const std::string& Name(int index) const { return display_names_[static_cast<size_t>(index)]; }
  int size() const { return static_cast<int>(display_names_.size()); }

 private:
  int FindAnew(std::string_view name) const;

  std::vector<std::string> display_names_;
  vb::NameMap<int> bare_;                                 // column -> index or kAmbiguous, any case
  std::unordered_map<std::string, int> qualified_;        // lower-case "table.column" -> index
  std::unordered_map<std::string, std::string> aliases_;  // lower-case written name -> lower-case base table
  mutable vb::RecentNames<int, 16> recent_;               // a recordset is read by one thread at a time
};

}  // namespace vob::data
