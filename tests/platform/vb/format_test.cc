#include "platform/vb/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/vb/date.h"
#include "platform/vb/error.h"

namespace vob::vb {
namespace {

struct Case {
  Variant value;
  std::string_view pattern;
  std::string_view expected;
};

Variant Money(int64_t ten_thousandths) {
  return Variant(Currency::FromRaw(ten_thousandths));
}

Variant At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return Variant::Date(DateSerial(year, month, day) + TimeSerial(hour, minute, second));
}

// The reference moment of the examples: Friday 2024-01-05 14:03:09.
Variant Reference() {
  return At(2024, 1, 5, 14, 3, 9);
}

void ExpectFormats(const std::vector<Case>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(Format(c.value, c.pattern), c.expected) << "case " << i << ", pattern \"" << c.pattern << '"';
  }
}

TEST(Format, AppliesNumericPatterns) {
  ExpectFormats({
      {1234.5, "#,##0.00", "1,234.50"},
      {-1234.5, "#,##0.00;(#,##0.00)", "(1,234.50)"},
      {1234.5, "#,##0.00 ;(#,##0.00)", "1,234.50 "},  // the blank lines positives up with "(...)"
      {Money(12345000), "#,##0.00 ;(#,##0.00)", "1,234.50 "},
      {Money(-12345000), "#,##0.00 ;(#,##0.00)", "(1,234.50)"},
      {Money(0), "#,##0.00 ;(#,##0.00)", "0.00 "},
      {1234.5, "$#,##0.00;($#,##0.00)", "$1,234.50"},
      {-1234.5, "$#,##0.00;($#,##0.00)", "($1,234.50)"},
      {-5.0, "$#,##0.00", "-$5.00"},
      {0.5, "#.00", ".50"},
      {5.0, "#.", "5."},
      {0.0, "#", ""},
      {0.0, "#.##", "."},
      {1.5, "0.##", "1.5"},
      {1.0, "0.##", "1."},
      {1.0, "0.0#", "1.0"},
      {1.25, "0.0#", "1.25"},
      {1000000.0, "#,##0", "1,000,000"},
      {-1234.0, "#,##0", "-1,234"},
      {5.0, "0,000", "0,005"},
      {0.5, "#,##0.00", "0.50"},
      {1234567.0, "#,##0,", "1,235"},  // a trailing comma shows thousands
      {1234567890.0, "#,##0,,", "1,235"},
      {1234567.0, "0,.0", "1234.6"},
      {int16_t{123}, "00000", "00123"},
      {123456.0, "00", "123456"},  // the first placeholder takes the extra digits
      {5551234.0, "###-####", "555-1234"},
      {123.0, "###-####", "-123"},  // literals print even where no digit reaches
      {123.0, "0:00", "1:23"},
      {5.0, "+0.00;-0.00", "+5.00"},
      {-5.0, "+0.00;-0.00", "-5.00"},
      {5.0, "0.00 \"CR\"", "5.00 CR"},
      {5.0, "0.00\\x", "5.00x"},
      {5.0, "[0]", "[5]"},
      {0.5, "0%", "50%"},
      {0.125, "0.0%", "12.5%"},
      {1234.5, "0.00E+00", "1.23E+03"},
      {0.00012345, "0.00E+00", "1.23E-04"},
      {1234.5, "0.00E-00", "1.23E03"},
      {0.00012345, "0.00e-00", "1.23e-04"},
      {-1234.5, "0.00E+00", "-1.23E+03"},
      {0.0, "0.00E+00", "0.00E+00"},
      {99999.0, "0.0E+0", "1.0E+5"},     // rounding carries into the exponent
      {1234.5, "##0.0E+0", "123.5E+1"},  // as many integer digits as integer placeholders
      {Variant(true), "0", "-1"},
      {Variant(), "0.00", "0.00"},
      {Variant::Date(45296.5), "0.00", "45296.50"},
      {"(1,234.50)", "0.00", "-1234.50"},
      {"$1,234.50 ", "#,##0", "1,235"},
      {"abc", "0.00", "abc"},
      {Money(std::numeric_limits<int64_t>::max()), "#,##0.0000", "922,337,203,685,477.5807"},
      {Money(std::numeric_limits<int64_t>::min()), "#,##0.0000", "-922,337,203,685,477.5808"},
      {Variant(std::numeric_limits<int32_t>::min()), "#,##0", "-2,147,483,648"},
      {1e20, "#,##0", "100,000,000,000,000,000,000"},
      {0.1 + 0.2, "0.00000000000000000", "0.30000000000000000"},  // 15 significant digits
      {Variant(0.1f), "0.000000000", "0.100000000"},              // a Single has 7
  });
}

