// Recordsets: a forward-streaming cursor over a SQL statement, or rows held in memory, behind one ADO
// surface. Errors quote the statement; misuse reads as ADO words it ("Operation is not allowed when the
// object is ...").
#include "platform/data/recordset.h"

#include <atomic>

#include "platform/data/backend.h"
#include "platform/data/field_names.h"
#include "platform/data/memory_rows.h"
#include "platform/data/sql_error.h"

namespace vob::data {
namespace {

constexpr const char* kNoCurrentRecord =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
    "current "
    "record.";
constexpr const char* kItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
constexpr const char* kNotUpdatable =
    "Current Recordset does not support updating. This may be a limitation of the provider, or of the "
    "selected "
    "locktype.";

std::atomic<uint64_t> last_open_serial{0};  // a recordset's open_serial comes from here

}  // namespace

struct Recordset::Impl {
  uint64_t open_serial = 0;
  bool is_open = false;
  bool is_memory = false;
  bool is_bof = true;
  bool is_eof = true;
  FieldNames names;

  // A SQL recordset. The session and the private connection outlive the cursor running on them.
  std::unique_ptr<Connection> private_connection;
  std::shared_ptr<Backend> backend;
  std::string sql;
  int command_timeout_seconds = 30;
  std::unique_ptr<RowCursor> cursor;
  std::vector<vb::Variant> row;

  // An in-memory recordset.
  MemoryRows memory;
  size_t position = 0;
  bool is_adding = false;

  void Run() {
    cursor.reset();
    std::vector<TableName> tables;
    cursor = backend->Open(sql, command_timeout_seconds, &tables);
    names = FieldNames(cursor->columns(), tables);
    Fetch();
    is_bof = is_eof;
  }

  void Fetch() {
    bool has_row = false;
    try {
      has_row = cursor->Next(row);
    } catch (const SqlError&) {
      cursor.reset();
      is_eof = true;
      throw;
    }
    if (!has_row) cursor.reset();  // lets the session run its next statement at once
    is_eof = !has_row;
  }

  const std::vector<vb::Variant>& CurrentRow() const {
    if (is_memory) return is_adding ? memory.pending_row() : memory.row(position);
    return row;
  }

