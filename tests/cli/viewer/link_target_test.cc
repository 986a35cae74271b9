// Which run a followed hyperlink opens: its report, drill-down argument and what carries over.
#include "cli/viewer/link_target.h"

#include <gtest/gtest.h>

namespace vob::cli::viewer {
namespace {

TEST(FollowLink, OpensWhatTheHostOpens) {
  struct Case {
    std::string_view from_key, link, key, drilldown;
    bool keeps_params;
  };
  static constexpr Case kCases[] = {
      {"araging", "ACME0021", "araging", "ACME0021", true},      // the aging narrowed to the customer
      {"APAging", "GOLDEN0016", "APAging", "GOLDEN0016", true},  // keys compare without case
      {"activity", "1010", "activity", "1010", true},            // the activity narrowed to the account
      {"trbalance", "1010", "activity", "1010", false},          // an account number elsewhere
      {"joblist", "R:jobinfo;J2023-005", "jobinfo", "J2023-005", false},
      {"joblist", "R:JobInfo;J2023-005", "jobinfo", "J2023-005", false},
      {"jobinfo", "R:jobinfo;J2023-002", "jobinfo", "J2023-002", true},  // the same report, another job
      {"joblist", "R:chaccts", "chaccts", "", false},
  };
  for (const Case& c : kCases) {
    RunOptions from;
    from.key = std::string(c.from_key);
    from.params = {"1=06/01/2024", "2=06/30/2024"};
    from.database = "Provider=SQLite;Data Source=books.sqlite;";
    from.currency_format = "#,##0.00";
    from.drilldown = "earlier";
    const std::optional<RunOptions> to = FollowLink(from, c.link);
    ASSERT_TRUE(to) << c.link;
    EXPECT_EQ(to->key, c.key) << c.link;
    EXPECT_EQ(to->drilldown, c.drilldown) << c.link;
    EXPECT_EQ(to->params, c.keeps_params ? from.params : std::vector<std::string>()) << c.link;
    EXPECT_EQ(to->database, from.database) << c.link;
    EXPECT_EQ(to->currency_format, from.currency_format) << c.link;
  }
}

TEST(FollowLink, LeadsNowhereFromAnEmptyLink) {
  static constexpr std::string_view kLinks[] = {"", "R:", "R:;J2023-005"};
  RunOptions from;
  from.key = "joblist";
  for (std::string_view link : kLinks) EXPECT_FALSE(FollowLink(from, link)) << link;
}

}  // namespace
}  // namespace vob::cli::viewer