TEST(Format, RoundsHalfAwayFromZeroOnTheDecimalForm) {
  ExpectFormats({
      {2.5, "0", "3"},
      {-2.5, "0", "-3"},
      {3.5, "0", "4"},
      {0.125, "0.00", "0.13"},
      {1.005, "0.00", "1.01"},  // binary 1.00499999... is 1.005 in 15 digits
      {1234.5, "0", "1235"},
      {-0.5, "0", "-1"},
      {0.4, "#", ""},
      {-0.4, "#", "-"},
      {9.995, "0.00", "10.00"},
      {Money(5), "0.000", "0.001"},  // 0.0005
      {Money(-5), "0.000", "-0.001"},
      {Money(4), "0.000", "0.000"},
  });
}

// A double's 15-digit decimal form, whether it is a whole number of hundredths or ten-thousandths (read
// directly) or anything else: the same digits as printf's correctly rounded "%.14e".
TEST(Format, ReadsADoubleAsItsFifteenDigitForm) {
  std::mt19937_64 random(26);
  std::vector<double> values = {0.1,    0.3,    1.005, 9.995, 1e15 - 1, 1e15, 123456789012.34,
                                0.0001, 2.5e-5, 1e300};
  for (int i = 0; i < 3000; ++i) {
    const auto n = static_cast<int64_t>(random() % 2000000000000) - 1000000000000;
    values.push_back(static_cast<double>(n) / 100);
    values.push_back(static_cast<double>(n % 100000000) / 10000);
    values.push_back(static_cast<double>(n) * 0.37);
  }
  for (double value : values) {
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.14e", value);
    // "0.00000000000000E+00" gives the same 15 digits and exponent, in the report's own format language.
    std::string formatted = Format(Variant(value), "0.00000000000000E+00");
    std::string printed = expected;
    printed.replace(printed.find('e'), 1, "E");
    EXPECT_EQ(formatted, printed) << value;
  }
}

TEST(Format, ChoosesTheSectionByTheValueBeforeRounding) {
  ExpectFormats({
      {-0.001, "0.00", "-0.00"},
      {-0.001, "0.00;(0.00)", "(0.00)"},
      {0.0, "0.00;(0.00);\"zero\"", "zero"},
      {0.001, "0.00;(0.00);\"zero\"", "0.00"},  // the zero section is for an exact zero
      {0.0, "0.00;(0.00)", "0.00"},
      {Variant(false), "0.00;(0.00);\"zero\"", "zero"},
      {Variant(), "0;(0);\"empty\"", "empty"},
      {-5.0, "0.00;;\"zero\"", "-5.00"},  // an empty negative section borrows the first with a "-"
      {0.0, "0.00;(0.00);", "0.00"},      // an empty zero section borrows the first
      {5.0, ";(0.00)", "5"},              // an empty first section prints the general form
      {-5.0, ";(0.00)", "(5.00)"},
      {Variant::Null(), "0.00", ""},
      {Variant::Null(), "0;(0);0;\"none\"", "none"},
      {Variant::Null(), "0;(0);0;", ""},  // an empty Null section counts as none
      {5.0, "\"n/a\"", "n/a"},            // a section without placeholders prints its literals only
      {-5.0, "\"n/a\"", "-n/a"},
  });
}

TEST(Format, PinsTheLenientNumericChoices) {
  ExpectFormats({
      {0.5, "0%%", "5000%%"},   // each "%" multiplies by 100
      {5.0, ",0", ",5"},        // a comma before every placeholder prints
      {1.5, "0.0,0", "1.5,0"},  // and so does one after the point
      {5.0, "0 x", "5 x"},      // letters that are no date token print as they stand
      {5.0, "0 E", "5 E"},      // "E" without a sign is a letter
      {5.0, "0 tt", "5 tt"},    // fewer than five "t" are letters
      {1.5, ".00", "1.50"},     // digits before the point go where the point is
      {0.5, ".00", ".50"},
  });
}

