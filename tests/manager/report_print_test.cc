// The print request a host hands over as text, and the checks a request passes before a report runs.
#include "manager/report_print.h"

#include <gtest/gtest.h>

namespace vob {
namespace {

TEST(ParsePrintOptions, ReadsNameValuePairs) {
  EXPECT_EQ(ParsePrintOptions("").copies, 1);
  const PrintRequest request =
      ParsePrintOptions(" copies = 2 ;sides=two-sided-long-edge\nPages=1-3,5;printer=Office Laser;wait=1;");
  EXPECT_EQ(request.copies, 2);
  EXPECT_EQ(request.sides, "two-sided-long-edge");
  EXPECT_EQ(request.pages, "1-3,5");
  EXPECT_EQ(request.printer, "Office Laser");
  EXPECT_TRUE(request.waits);
  EXPECT_FALSE(ParsePrintOptions("wait=0").waits);
}

TEST(ParsePrintOptions, RefusesWhatAPrinterCannotDoNamingIt) {
  //   options                      words the message holds
  const std::pair<const char*, const char*> kCases[] = {
      {"copies=0", "copies 0"},   {"copies=two", "\"two\""}, {"copies=2x", "\"2x\""},
      {"sides=both", "\"both\""}, {"pages=3-1", "\"3-1\""},  {"duplex=yes", "\"duplex\""},
      {"copies", "\"copies\""},   {"wait=yes", "\"yes\""},
  };
  for (const auto& [options, words] : kCases) {
    try {
      ParsePrintOptions(options);
      ADD_FAILURE() << options << " was accepted";
    } catch (const render::PrintError& error) {
      EXPECT_NE(std::string(error.what()).find(words), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace vob
