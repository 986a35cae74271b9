#include "platform/data/backend_pool.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/data/connection.h"
#include "platform/data/recordset.h"
#include "test_database.h"

namespace vob::data {
namespace {

using testing::BackendKind;
using testing::TestDatabase;

class BackendPoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database_.Exec("CREATE TABLE Customers (CustomerID TEXT PRIMARY KEY, Name TEXT)");
    database_.Exec("INSERT INTO Customers VALUES ('C1', 'Ames'), ('C2', 'Bell'), ('C3', 'Cole')");
    params_ = ParseConnectionString(database_.connection_string());
  }

  std::shared_ptr<Backend> Acquire() { return AcquireBackend(params_, "", "", 15, 30); }

  TestDatabase database_{BackendKind::kSqlite};
  ConnectionParams params_;
};

TEST_F(BackendPoolTest, AThreadSharesItsSqliteSessionAndOtherThreadsGetTheirOwn) {
  std::shared_ptr<Backend> first = Acquire();
  std::shared_ptr<Backend> second = Acquire();
  EXPECT_EQ(first, second);

  std::shared_ptr<Backend> elsewhere;
  std::thread([&] {
    elsewhere = Acquire();
    ReleaseBackend(Acquire());  // shares the thread's own session, which stays busy
  }).join();
  EXPECT_NE(elsewhere, first);

  Backend* shared = first.get();
  ReleaseBackend(std::move(second));
  ReleaseBackend(std::move(first));
  // Released by both holders, the session went back to the pool: the next acquire reuses it.
  std::shared_ptr<Backend> again = Acquire();
  EXPECT_TRUE(again.get() == shared || again == elsewhere);
  ReleaseBackend(std::move(again));
  ReleaseBackend(std::move(elsewhere));
}

// A subreport reads on the report's session while the report's own query is still open, the same statement
// text included: each reads its own rows.
TEST_F(BackendPoolTest, NestedRecordsetsOnASharedSessionReadTheirOwnRows) {
  const std::string sql = "Select Name from Customers order by Name";
  Recordset outer;
  outer.Open(sql, database_.connection_string());
  std::string names;
  while (!outer.eof()) {
    Recordset inner;
    inner.Open(sql, database_.connection_string());
    int count = 0;
    for (; !inner.eof(); inner.MoveNext()) ++count;
    EXPECT_EQ(count, 3);
    inner.Close();
    names += outer.Fields("Name").str();
    outer.MoveNext();
  }
  EXPECT_EQ(names, "AmesBellCole");
}

}  // namespace
}  // namespace vob::data