TEST(Format, AppliesDateAndTimePatterns) {
  ExpectFormats({
      {Reference(), "mm/dd/yy", "01/05/24"},
      {Reference(), "mmmm dd, yyyy", "January 05, 2024"},
      {Reference(), "dd mmmm yyyy", "05 January 2024"},
      {Reference(), "ddddd ttttt", "1/5/2024 2:03:09 PM"},
      {Reference(), "h:nn AM/PM", "2:03 PM"},
      {Reference(), "MM/DD/YY", "01/05/24"},
      {Reference(), "m/d/yyyy", "1/5/2024"},
      {Reference(), "mmm", "Jan"},
      {Reference(), "d ddd dddd", "5 Fri Friday"},
      {Reference(), "dddddd", "Friday, January 5, 2024"},
      {Reference(), "w ww q y yy yyyy", "6 1 1 5 24 2024"},
      {Reference(), "yyy", "245"},  // "yy" then "y"
      {Reference(), "h hh n nn s ss", "14 14 3 03 9 09"},
      {Reference(), "hh:mm:ss", "14:03:09"},  // "m" after an hour is the minute
      {Reference(), "h \"h\" m", "14 h 3"},   // literals between keep it so
      {Reference(), "h d m", "14 5 1"},       // another token does not
      {Reference(), "hh:mmm", "14:Jan"},
      {Reference(), "hh AMPM", "02 PM"},
      {Reference(), "hh am/pm", "02 pm"},
      {Reference(), "h A/P", "2 P"},
      {Reference(), "h a/p", "2 p"},
      {Reference(), "h Am/pM", "2 pM"},
      {Reference(), "c", "1/5/2024 2:03:09 PM"},
      {Reference(), "\"Date: \"mm/dd/yy", "Date: 01/05/24"},
      {Reference(), "yyyy-mm-dd\\Thh:nn", "2024-01-05T14:03"},
      {Reference(), "dd.mm.yyyy, x", "05.01.2024, x"},
      {At(2024, 1, 5), "c", "1/5/2024"},
      {Variant::Date(0), "c", "12:00:00 AM"},
      {Variant::Date(0.5), "c", "12:00:00 PM"},
      {At(2024, 1, 5), "ttttt", "12:00:00 AM"},
      {At(2024, 1, 5, 0, 30), "h:nn AM/PM", "12:30 AM"},
      {At(2024, 1, 5, 12), "h:nn AM/PM", "12:00 PM"},
      {At(2022, 12, 31), "ww", "53"},
      {At(2000, 12, 31), "ww", "54"},  // a leap year that starts on a Saturday
      {At(2024, 12, 31), "y", "366"},
      {At(2024, 11, 5), "q", "4"},
      {At(2005, 3, 1), "yy", "05"},
      {At(100, 1, 1), "yyyy", "100"},
      {Variant::Date(-1.25), "yyyy-mm-dd hh:nn", "1899-12-29 06:00"},
      {45296.0, "mm/dd/yy", "01/05/24"},
      {Money(452960000), "mm/dd/yy", "01/05/24"},
      {Variant(), "mm/dd/yyyy", "12/30/1899"},
      {Variant::Null(), "mm/dd/yy", ""},
      {"1/5/2024", "mm/dd/yy", "01/05/24"},
      {"hello", "mm/dd/yy", "hello"},
  });
}

TEST(Format, AppliesTextPatterns) {
  ExpectFormats({
      {"5551234", "@@@-@@@@", "555-1234"},
      {5551234.0, "@@@-@@@@", "555-1234"},
      {"1234", "@@@-@@@@", "   -1234"},
      {"ABCDEF", "@-@@", "ABCD-EF"},
      {"1234", "!@@@-@@@@", "123-4   "},
      {"abcdef", "!@@-@", "ab-cdef"},  // filling from the left, the last placeholder takes the rest
      {"2125551234", "(@@@) @@@-@@@@", "(212) 555-1234"},
      {"123456789", "@@@@@-@@@@", "12345-6789"},
      {" 123456789", "@@@@@-@@@@", " 12345-6789"},
      {"12345678 ", "@@@@@-@@@@", "12345-678 "},
      {"ab", "@@@@", "  ab"},
      {"ab", "&&&&", "ab"},
      {"ab", "!&&&&", "ab"},
      {"Zü", "@@@@", "  Zü"},  // characters, not bytes
      {"abc", ">", "ABC"},     // without placeholders the text follows the literals
      {"abc", "\"x\">", "XABC"},
      {"AbC", "<@@@", "abc"},
      {"ab", "><@@", "ab"},  // the last case mark wins
      {"", "@@;\"none\"", "none"},
      {Variant::Null(), "@@;\"none\"", "none"},
      {Variant::Null(), "@@", ""},
      {"", "@@", "  "},
  });
}

