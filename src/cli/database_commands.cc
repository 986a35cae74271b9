// `vobreports demo-db` and `vobreports sql`: create the demo company database and query a database.
// sql reads through the data layer, so it answers exactly as a report's recordset would, field names
// included.
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "framework/schema/demo_database.h"
#include "framework/schema/iso_date.h"
#include "framework/schema/postgres_loader.h"
#include "framework/schema/sqlite_loader.h"
#include "platform/data/recordset.h"
#include "platform/data/value_text.h"
#include "platform/vb/date.h"

namespace vob::cli {
namespace {

struct DemoDbOptions {
  std::string file, postgres, date;
  int scale = 1;
  bool is_empty = false;
};

void RunDemoDb(const DemoDbOptions& options) {
  if (options.file.empty() && options.postgres.empty()) {
    throw CLI::ValidationError("demo-db", "name a FILE to write or --postgres CONNSTRING");
  }
  const double date = *schema::ParseIsoDate(options.date.empty() ? schema::kDemoBookDate : options.date);
  const schema::DemoOptions demo{options.scale, date};
  const auto start = std::chrono::steady_clock::now();
  const schema::LoadSummary summary = options.file.empty()
                                          ? schema::LoadDemoPostgres(options.postgres, demo, options.is_empty)
                                          : schema::WriteDemoSqlite(options.file, demo, options.is_empty);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  const std::string target = options.file.empty() ? "PostgreSQL" : options.file;
  if (options.is_empty) {
    std::cout << fmt::format("demo-db: wrote the empty schema to {}: {} tables ({:.2f} s)\n", target,
                             summary.tables, seconds.count());
  } else {
    std::cout << fmt::format("demo-db: wrote {}: {} tables, {} rows, scale {}, books up to {} ({:.2f} s)\n",
                             target, summary.tables, summary.rows, options.scale, schema::FormatIsoDate(date),
                             seconds.count());
  }
}

// Appends text as a csv field: quoted when it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text) {
  static constexpr auto kNeedsQuotes = [] {
    std::array<bool, 256> needs{};
    for (unsigned char c : {',', '"', '\r', '\n'}) needs[c] = true;
    return needs;
  }();
  bool needs_quotes = false;
  for (char c : text) needs_quotes |= kNeedsQuotes[static_cast<unsigned char>(c)];
  if (!needs_quotes) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string JsonString(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Appends a value as csv or json writes it; dates in ISO form (separator ' ' in csv, 'T' in json), money
// exact. Rows are written straight into the output block: a query can return a million rows of many fields.
void AppendValue(std::string& out, const vb::Variant& value, bool is_json) {
  switch (value.type()) {
    case vb::VarType::kString:
      if (is_json) {
        out += JsonString(value.str());
      } else {
        AppendCsvField(out, value.str());
      }
      return;
    case vb::VarType::kInteger:
    case vb::VarType::kLong: {
      char digits[16];
      const int number = value.type() == vb::VarType::kInteger ? value.integer() : value.long_value();
      out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
      return;
    }
    case vb::VarType::kSingle:
    case vb::VarType::kDouble: {
      const double number = value.type() == vb::VarType::kSingle ? value.single() : value.dbl();
      if (!std::isfinite(number)) {
        out += is_json ? "null" : "";
      } else {
        fmt::format_to(std::back_inserter(out), "{}", number);
      }
      return;
    }
    case vb::VarType::kCurrency:
      out += value.currency().ToString();
      return;
    case vb::VarType::kDate:
      if (is_json) out += '"';
      data::AppendIsoDateTime(value.date_serial(), is_json ? 'T' : ' ', out);
      if (is_json) out += '"';
      return;
    case vb::VarType::kBoolean:
      out += value.boolean() ? "true" : "false";
      return;
    default:
      out += is_json ? "null" : "";
      return;
  }
}

// Output goes out in large blocks.
class BlockWriter {
 public:
  ~BlockWriter() { Flush(); }
  std::string& buffer() { return buffer_; }
  void FlushWhenFull() {
    if (buffer_.size() >= (1u << 16)) Flush();
  }
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
  }

 private:
  std::string buffer_;
};

void PrintRows(const std::string& connection, const std::string& format, const std::string& sql) {
  data::Recordset recordset;
  recordset.Open(sql, connection);
  const bool is_json = format == "json";
  const int field_count = recordset.FieldCount();
  std::vector<std::string> names;
  for (int i = 0; i < field_count; ++i) {
    std::string name;
    if (is_json) {
      name = JsonString(recordset.FieldName(i));
    } else {
      AppendCsvField(name, recordset.FieldName(i));
    }
    names.push_back(std::move(name));
  }
  BlockWriter writer;
  std::string& out = writer.buffer();
  if (is_json) {
    out += '[';
  } else {
    for (int i = 0; i < field_count; ++i) {
      if (i > 0) out += ',';
      out += names[static_cast<size_t>(i)];
    }
    out += '\n';
  }
  bool is_first_row = true;
  for (; !recordset.eof(); recordset.MoveNext()) {
    if (is_json) out += is_first_row ? "\n{" : ",\n{";
    for (int i = 0; i < field_count; ++i) {
      if (i > 0) out += ',';
      if (is_json) {
        out += names[static_cast<size_t>(i)];
        out += ':';
      }
      AppendValue(out, recordset.Value(i), is_json);
    }
    out += is_json ? '}' : '\n';
    is_first_row = false;
    writer.FlushWhenFull();
  }
  if (is_json) out += is_first_row ? "]\n" : "\n]\n";
  recordset.Close();
}

// The statements a `run --log-sql` wrote, one JSON string a line.
std::vector<std::string> ReadStatementLog(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error("--statements: cannot read " + path);
  std::vector<std::string> statements;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty()) continue;
    const nlohmann::json value = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!value.is_string()) {
      throw Error(fmt::format("--statements: {} line {} is not a JSON string", path, number));
    }
    statements.push_back(value.get<std::string>());
  }
  return statements;
}

