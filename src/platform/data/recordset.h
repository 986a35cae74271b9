// ADO-style recordsets: rows of a Jet-dialect query streamed from a connection, or rows kept in memory.
// Field names match without regard to case; over a join a duplicated name is reachable only as
// "Table.Column".
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/connection.h"
#include "platform/vb/variant.h"

namespace vob::data {

enum class CursorType { kForwardOnly = 0, kKeyset = 1, kDynamic = 2, kStatic = 3 };
enum class LockType { kReadOnly = 1, kPessimistic = 2, kOptimistic = 3, kBatchOptimistic = 4 };
// Field types of in-memory recordsets (the ADO DataTypeEnum numbers).
enum class FieldType { kCurrency = 6, kDate = 7, kBoolean = 11, kDouble = 5, kLong = 3, kText = 200 };

class RowCursor;  // the provider's row stream; row_cursor.h

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Runs the Jet-dialect SQL text over an open connection. Throws SqlError quoting the text when the
  // statement cannot be translated or the database rejects it. Stands on the first row (or at EOF).
  void Open(std::string_view sql, Connection& connection, CursorType cursor = CursorType::kForwardOnly,
            LockType lock = LockType::kReadOnly);
  // The same over a private connection opened from a connection string and closed with the recordset.
  void Open(std::string_view sql, std::string_view connection_string,
            CursorType cursor = CursorType::kForwardOnly, LockType lock = LockType::kReadOnly);

  int State() const;
  // Tells one opening of a statement from any other in the process: a new number at every Open, so a caller
  // may keep field indices for as long as it stays the same. 0 while closed.
  uint64_t open_serial() const;
  // REQUIRES: open. Closing a recordset that is not open is an error.
  void Close();

  bool eof() const;
  bool bof() const;
  void MoveNext();   // REQUIRES: not at EOF
  void MoveFirst();  // re-runs the statement of a SQL recordset; rewinds an in-memory one

  // The current row's value of a field; throws SqlError "Item cannot be found in the collection..." for an
  // unknown or ambiguous name, and at EOF or BOF.
  const vb::Variant& Fields(std::string_view name) const;
  // Resolve a name once, then read by index in a loop. Returns -1 for an unknown or ambiguous name.
  int FieldIndex(std::string_view name) const;
  const vb::Variant& Value(int index) const;
  // Every value of the current row at once, in field order, for a caller that takes whole rows; the same
  // checks as Value.
  std::span<const vb::Variant> CurrentValues() const;
  int FieldCount() const;
  // The name a field is known by: bare, or "Table.Column" where the bare name is ambiguous.
  const std::string& FieldName(int index) const;

  // In-memory recordsets: append fields, open without a connection, add rows, sort.
  void AppendField(std::string name, FieldType type, int defined_size = 0);
  void OpenInMemory();
  void AddNew();
  void SetValue(std::string_view name, vb::Variant value);  // on the row being added; text is padded
  void Update();
  // "A, B" or "A DESC, B": a stable sort of the rows, then stands on the first row.
  void Sort(std::string_view field_list);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vob::data