TEST(Format, AppliesNamedFormatsWithoutRegardToCase) {
  ExpectFormats({
      {1234.5, "General Number", "1234.5"},
      {Money(12345000), "general number", "1234.5"},
      {1234.5, "Currency", "$1,234.50"},
      {-1234.5, "Currency", "($1,234.50)"},
      {1234.5, "Fixed", "1234.50"},
      {1234.5, "Standard", "1,234.50"},
      {1234.5, "Percent", "123450.00%"},
      {1234.5, "Scientific", "1.23E+03"},
      {1234.5, "Yes/No", "Yes"},
      {0.0, "Yes/No", "No"},
      {Variant(false), "yes/no", "No"},
      {Variant(true), "yes/no", "Yes"},
      {"abc", "Yes/No", "abc"},
      {Variant::Null(), "Yes/No", ""},
      {1234.5, "True/False", "True"},
      {0.0, "On/Off", "Off"},
      {Reference(), "General Date", "1/5/2024 2:03:09 PM"},
      {Reference(), "Long Date", "Friday, January 5, 2024"},
      {Reference(), "Medium Date", "05-Jan-24"},
      {Reference(), "MEDIUM DATE", "05-Jan-24"},
      {Reference(), "Short Date", "1/5/2024"},
      {Reference(), "Long Time", "2:03:09 PM"},
      {Reference(), "Medium Time", "02:03 PM"},
      {Reference(), "Short Time", "14:03"},
      {"1/5/2024", "Medium Date", "05-Jan-24"},
      {"hello", "Medium Date", "hello"},
      {Reference(), "", "1/5/2024 2:03:09 PM"},  // an empty pattern gives the general form
      {Money(12345000), "", "1234.5"},
  });
}

TEST(FormatProgram, RejectsPatternsNamingTheColumn) {
  struct Rejected {
    std::string_view pattern, message;
  };
  static constexpr Rejected kRejected[] = {
      {"0.00 \"CR", "format pattern \"0.00 \"CR\", column 6: quote without its closing quote"},
      {"0.00\\", "format pattern \"0.00\\\", column 5: backslash at the end"},
      {"0;0;0;0;0", "format pattern \"0;0;0;0;0\", column 8: more than four sections"},
      {"0.0.0", "format pattern \"0.0.0\", column 4: second decimal point"},
      {"0E+0E+0", "format pattern \"0E+0E+0\", column 5: second exponent"},
      {"0.00E+", "format pattern \"0.00E+\", column 5: exponent without digit placeholders"},
      {"0.00E+ \"x\"", "format pattern \"0.00E+ \"x\"\", column 5: exponent without digit placeholders"},
      {"0E+0.0", "format pattern \"0E+0.0\", column 5: decimal point after the exponent"},
      {"@;@;@", "format pattern \"@;@;@\", column 4: more than two sections"},
      {"dd/mm/yy;", "format pattern \"dd/mm/yy;\", column 9: a date pattern has one section"},
      {"mm/dd/yy \"x", "format pattern \"mm/dd/yy \"x\", column 10: quote without its closing quote"},
  };
  for (const Rejected& c : kRejected) {
    try {
      FormatProgram::Compile(c.pattern);
      ADD_FAILURE() << "accepted \"" << c.pattern << '"';
    } catch (const FormatError& error) {
      EXPECT_EQ(std::string_view(error.what()), c.message);
    }
    EXPECT_THROW(Format(Variant(1.0), c.pattern), FormatError)
        << c.pattern;  // the cache remembers no failure
  }
}

TEST(Format, RaisesOverflowForANumberThatIsNoDate) {
  for (const double serial : {1e10, -1e10, std::numeric_limits<double>::quiet_NaN()}) {
    try {
      Format(Variant(serial), "mm/dd/yy");
      ADD_FAILURE() << serial;
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), kOverflow) << serial;
    }
  }
}

TEST(CachedFormat, ReusesOneProgramPerPatternAndThread) {
  const std::string pattern = "#,##0.00";
  const FormatProgram* first = &CachedFormat(pattern);
  EXPECT_EQ(&CachedFormat(std::string(pattern)), first);  // by content, not by address
  EXPECT_NE(&CachedFormat("0.00"), first);
  EXPECT_EQ(&CachedFormat(pattern), first);
  const FormatProgram* other_thread = nullptr;
  std::thread([&] { other_thread = &CachedFormat(pattern); }).join();
  EXPECT_NE(other_thread, first);
  EXPECT_EQ(first->Apply(Variant(1234.5)), "1,234.50");
}

}  // namespace
}  // namespace vob::vb
