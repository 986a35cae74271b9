// libFuzzer target for the Jet SQL reader: tokenizer, parser and translator on both dialects, Like patterns,
// date literals, stored amounts and dates, connection strings. Refusals are SqlErrors; anything else aborts.
// A statement that translates must translate again to the same text, and a Like pattern must match itself
// when it has no wildcards.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/data/connection_string.h"
#include "platform/data/jet_date_literal.h"
#include "platform/data/jet_like.h"
#include "platform/data/jet_translator.h"
#include "platform/data/sql_error.h"
#include "platform/data/value_text.h"
#include "platform/vb/names.h"

namespace {

using namespace vob::data;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Knows one table, so that kinds (and PostgreSQL's lower()) come into play.
class OneTableCatalog : public Catalog {
 public:
  std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    if (!vob::vb::SameName(table, "T")) return std::nullopt;
    if (vob::vb::SameName(column, "Name")) return ValueKind::kText;
    if (vob::vb::SameName(column, "Amount")) return ValueKind::kCurrency;
    if (vob::vb::SameName(column, "Day")) return ValueKind::kDate;
    return std::nullopt;
  }
};

void CheckTranslation(std::string_view text) {
  OneTableCatalog catalog;
  for (SqlDialect dialect : {SqlDialect::kSqlite, SqlDialect::kPostgres}) {
    try {
      const TranslatedStatement first = TranslateJet(text, dialect, catalog);
      Check(first.sql.starts_with("SELECT "));
      Check(TranslateJet(text, dialect, catalog).sql == first.sql);
    } catch (const SqlError&) {
    }
  }
}

void CheckLike(std::string_view text) {
  try {
    const JetLikePattern pattern(text);
    pattern.Matches(text);
    Check(!pattern.ToRegex().empty());
    if (text.find_first_of("*?#[") == std::string_view::npos) Check(pattern.Matches(text));
  } catch (const SqlError&) {
  }
}

void CheckValues(std::string_view text) {
  if (std::optional<double> serial = ParseJetDateLiteral(text)) {
    Check(ParseIsoDateTime(FormatIsoDateTime(*serial)).has_value());
  }
  if (std::optional<double> serial = ParseIsoDateTime(text)) FormatIsoDateTime(*serial);
  if (std::optional<vob::vb::Currency> amount = ParseDecimalCurrency(text)) {
    Check(ParseDecimalCurrency(amount->ToString()) == amount);
  }
  try {
    ParseConnectionString(text);
  } catch (const SqlError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckTranslation(text);
  CheckLike(text);
  CheckValues(text);
  return 0;
}
