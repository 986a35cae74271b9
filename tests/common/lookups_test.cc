#include "common/lookups.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "platform/data/sql_error.h"
#include "settings/report_settings.h"

namespace vob {
namespace {

class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ =
        std::filesystem::temp_directory_path() / ("vob-lookups-" + std::to_string(::getpid()) + ".sqlite");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, R"sql(
      CREATE TABLE Terms (TermCode TEXT COLLATE NOCASE, Description TEXT COLLATE NOCASE);
      INSERT INTO Terms VALUES ('N30', 'Net 30 days');
      CREATE TABLE libMessages (MessageNo LONG, MessageText TEXT COLLATE NOCASE);
      INSERT INTO libMessages VALUES (7, 'Thank you for your business'), (-2, 'Negative');
    )sql",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    Settings().ConnString = "Provider=SQLite;Data Source=" + path_.string() + ";";
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::filesystem::path path_;
};

// Codes with a row and without, and a Null description, show in the documents' tests, and the default check
// style in the checks'; here the edges.
TEST_F(LookupsTest, ReadOneTextOrNothing) {
  EXPECT_EQ(GetTermsDescription("n30"), "Net 30 days");  // text compares without regard to case
  EXPECT_EQ(GetTermsDescription("it's"), "");            // the quote breaks the SQL; the failure is ignored
  EXPECT_EQ(GetMessageText(-2), "Negative");
}

TEST_F(LookupsTest, EmptyKeysNeverTouchTheDatabaseButBadConnectionsFail) {
  Settings().ConnString = "";
  EXPECT_EQ(GetTermsDescription(""), "");
  EXPECT_EQ(GetMessageText(0), "");
  EXPECT_THROW(GetTermsDescription("N30"), data::SqlError);
  EXPECT_THROW(GetMessageText(7), data::SqlError);
}

TEST_F(LookupsTest, SharedConnectionReopensWithThePersistSuffix) {
  OpenSharedConnection();
  OpenSharedConnection();  // an open shared connection is closed and opened again
  ASSERT_NE(Settings().SharedConnection, nullptr);
  EXPECT_EQ(Settings().SharedConnection->State(), data::kStateOpen);
  EXPECT_EQ(Settings().SharedConnection->connection_string(),
            Settings().ConnString + "Persist Security Info=False;");
  EXPECT_EQ(Settings().SharedConnection->command_timeout(), 30);
  Settings().SharedConnection->Close();
}

}  // namespace
}  // namespace vob
