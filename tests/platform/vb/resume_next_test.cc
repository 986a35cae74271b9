// Statements run with errors ignored: the failing one is skipped, the rest run, and what it would have set
// keeps its previous value.
#include "platform/vb/resume_next.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/vb/conversions.h"
#include "platform/vb/error.h"

namespace vob::vb {
namespace {

TEST(ResumeNext, SkipsOnlyTheFailingStatement) {
  struct Case {
    int failing;  // the statement that throws, -1 for none
    int expected[3];
  };
  static constexpr Case kCases[] = {
      {-1, {10, 20, 30}},
      {0, {1, 20, 30}},
      {1, {10, 2, 30}},
      {2, {10, 20, 3}},
  };
  for (const Case& c : kCases) {
    int values[3] = {1, 2, 3};
    // Each statement computes its value before assigning, as a handler's "x = CInt(...)" does.
    auto value_of = [&](int statement) { return c.failing == statement ? CInt(Variant(40000)) : 0; };
    ResumeNext([&] { values[0] = 10 + value_of(0); },  //
               [&] { values[1] = 20 + value_of(1); },  //
               [&] { values[2] = 30 + value_of(2); });
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(values[i], c.expected[i]) << "statement " << c.failing << " failing";
  }
}

TEST(ResumeNext, IgnoresEveryStandardException) {
  std::string text = "kept";
  int after = 0;
  ResumeNext([&] { text = std::string("abc").substr(5); },  // std::out_of_range
             [&] { throw std::runtime_error("any"); },      //
             [&] { Raise(kTypeMismatch); },                 //
             [&] { after = 1; });
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(after, 1);
}

}  // namespace
}  // namespace vob::vb
