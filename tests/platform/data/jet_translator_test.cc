// The translator's output for the constructs the reports write, on both dialects, and what it refuses.
#include "platform/data/jet_translator.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/data/jet_tokenizer.h"
#include "platform/data/sql_error.h"
#include "platform/vb/names.h"

namespace vob::data {
namespace {

class FakeCatalog : public Catalog {
 public:
  std::optional<ValueKind> ColumnKind(std::string_view table, std::string_view column) override {
    static const std::map<std::string, std::map<std::string, ValueKind>> kTables = {
        {"gldetail", {{"accountno", ValueKind::kText}, {"amount", ValueKind::kCurrency}}},
        {"glheader",
         {{"accountno", ValueKind::kText}, {"group", ValueKind::kText}, {"id", ValueKind::kLong}}},
        {"checks", {{"default", ValueKind::kBoolean}, {"checkdate", ValueKind::kDate}}},
        {"invoices", {{"invoiceno", ValueKind::kLong}, {"customerid", ValueKind::kText}}},
        {"customers", {{"customerid", ValueKind::kText}, {"name", ValueKind::kText}}},
    };
    std::string lower_table(table), lower_column(column);
    for (char& c : lower_table) c = static_cast<char>(std::tolower(c));
    for (char& c : lower_column) c = static_cast<char>(std::tolower(c));
    auto found = kTables.find(lower_table);
    if (found == kTables.end() || !found->second.contains(lower_column)) return std::nullopt;
    return found->second.at(lower_column);
  }
  std::optional<std::string> KeyColumn(std::string_view table) override {
    if (vb::SameName(table, "Invoices")) return "InvoiceNo";
    if (vb::SameName(table, "Customers")) return "CustomerID";
    return std::nullopt;
  }
};

// Rows that tie on the ORDER BY are sorted further by each keyed table's key, in FROM order, so both
// databases give them in one order; statements whose rows are not table rows get nothing.
TEST(JetTranslator, BreaksOrderTiesByTheTablesKeys) {
  struct Case {
    const char* jet;
    const char* sqlite_order;  // the SQLite text from " ORDER BY" on, or "" for none
    const char* postgres_order;
  };
  const Case cases[] = {
      {"Select * from Invoices order by CustomerID",
       R"( ORDER BY "CustomerID" COLLATE NOCASE, "Invoices"."InvoiceNo")",
       R"( ORDER BY lower("customerid") ASC NULLS FIRST, "invoices"."invoiceno" ASC NULLS FIRST)"},
      {"Select c.Name, Invoices.* from Customers c inner join (GLDetail inner join Invoices on "
       "GLDetail.AccountNo = Invoices.CustomerID) on c.CustomerID = Invoices.CustomerID order by c.Name DESC",
       R"( ORDER BY "c"."Name" COLLATE NOCASE DESC, "c"."CustomerID" COLLATE NOCASE, "Invoices"."InvoiceNo")",
       R"( ORDER BY lower("c"."name") DESC NULLS LAST, lower("c"."customerid") ASC NULLS FIRST, "invoices"."invoiceno" ASC NULLS FIRST)"},
      {"Select TOP 3 * from Invoices order by 2", R"( ORDER BY 2, "Invoices"."InvoiceNo" LIMIT 3)",
       R"( ORDER BY 2, "invoices"."invoiceno" ASC NULLS FIRST LIMIT 3)"},
      {"Select * from GLDetail order by AccountNo", R"( ORDER BY "AccountNo" COLLATE NOCASE)",
       R"( ORDER BY lower("accountno") ASC NULLS FIRST)"},
      {"Select * from Invoices", "", ""},
      {"Select distinct CustomerID from Invoices order by CustomerID",
       R"( ORDER BY "CustomerID" COLLATE NOCASE)", R"( ORDER BY "customerid" ASC NULLS FIRST)"},
      {"Select CustomerID, Count(*) from Invoices group by CustomerID order by CustomerID",
       R"( ORDER BY "CustomerID" COLLATE NOCASE)", R"( ORDER BY lower("customerid") ASC NULLS FIRST)"},
      {"Select Max(InvoiceNo) from Invoices order by 1", " ORDER BY 1", " ORDER BY 1"},
  };
  FakeCatalog catalog;
  for (const Case& c : cases) {
    for (const auto& [dialect, expected] : {std::pair{SqlDialect::kSqlite, c.sqlite_order},
                                            std::pair{SqlDialect::kPostgres, c.postgres_order}}) {
      const std::string sql = TranslateJet(c.jet, dialect, catalog).sql;
      const size_t order = sql.find(" ORDER BY");
      EXPECT_EQ(order == std::string::npos ? "" : sql.substr(order), expected) << c.jet;
    }
  }
}

TEST(JetTranslator, TranslatesForEachDialect) {
  struct Case {
    const char* jet;
    const char* sqlite;
    const char* postgres;
  };
  const Case cases[] = {
      {"SELECT *  from GLHeader order by AccountNo; ",
       R"(SELECT * FROM "GLHeader" ORDER BY "AccountNo" COLLATE NOCASE)",
       R"(SELECT * FROM "glheader" ORDER BY lower("accountno") ASC NULLS FIRST)"},
      {"Select GLHeader.[Group], Id from GLHeader where ((GLHeader.AccountNo) Between '1' And '2') order by "
       "Id DESC",
       R"(SELECT "GLHeader"."Group", "Id" FROM "GLHeader" WHERE ("GLHeader"."AccountNo" COLLATE NOCASE BETWEEN '1' AND '2') ORDER BY "Id" DESC)",
       R"(SELECT "glheader"."group", "id" FROM "glheader" WHERE (lower("glheader"."accountno") BETWEEN lower($1) AND lower($2)) ORDER BY "id" DESC NULLS LAST)"},
      {"SELECT h.*, d.Amount FROM (GLHeader AS h INNER JOIN GLDetail d ON h.AccountNo = d.AccountNo) WHERE "
       "Id In (1, 2)",
       R"(SELECT "h".*, "d"."Amount" FROM ("GLHeader" AS "h" INNER JOIN "GLDetail" AS "d" ON ("h"."AccountNo" COLLATE NOCASE = "d"."AccountNo")) WHERE ("Id" IN (1, 2)))",
       R"(SELECT "h".*, "d"."amount" FROM ("glheader" AS "h" INNER JOIN "gldetail" AS "d" ON (lower("h"."accountno") = lower("d"."accountno"))) WHERE ("id" IN (1, 2)))"},
      {"Select * from Checks where Default = true and CheckDate >= #1/5/24 2:30 PM#",
       R"(SELECT * FROM "Checks" WHERE (("Default" <> 0) AND ("CheckDate" >= '2024-01-05 14:30:00')))",
       R"(SELECT * FROM "checks" WHERE (("default" = TRUE) AND ("checkdate" >= TIMESTAMP '2024-01-05 14:30:00')))"},
      {"Select * from GLHeader where AccountNo Not Like 'A?[!0-9]*#'",
       R"(SELECT * FROM "GLHeader" WHERE (NOT jet_like("AccountNo", 'A?[!0-9]*#')))",
       R"(SELECT * FROM "glheader" WHERE (CAST("accountno" AS text) !~* '^a.[^0-9].*[0-9]$'))"},
      {"Select Sum(Amount), Left(AccountNo, 2) & '-' AS Prefix, Amount / 2 from GLDetail group by AccountNo, "
       "Amount",
       R"(SELECT sum("Amount") AS "Expr1000", (coalesce(substr("AccountNo", 1, 2), '') || coalesce('-', '')) AS "Prefix", (CAST("Amount" AS REAL) / 2) AS "Expr1001" FROM "GLDetail" GROUP BY "AccountNo", "Amount")",
       R"(SELECT sum("amount") AS "expr1000", concat(left("accountno", 2), '-') AS "prefix", (CAST("amount" AS double precision) / 2) AS "expr1001" FROM "gldetail" GROUP BY "accountno", "amount")"},
      {"Select TOP 5 IIf(Nz(Id) > 0, 'yes', 'no') from GLHeader where Not (Id Is Null) order by 1",
       R"(SELECT CASE WHEN (coalesce("Id", 0) > 0) THEN 'yes' ELSE 'no' END AS "Expr1000" FROM "GLHeader" WHERE (NOT ("Id" IS NULL)) ORDER BY 1 LIMIT 5)",
       R"(SELECT CASE WHEN (coalesce("id", 0) > 0) THEN 'yes' ELSE 'no' END AS "expr1000" FROM "glheader" WHERE (NOT ("id" IS NULL)) ORDER BY 1 LIMIT 5)"},
  };
  FakeCatalog catalog;
  for (const Case& c : cases) {
    const TranslatedStatement sqlite = TranslateJet(c.jet, SqlDialect::kSqlite, catalog);
    EXPECT_EQ(sqlite.sql, c.sqlite) << c.jet;
    EXPECT_EQ(TranslateJet(c.jet, SqlDialect::kPostgres, catalog).sql, c.postgres) << c.jet;
  }
  // Texts compared without regard to case travel as parameters, so that lookups by other keys share a plan.
  const TranslatedStatement lookup =
      TranslateJet("Select * from GLHeader where AccountNo = 'It''s' or Id = 2 or AccountNo In ('a', 'b')",
                   SqlDialect::kPostgres, catalog);
  EXPECT_EQ(lookup.sql,
            R"(SELECT * FROM "glheader" WHERE (((lower("accountno") = lower($1)) OR ("id" = 2)) OR )"
            R"((lower("accountno") IN (lower($2), lower($3)))))");
  EXPECT_EQ(lookup.parameters, (std::vector<std::string>{"It's", "a", "b"}));
  EXPECT_TRUE(TranslateJet("Select * from GLHeader where AccountNo = 'x'", SqlDialect::kSqlite, catalog)
                  .parameters.empty());
  const TranslatedStatement kinds = TranslateJet(
      "Select Sum(Amount), Count(*), AccountNo, Amount * 2.5 from GLDetail", SqlDialect::kSqlite, catalog);
  EXPECT_EQ(kinds.computed_kinds,
            (std::vector<ValueKind>{ValueKind::kCurrency, ValueKind::kLong, ValueKind::kDouble}));
}

TEST(JetTranslator, RefusesWhatItDoesNotKnow) {
  struct Case {
    const char* jet;
    const char* message;
  };
  const Case cases[] = {
      {"", "empty SQL text at column 1 near \"end of text\""},
      {"INSERT INTO GLHeader VALUES (1)",
       "only SELECT statements can run, not \"INSERT\" at column 1 near \"INSERT\""},
      {"Select * from GLHeader union Select * from GLDetail",
       "UNION is not supported at column 24 near \"union\""},
      {"Select * from GLHeader where Id In (Select Id from GLDetail)",
       "subqueries are not supported at column 37 near \"Select\""},
      {"Select * from GLHeader where Id = ?", "query parameters (?) are not supported, at column 35"},
      {"Select * from GLHeader where Id = 1 ^ 2",
       "the power operator (^) is not supported at column 37 near \"^\""},
      {"Select StrConv(AccountNo, 1) from GLHeader", "unsupported function \"StrConv\" at column 8"},
      {"Select Left(AccountNo) from GLHeader", "function Left takes 2 arguments, not 1 at column 8"},
      {"Select * from GLHeader where Sum() > 0", "function Sum takes 1 arguments, not 0 at column 30"},
      {"Select * from GLHeader where IIf(1) = 'a'", "function IIf takes 3 arguments, not 1 at column 30"},
      {"Select * from GLHeader where AccountNo Like 'A[B'",
       "invalid Like pattern 'A[B': unclosed '[' at column 45"},
      {"Select * from GLHeader where CheckDate = ##", "invalid date literal ## at column 42 near \"##\""},
      {"Select * from GLHeader where CheckDate = #1/5/2024",
       "unterminated date literal starting at column 42"},
      {"Select * from [GLHeader where", "unterminated bracketed name starting at column 15"},
      {"Select * from GLHeader FULL JOIN GLDetail ON 1 = 1",
       "only INNER, LEFT and RIGHT joins are supported at column 24 near \"FULL\""},
      {"Select * GLHeader", "text after the end of the statement at column 10: \"GLHeader\""},
      {"Select * from GLHeader where", "expected a value at column 29 near \"end of text\""},
  };
  FakeCatalog catalog;
  // Nesting is bounded, so that text built to exhaust the stack fails like any other bad text.
  const std::string deep_parentheses = "Select * from GLHeader where " + std::string(300, '(') + "1";
  const std::string many_signs = "Select 1" + std::string(300, '+') + "1 from GLHeader";
  std::string long_chain = "Select 1";
  for (int i = 0; i < 300; ++i) long_chain += "+1";
  for (const std::string& jet : {deep_parentheses, many_signs, long_chain + " from GLHeader"}) {
    EXPECT_THROW(TranslateJet(jet, SqlDialect::kSqlite, catalog), SqlError);
  }
  for (const Case& c : cases) {
    try {
      TranslateJet(c.jet, SqlDialect::kPostgres, catalog);
      ADD_FAILURE() << "translated: " << c.jet;
    } catch (const SqlError& error) {
      EXPECT_EQ(error.what(), std::string(c.message) + (*c.jet ? std::string(" in: ") + c.jet : "")) << c.jet;
    }
  }
}

}  // namespace
}  // namespace vob::data