void RunSql(const std::string& database, const std::string& format, const std::string& sql,
            const std::string& statements_path) {
  if (sql.empty() == statements_path.empty()) {
    throw UsageError("sql: give either SQL or --statements FILE");
  }
  const std::string connection = database.empty() ? schema::EnsureDemoDatabase().string() : database;
  if (statements_path.empty()) {
    PrintRows(connection, format, sql);
    return;
  }
  for (const std::string& statement : ReadStatementLog(statements_path))
    PrintRows(connection, format, statement);
}

}  // namespace

void RegisterDemoDbCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "demo-db",
      "Write the demo company: a new SQLite FILE (replaced if it exists) or a PostgreSQL database");
  auto options = std::make_shared<DemoDbOptions>();
  CLI::Option* file = command->add_option("FILE", options->file, "The SQLite file to write");
  CLI::Option* postgres =
      command->add_option("--postgres", options->postgres,
                          "Load into PostgreSQL instead (libpq string or URI); its tables are recreated");
  file->excludes(postgres);
  command->add_option("--scale", options->scale, "Size: 1 gives each report a few pages, 100 a benchmark")
      ->check(CLI::Range(1, 10000))
      ->capture_default_str();
  command->add_flag("--empty", options->is_empty, "Create the tables only, without rows");
  command
      ->add_option("--date", options->date,
                   "The day the books run up to, YYYY-MM-DD (default: " + std::string(schema::kDemoBookDate) +
                       ", the day the reports' examples are written for)")
      ->check(CLI::Validator(
          [](std::string& text) {
            return schema::ParseIsoDate(text) ? std::string() : "not a date as YYYY-MM-DD: " + text;
          },
          "YYYY-MM-DD"));
  command->callback([options] { RunDemoDb(*options); });
}

void RegisterSqlCommand(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("sql", "Run one Jet-dialect SELECT through the data layer and print the rows");
  auto database = std::make_shared<std::string>();
  auto format = std::make_shared<std::string>("csv");
  auto sql = std::make_shared<std::string>();
  command->add_option(
      "--db", *database,
      "Connection string or SQLite file (default: the demo database in the cache folder, created "
      "on first use)");
  command
      ->add_option("--format", *format,
                   "Output: csv (a header line, then rows) or json (an array of objects)")
      ->check(CLI::IsMember({"csv", "json"}))
      ->capture_default_str();
  auto statements = std::make_shared<std::string>();
  command->add_option("SQL", *sql, "The statement");
  command->add_option("--statements", *statements,
                      "Run instead, in order, each statement of FILE as `run --log-sql` writes them");
  command->callback([=] { RunSql(*database, *format, *sql, *statements); });
}

}  // namespace vob::cli
