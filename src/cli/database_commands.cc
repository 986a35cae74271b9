// `vobreports demo-db` and `vobreports sql`: create the demo company database and query a database.
// sql reads through the data layer, so it answers exactly as a report's recordset would, field names
// included.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "framework/schema/demo_database.h"
#include "framework/schema/iso_date.h"
#include "framework/schema/postgres_loader.h"
#include "framework/schema/sqlite_loader.h"
#include "platform/data/recordset.h"
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

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string JsonString(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A value as csv or json writes it; dates in ISO form (separator ' ' in csv, 'T' in json), money exact.
std::string ValueText(const vb::Variant& value, bool is_json) {
  switch (value.type()) {
    case vb::VarType::kString:
      return is_json ? JsonString(value.str()) : CsvField(value.str());
    case vb::VarType::kInteger:
      return std::to_string(value.integer());
    case vb::VarType::kLong:
      return std::to_string(value.long_value());
    case vb::VarType::kSingle:
    case vb::VarType::kDouble: {
      const double number = value.type() == vb::VarType::kSingle ? value.single() : value.dbl();
      if (!std::isfinite(number)) return is_json ? "null" : "";
      return fmt::format("{}", number);
    }
    case vb::VarType::kCurrency:
      return value.currency().ToString();
    case vb::VarType::kDate: {
      const std::string iso = schema::FormatIsoDate(value.date_serial(), is_json ? 'T' : ' ');
      return is_json ? "\"" + iso + "\"" : iso;
    }
    case vb::VarType::kBoolean:
      return value.boolean() ? "true" : "false";
    default:
      return is_json ? "null" : "";
  }
}

// Output goes out in large blocks: a query can return a million rows.
class BlockWriter {
 public:
  ~BlockWriter() { Flush(); }
  void Write(const std::string& text) {
    buffer_ += text;
    if (buffer_.size() >= (1u << 16)) Flush();
  }
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
  }

 private:
  std::string buffer_;
};

void RunSql(const std::string& database, const std::string& format, const std::string& sql) {
  const std::string connection = database.empty() ? schema::EnsureDemoDatabase().string() : database;
  data::Recordset recordset;
  recordset.Open(sql, connection);
  const bool is_json = format == "json";
  const int field_count = recordset.FieldCount();
  std::vector<std::string> names;
  for (int i = 0; i < field_count; ++i) {
    names.push_back(is_json ? JsonString(recordset.FieldName(i)) : CsvField(recordset.FieldName(i)));
  }
  BlockWriter out;
  if (is_json) {
    out.Write("[");
  } else {
    std::string header;
    for (int i = 0; i < field_count; ++i) header += (i > 0 ? "," : "") + names[static_cast<size_t>(i)];
    out.Write(header + "\n");
  }
  bool is_first_row = true;
  for (; !recordset.eof(); recordset.MoveNext()) {
    std::string line = is_json ? (is_first_row ? "\n{" : ",\n{") : "";
    for (int i = 0; i < field_count; ++i) {
      if (is_json) line += (i > 0 ? "," : "") + names[static_cast<size_t>(i)] + ":";
      if (!is_json && i > 0) line += ",";
      line += ValueText(recordset.Value(i), is_json);
    }
    out.Write(is_json ? line + "}" : line + "\n");
    is_first_row = false;
  }
  out.Write(is_json ? (is_first_row ? "]\n" : "\n]\n") : "");
  recordset.Close();
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
  command->add_option("SQL", *sql, "The statement")->required();
  command->callback([=] { RunSql(*database, *format, *sql); });
}

}  // namespace vob::cli