  void RequireOpen(const char* operation) const {
    if (!is_open) {
      throw SqlError(std::string("Operation is not allowed when the object is closed (") + operation + ")",
                     sql);
    }
  }
  void RequireClosed(const char* operation) const {
    if (is_open) {
      throw SqlError(std::string("Operation is not allowed when the object is open (") + operation + ")",
                     sql);
    }
  }
  // Field reads check this on every value, so the message is built only to throw.
  bool HasCurrentRecord() const { return is_adding || !(is_bof || is_eof); }
  [[noreturn]] void FailNoCurrentRecord(const std::string& what) const {
    throw SqlError(std::string(kNoCurrentRecord) + " (" + what + ")", sql);
  }
  void RequireMemory(const char* operation) const {
    RequireOpen(operation);
    if (!is_memory) throw SqlError(std::string(kNotUpdatable) + " (" + operation + ")", sql);
  }
  void CommitPendingRow() {
    if (!is_adding) return;
    position = memory.CommitRow();
    is_adding = false;
    is_bof = is_eof = false;
  }
};

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

void Recordset::Open(std::string_view sql, Connection& connection, CursorType, LockType) {
  impl_->RequireClosed("Recordset.Open");
  impl_->sql = std::string(sql);
  if (connection.State() != kStateOpen) {
    throw SqlError("Operation is not allowed when the object is closed (the connection of Recordset.Open)",
                   impl_->sql);
  }
  // Every recordset is read-only and streams forward; MoveFirst re-runs the statement, so the cursor and lock
  // types the reports ask for are all served the same way.
  impl_->backend = connection.backend().shared_from_this();
  impl_->command_timeout_seconds = connection.command_timeout();
  impl_->is_memory = false;
  impl_->Run();
  impl_->is_open = true;
  impl_->open_serial = ++last_open_serial;
}

void Recordset::Open(std::string_view sql, std::string_view connection_string, CursorType cursor,
                     LockType lock) {
  impl_->RequireClosed("Recordset.Open");
  auto connection = std::make_unique<Connection>();
  connection->set_connection_string(std::string(connection_string));
  connection->Open();
  Open(sql, *connection, cursor, lock);
  impl_->private_connection = std::move(connection);
}

int Recordset::State() const {
  return impl_->is_open ? kStateOpen : kStateClosed;
}

uint64_t Recordset::open_serial() const {
  return impl_->open_serial;
}

void Recordset::Close() {
  impl_->RequireOpen("Recordset.Close");
  std::unique_ptr<Connection> private_connection = std::move(impl_->private_connection);
  impl_ = std::make_unique<Impl>();  // the cursor goes before the session it runs on
  if (private_connection) private_connection->Close();
}

bool Recordset::eof() const {
  impl_->RequireOpen("EOF");
  return impl_->is_eof;
}

bool Recordset::bof() const {
  impl_->RequireOpen("BOF");
  return impl_->is_bof;
}

void Recordset::MoveNext() {
  impl_->RequireOpen("MoveNext");
  if (impl_->is_eof) throw SqlError(std::string(kNoCurrentRecord) + " (MoveNext)", impl_->sql);
  impl_->is_bof = false;
  if (impl_->is_memory) {
    impl_->CommitPendingRow();
    ++impl_->position;
    impl_->is_eof = impl_->position >= impl_->memory.row_count();
    return;
  }
  impl_->Fetch();
}

void Recordset::MoveFirst() {
  impl_->RequireOpen("MoveFirst");
  if (impl_->is_memory) {
    impl_->CommitPendingRow();
    impl_->position = 0;
    impl_->is_bof = impl_->is_eof = impl_->memory.row_count() == 0;
    return;
  }
  impl_->Run();
}

const vb::Variant& Recordset::Fields(std::string_view name) const {
  impl_->RequireOpen("Fields");
  const int index = impl_->names.Find(name);
  if (index < 0) {
    const char* why = index == FieldNames::kAmbiguous ? " (two tables have it: name it as Table.Column)" : "";
    throw SqlError(std::string(kItemNotFound) + " Field \"" + std::string(name) + "\"" + why, impl_->sql);
  }
  if (!impl_->HasCurrentRecord()) impl_->FailNoCurrentRecord("Field \"" + std::string(name) + "\"");
  return impl_->CurrentRow()[static_cast<size_t>(index)];
}

int Recordset::FieldIndex(std::string_view name) const {
  impl_->RequireOpen("Fields");
  return std::max(impl_->names.Find(name), -1);
}

const vb::Variant& Recordset::Value(int index) const {
  const Impl& impl = *impl_;
  impl.RequireOpen("Fields");
  if (index < 0 || index >= impl.names.size()) {
    throw SqlError(std::string(kItemNotFound) + " Field index " + std::to_string(index), impl.sql);
  }
  if (!impl.HasCurrentRecord()) impl.FailNoCurrentRecord("Field \"" + impl.names.Name(index) + "\"");
  return impl.CurrentRow()[static_cast<size_t>(index)];
}

std::span<const vb::Variant> Recordset::CurrentValues() const {
  const Impl& impl = *impl_;
  impl.RequireOpen("Fields");
  if (!impl.HasCurrentRecord()) impl.FailNoCurrentRecord("Fields");
  return impl.CurrentRow();
}

int Recordset::FieldCount() const {
  return impl_->is_memory ? impl_->memory.field_count() : impl_->names.size();
}

const std::string& Recordset::FieldName(int index) const {
  if (index < 0 || index >= FieldCount()) {
    throw SqlError(std::string(kItemNotFound) + " Field index " + std::to_string(index), impl_->sql);
  }
  return impl_->is_memory ? impl_->memory.names().Name(index) : impl_->names.Name(index);
}

void Recordset::AppendField(std::string name, FieldType type, int defined_size) {
  impl_->RequireClosed("Fields.Append");
  impl_->memory.AppendField(std::move(name), type, defined_size);
}

void Recordset::OpenInMemory() {
  impl_->RequireClosed("Recordset.Open");
  if (impl_->memory.field_count() == 0) throw SqlError("an in-memory recordset needs fields before it opens");
  impl_->is_memory = true;
  impl_->is_open = true;
  impl_->open_serial = ++last_open_serial;
  impl_->names = impl_->memory.names();
  impl_->is_bof = impl_->is_eof = true;
}

void Recordset::AddNew() {
  impl_->RequireMemory("AddNew");
  impl_->CommitPendingRow();
  impl_->memory.BeginRow();
  impl_->is_adding = true;
}

void Recordset::SetValue(std::string_view name, vb::Variant value) {
  impl_->RequireMemory("Field.Value");
  const int index = impl_->names.Find(name);
  if (index < 0) throw SqlError(std::string(kItemNotFound) + " Field \"" + std::string(name) + "\"");
  if (!impl_->is_adding)
    throw SqlError(std::string(kNotUpdatable) + " (Field \"" + std::string(name) + "\")");
  impl_->memory.SetValue(index, std::move(value));
}

void Recordset::Update() {
  impl_->RequireMemory("Update");
  impl_->CommitPendingRow();
}

void Recordset::Sort(std::string_view field_list) {
  impl_->RequireMemory("Sort");
  impl_->CommitPendingRow();
  impl_->memory.Sort(field_list);
  impl_->position = 0;
  impl_->is_bof = impl_->is_eof = impl_->memory.row_count() == 0;
}

}  // namespace vob::data
