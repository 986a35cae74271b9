// The kept answers of look-ups by name: found again only by the same name at the same address, the oldest
// given up first.
#include "platform/vb/names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vob::vb {
namespace {

TEST(RecentNames, KeepsNamesUsedTogetherAndChecksTheirBytes) {
  // Names packed side by side, as a handler's literals are: each kept, none pushes another out.
  const std::string packed = "txtCredit|txtDebit|txtA|txtB|txtC|txtD|txtE|txtF|txtG";
  std::vector<std::string_view> names;
  for (size_t begin = 0; begin < packed.size();) {
    size_t end = std::min(packed.find('|', begin), packed.size());
    names.push_back(std::string_view(packed).substr(begin, end - begin));
    begin = end + 1;
  }
  RecentNames<int, 8> recent;
  EXPECT_EQ(recent.Find(""), nullptr) << "an empty name before anything is kept";
  for (int i = 0; i < 8; ++i) recent.Keep(names[i], i);
  for (int i = 0; i < 8; ++i) {
    const int* found = recent.Find(names[i]);
    ASSERT_NE(found, nullptr) << names[i];
    EXPECT_EQ(*found, i) << names[i];
  }

  // The ninth gives up the oldest.
  recent.Keep(names[8], 8);
  EXPECT_EQ(recent.Find(names[0]), nullptr);
  ASSERT_NE(recent.Find(names[8]), nullptr);
  EXPECT_EQ(*recent.Find(names[1]), 1);

  // The same bytes elsewhere are another name to this cache, and other bytes at the same place are not found.
  const std::string copy(names[1]);
  EXPECT_EQ(recent.Find(copy), nullptr);
  std::string buffer = "txtDebit";
  recent.Keep(buffer, 42);
  buffer = "txtDebiT";
  EXPECT_EQ(recent.Find(buffer), nullptr);
  buffer = "txtDebit";
  EXPECT_EQ(*recent.Find(buffer), 42);

  recent.Clear();
  EXPECT_EQ(recent.Find(names[8]), nullptr);
}

}  // namespace
}  // namespace vob::vb
