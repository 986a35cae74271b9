// Reading numbers and dates from text, the conversion functions, the general format and the string functions.
// The run's clock is pinned to 2024-06-15 10:00 so that dates without a year read the same every day.
#include "platform/vb/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "platform/vb/date.h"
#include "platform/vb/error.h"

namespace vob::vb {
namespace {

class Conversions : public ::testing::Test {
 protected:
  void SetUp() override { PinClock(DateSerial(2024, 6, 15) + TimeSerial(10, 0, 0)); }
  void TearDown() override { UnpinClock(); }
};

// The error number a call raises, or 0 when it returns.
template <typename Call>
int ErrorNumberOf(Call call) {
  try {
    call();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

TEST(ParseNumber, ReadsNumericTexts) {
  struct Case {
    std::string_view text;
    double expected;
  };
  static constexpr Case kCases[] = {
      {"0", 0},
      {"42", 42},
      {"  -3.25 ", -3.25},
      {"+7", 7},
      {"7-", -7},
      {"7 +", 7},
      {".5", 0.5},
      {"5.", 5},
      {"1,234.50", 1234.5},
      {"1,2,3", 123},
      {"$1,234.50 ", 1234.5},
      {"-$5", -5},
      {"$-5", -5},
      {"(1,234.50)", -1234.5},
      {"( $12 )", -12},
      {"1E3", 1000},
      {"1.5e-2", 0.015},
      {"2D2", 200},
      {"1e-400", 0},
      {"0.1", 0.1},
      {"&H1F", 31},
      {"&h1f", 31},
      {"&O17", 15},
      {"&17", 15},
      {"&HFFFF", -1},
      {"&HFFFF&", 65535},
      {"&H10000", 65536},
      {"&HFFFFFFFF", -1},
  };
  for (const Case& c : kCases) {
    const std::optional<double> value = ParseNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.expected) << c.text;
  }
  // Past 40 significant digits the rest only decides the rounding.
  EXPECT_EQ(ParseNumber("123456789012345678901234567890"), 1.2345678901234568e29);
  EXPECT_EQ(ParseNumber("1.180000000000000000000000000000000000000402985547"), 1.18);
  EXPECT_EQ(ParseNumber("0.50000000000000011102230246251565404236316680908203125000000001"),
            0.5000000000000001);
}

TEST(ParseNumber, RejectsTextsThatAreNotNumbers) {
  static constexpr std::string_view kTexts[] = {
      "",    "   ", "\t",   "abc",  "12abc", "1.2.3", ".",   "-",           "+-5",
      "--5", "5--", "- -5", "(-5)", "(5",    "5)",    "$",   "$$5",         "5$",
      ",5",  "1e",  "1e+",  "1 2",  "&H",    "&HG",   "&O8", "&H100000000", "1e400",
  };
  for (std::string_view text : kTexts) EXPECT_EQ(ParseNumber(text), std::nullopt) << '"' << text << '"';
  EXPECT_EQ(ParseNumber(std::string_view("1\0", 2)), std::nullopt) << "an embedded NUL";
}

TEST(Val, ReadsTheLeadingNumber) {
  struct Case {
    std::string_view text;
    double expected;
  };
  static constexpr Case kCases[] = {
      {"12abc", 12},  {"abc", 0},     {"", 0},      {" 1 2 3", 123}, {"- 5", -5},    {"+5", 5},
      {"1.2.3", 1.2}, {"1e3x", 1000}, {"1e", 1},    {"1ex", 1},      {"2d2", 200},   {".5", 0.5},
      {"$5", 0},      {"1,000", 1},   {"--5", 0},   {"&H1F", 31},    {"&HFFFF", -1}, {"&HFFFF&", 65535},
      {"&O17z", 15},  {"&Hz", 0},     {"\t\n7", 7}, {"-0", 0},
  };
  for (const Case& c : kCases) EXPECT_EQ(Val(c.text), c.expected) << '"' << c.text << '"';
  EXPECT_EQ(ErrorNumberOf([] { Val("1e400"); }), kOverflow);
}

TEST_F(Conversions, ParseDateReadsDatesAndTimes) {
  struct Case {
    std::string_view text, expected;  // expected in the general date form
  };
  static constexpr Case kCases[] = {
      {"1/5/2024", "1/5/2024"},
      {"1/5/24", "1/5/2024"},
      {"1/5/29", "1/5/2029"},
      {"1/5/30", "1/5/1930"},
      {"1/5/00", "1/5/2000"},
      {"1-5-2024", "1/5/2024"},
      {"1.5.2024", "1/5/2024"},
      {"2024-01-05", "1/5/2024"},
      {"2024/1/5", "1/5/2024"},
      {"99/1/5", "1/5/1999"},
      {"13/1/2024", "1/13/2024"},
      {"31/12/24", "12/31/2024"},
      {"2/29/2024", "2/29/2024"},
      {"2/29/2000", "2/29/2000"},  // a leap year though a century
      {"1/5", "1/5/2024"},
      {"25/12", "12/25/2024"},
      {"12/2024", "12/1/2024"},
      {"January 5, 2024", "1/5/2024"},
      {"Jan 5 2024", "1/5/2024"},
      {"jan. 5, 2024", "1/5/2024"},
      {"5 Jan 2024", "1/5/2024"},
      {"05-Jan-24", "1/5/2024"},
      {"05-JAN-99", "1/5/1999"},
      {"Friday, January 5, 2024", "1/5/2024"},
      {"Sep 5", "9/5/2024"},
      {"december 2024", "12/1/2024"},
      {"2024 Jan 5", "1/5/2024"},
      {"1/5/2024 14:03", "1/5/2024 2:03:00 PM"},
      {"1/5/2024 2:03 PM", "1/5/2024 2:03:00 PM"},
      {"1/5/2024 2:03:09 pm", "1/5/2024 2:03:09 PM"},
      {"1/5/2024 2:03PM", "1/5/2024 2:03:00 PM"},
      {"2024-01-05 14:03:09.750", "1/5/2024 2:03:09 PM"},
      {"Jan 5, 2024, 12:00 AM", "1/5/2024"},
      {"Jan 5,2024", "1/5/2024"},
      {"14:03 1/5/2024", "1/5/2024 2:03:00 PM"},
      {"1/5/2024 2 PM", "1/5/2024 2:00:00 PM"},
      {"14:03", "2:03:00 PM"},
      {"12:00 PM", "12:00:00 PM"},
      {"12:30 am", "12:30:00 AM"},
      {"0:00", "12:00:00 AM"},
      {"9 a", "9:00:00 AM"},
      {"12/29/1899 6:00 AM", "12/29/1899 6:00:00 AM"},
      {"1/1/100", "1/1/100"},
      {"12/31/9999 23:59:59", "12/31/9999 11:59:59 PM"},
      {"  1/5/2024  ", "1/5/2024"},
  };
  for (const Case& c : kCases) {
    const std::optional<double> serial = ParseDate(c.text);
    ASSERT_TRUE(serial.has_value()) << c.text;
    EXPECT_EQ(GeneralText(Variant::Date(*serial)), c.expected) << c.text;
  }
  EXPECT_EQ(ParseDate("14:03"), (14 * 60 + 3) / 1440.0) << "a time alone has date part 0";
  EXPECT_EQ(ParseDate("12/29/1899 6:00 AM"), -1.25) << "the time counts forward from a negative day";
}

TEST_F(Conversions, ParseDateRejectsTextsThatAreNotDates) {
  static constexpr std::string_view kTexts[] = {
      "",
      "   ",
      "5",
      "20240105",
      "2/30/2024",
      "2/29/2023",
      "2/29/1900",
      "4/31/2024",
      "13/13/2024",
      "0/5/2024",
      "1/0/2024",
      "1/5/2024/7",
      "1/5/99999",
      "1/1/0099",
      "Sept 5",
      "Jan",
      "Jan Feb 5",
      "Jan 5 6 7",
      "Friday",
      "hello",
      "1/5/2024 x",
      "25:00",
      "12:60",
      "1:00:60",
      "13:00 PM",
      "14:",
      "1:2:3:4",
      "1/5/2024 PM",
      "-1/5/2024",
      "1/5/2024-",
      "1//5/2024",
      "1/5, 2024,",
      "2024-01-05T14:03",
      "1/5/2024 14:03 15:04",
      "1/5/2024 \u00bd",
      "1234567890/1/1",
      "2/30",
      "1,234",
      "1,5,2024",
  };
  for (std::string_view text : kTexts) EXPECT_EQ(ParseDate(text), std::nullopt) << '"' << text << '"';
}

TEST(GeneralText, PrintsEachTypeInItsGeneralForm) {
  struct Case {
    Variant value;
    std::string_view expected;
  };
  const Case kCases[] = {
      {Variant(), ""},
      {Variant::Null(), ""},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(int16_t{-32768}), "-32768"},
      {Variant(2147483647), "2147483647"},
      {Variant(3.0), "3"},
      {Variant(0.5), "0.5"},
      {Variant(-0.25), "-0.25"},
      {Variant(-0.0), "0"},
      {Variant(0.1 + 0.2), "0.3"},
      {Variant(1234.5), "1234.5"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant(1e15), "1E+15"},
      {Variant(1.5e-5), "1.5E-05"},
      {Variant(0.0001), "0.0001"},
      {Variant(-1.25e20), "-1.25E+20"},
      {Variant(1.0 / 3), "0.333333333333333"},
      {Variant(1.1f), "1.1"},
      {Variant(1234567.0f), "1234567"},
      {Variant(1e7f), "1E+07"},
      {Variant(Currency::FromRaw(12345000)), "1234.5"},  // as Currency::ToString prints it
      {Variant::Date(0), "12:00:00 AM"},
      {Variant::Date(0.5), "12:00:00 PM"},
      {Variant::Date(45296), "1/5/2024"},
      {Variant::Date(45296 + 14.0 / 24 + 3.0 / 1440 + 9.0 / 86400), "1/5/2024 2:03:09 PM"},
      {Variant::Date(45296.9999999), "1/6/2024"},
      {Variant::Date(-1.25), "12/29/1899 6:00:00 AM"},
      {Variant("text"), "text"},
  };
  for (const Case& c : kCases) EXPECT_EQ(GeneralText(c.value), c.expected) << c.expected;
}

// The result of each conversion as a Variant, so that one table holds them all.
Variant AsCStr(const Variant& v) {
  return Variant(CStr(v));
}
Variant AsCDbl(const Variant& v) {
  return Variant(CDbl(v));
}
Variant AsCSng(const Variant& v) {
  return Variant(CSng(v));
}
Variant AsCCur(const Variant& v) {
  return Variant(CCur(v));
}
Variant AsCLng(const Variant& v) {
  return Variant(CLng(v));
}
Variant AsCInt(const Variant& v) {
  return Variant(CInt(v));
}
Variant AsCBool(const Variant& v) {
  return Variant(CBool(v));
}
Variant AsCDate(const Variant& v) {
  return Variant::Date(CDate(v));
}

struct ConversionCase {
  const char* call;
  Variant (*convert)(const Variant&);
  Variant input, expected;
};

TEST_F(Conversions, ConvertValuesBetweenTypes) {
  const ConversionCase kCases[] = {
      {"CStr(True)", AsCStr, Variant(true), Variant("True")},
      {"CStr(Empty)", AsCStr, Variant(), Variant("")},
      {"CStr(date)", AsCStr, Variant::Date(45296.5), Variant("1/5/2024 12:00:00 PM")},
      {"CDbl(True)", AsCDbl, Variant(true), Variant(-1.0)},
      {"CDbl(Empty)", AsCDbl, Variant(), Variant(0.0)},
      {"CDbl(text)", AsCDbl, Variant("(1,234.50)"), Variant(-1234.5)},
      {"CDbl(currency)", AsCDbl, Variant(Currency::FromRaw(5)), Variant(0.0005)},
      {"CDbl(date)", AsCDbl, Variant::Date(45296.25), Variant(45296.25)},
      {"CSng(text)", AsCSng, Variant("1.1"), Variant(1.1f)},
      {"CCur(text)", AsCCur, Variant("$1,234.56789"), Variant(Currency::FromRaw(12345679))},
      {"CCur(half, text)", AsCCur, Variant("0.00025"), Variant(Currency::FromRaw(2))},
      {"CCur(half up, text)", AsCCur, Variant("0.00035"), Variant(Currency::FromRaw(4))},
      {"CCur(above half)", AsCCur, Variant("0.000250000000000000000000000000000000000000001"),
       Variant(Currency::FromRaw(3))},
      {"CCur(max, text)", AsCCur, Variant("922337203685477.5807"), Variant(Currency::FromRaw(INT64_MAX))},
      {"CCur(min, text)", AsCCur, Variant("-922337203685477.5808"), Variant(Currency::FromRaw(INT64_MIN))},
      {"CCur(double)", AsCCur, Variant(0.1), Variant(Currency::FromRaw(1000))},
      {"CCur(True)", AsCCur, Variant(true), Variant(Currency::FromWhole(-1))},
      {"CCur(hex)", AsCCur, Variant("&H10"), Variant(Currency::FromWhole(16))},
      {"CLng(-2.5)", AsCLng, Variant(-2.5), Variant(-2)},
      {"CLng(3.5)", AsCLng, Variant(3.5), Variant(4)},
      {"CLng(text)", AsCLng, Variant(" 2,147,483,647 "), Variant(2147483647)},
      {"CLng(min)", AsCLng, Variant(-2147483648.0), Variant(static_cast<int>(INT32_MIN))},
      {"CLng(currency 2.5)", AsCLng, Variant(Currency::FromRaw(25000)), Variant(2)},
      {"CLng(currency -3.5)", AsCLng, Variant(Currency::FromRaw(-35000)), Variant(-4)},
      {"CLng(currency 1.5001)", AsCLng, Variant(Currency::FromRaw(15001)), Variant(2)},
      {"CInt(2.5)", AsCInt, Variant(2.5), Variant(int16_t{2})},
      {"CInt(3.5)", AsCInt, Variant(3.5), Variant(int16_t{4})},
      {"CInt(-32768.4)", AsCInt, Variant(-32768.4), Variant(int16_t{-32768})},
      {"CInt(True)", AsCInt, Variant(true), Variant(int16_t{-1})},
      {"CInt(text)", AsCInt, Variant("12.5"), Variant(int16_t{12})},
      {"CBool(text true)", AsCBool, Variant(" tRUE "), Variant(true)},
      {"CBool(text false)", AsCBool, Variant("False"), Variant(false)},
      {"CBool(numeric text)", AsCBool, Variant("0.5"), Variant(true)},
      {"CBool(zero text)", AsCBool, Variant("0"), Variant(false)},
      {"CBool(-1)", AsCBool, Variant(-1), Variant(true)},
      {"CBool(Empty)", AsCBool, Variant(), Variant(false)},
      {"CBool(currency)", AsCBool, Variant(Currency::FromRaw(1)), Variant(true)},
      {"CDate(number)", AsCDate, Variant(45296.5), Variant::Date(45296.5)},
      {"CDate(text)", AsCDate, Variant("Jan 5, 2024"), Variant::Date(45296)},
      {"CDate(True)", AsCDate, Variant(true), Variant::Date(-1)},
  };
  for (const ConversionCase& c : kCases) EXPECT_EQ(c.convert(c.input), c.expected) << c.call;
}

TEST_F(Conversions, RaiseTheClassicErrors) {
  struct Case {
    const char* call;
    Variant (*convert)(const Variant&);
    Variant input;
    int number;
  };
  const Case kCases[] = {
      {"CStr(Null)", AsCStr, Variant::Null(), kInvalidUseOfNull},
      {"CDbl(Null)", AsCDbl, Variant::Null(), kInvalidUseOfNull},
      {"CBool(Null)", AsCBool, Variant::Null(), kInvalidUseOfNull},
      {"CDate(Null)", AsCDate, Variant::Null(), kInvalidUseOfNull},
      {"CCur(Null)", AsCCur, Variant::Null(), kInvalidUseOfNull},
      {"CDbl(abc)", AsCDbl, Variant("abc"), kTypeMismatch},
      {"CDbl(empty text)", AsCDbl, Variant(""), kTypeMismatch},
      {"CDbl(date text)", AsCDbl, Variant("1/5/2024"), kTypeMismatch},
      {"CCur(abc)", AsCCur, Variant("abc"), kTypeMismatch},
      {"CInt(abc)", AsCInt, Variant("abc"), kTypeMismatch},
      {"CBool(yes)", AsCBool, Variant("yes"), kTypeMismatch},
      {"CDate(abc)", AsCDate, Variant("abc"), kTypeMismatch},
      {"CDate(numeric text)", AsCDate, Variant("45296"), kTypeMismatch},
      {"CDbl(1e400)", AsCDbl, Variant("1e400"), kOverflow},
      {"CSng(1e39)", AsCSng, Variant(1e39), kOverflow},
      {"CCur(1e15)", AsCCur, Variant(1e15), kOverflow},
      {"CCur(max+1, text)", AsCCur, Variant("922337203685477.5808"), kOverflow},
      {"CCur(rounds past max)", AsCCur, Variant("922337203685477.58075"), kOverflow},
      {"CLng(2147483647.5)", AsCLng, Variant(2147483647.5), kOverflow},
      {"CLng(-2147483649)", AsCLng, Variant(-2147483649.0), kOverflow},
      {"CLng(NaN)", AsCLng, Variant(std::nan("")), kOverflow},
      {"CLng(currency)", AsCLng, Variant(Currency::FromWhole(3000000000)), kOverflow},
      {"CInt(32767.5)", AsCInt, Variant(32767.5), kOverflow},
      {"CInt(-32768.5)", AsCInt, Variant(-32768.6), kOverflow},
      {"CInt(text)", AsCInt, Variant("40000"), kOverflow},
      {"CDate(1e10)", AsCDate, Variant(1e10), kOverflow},
      {"CDate(-657435)", AsCDate, Variant(-657435.0), kOverflow},
  };
  for (const Case& c : kCases) EXPECT_EQ(ErrorNumberOf([&] { c.convert(c.input); }), c.number) << c.call;
}

TEST(ConversionErrors, MessagesNameTheCallAndItsValue) {
  struct Case {
    std::string_view expected;
    void (*call)();
  };
  static constexpr Case kCases[] = {
      {"Type mismatch: CDbl(\"abc\")", [] { CDbl(Variant("abc")); }},
      {"Overflow: CInt(40000)", [] { CInt(Variant(40000)); }},
      {"Invalid use of Null: CStr(Null)", [] { CStr(Variant::Null()); }},
      {"Overflow: CDate(date serial 10000000000)", [] { CDate(Variant::Date(1e10)); }},
      {"Invalid procedure call or argument: Mid(\"abc\", 0)", [] { Mid("abc", 0); }},
      {"Invalid procedure call or argument: Mid(\"abc\", 1, -1)", [] { Mid("abc", 1, -1); }},
  };
  for (const Case& c : kCases) {
    try {
      c.call();
      ADD_FAILURE() << "no error for " << c.expected;
    } catch (const Error& error) {
      EXPECT_EQ(std::string_view(error.what()), c.expected);
    }
  }
}

TEST_F(Conversions, TypeTestsFollowTheClassicRules) {
  struct Case {
    Variant value;
    bool is_numeric, is_date;
  };
  const Case kCases[] = {
      {Variant(), true, false},        {Variant::Null(), false, false},    {Variant(true), true, false},
      {Variant(5), true, false},       {Variant(Currency()), true, false}, {Variant::Date(1), false, true},
      {Variant("1,234"), true, false}, {Variant("Jan 5"), false, true},    {Variant("1/5/2024"), false, true},
      {Variant("abc"), false, false},  {Variant(""), false, false},        {Variant("1e400"), false, false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(IsNumeric(c.value), c.is_numeric) << GeneralText(c.value);
    EXPECT_EQ(IsDate(c.value), c.is_date) << GeneralText(c.value);
  }
  EXPECT_TRUE(IsNull(Variant::Null()));
  EXPECT_FALSE(IsNull(Variant()));
  EXPECT_TRUE(IsEmpty(Variant()));
  EXPECT_FALSE(IsEmpty(Variant("")));
}

TEST(Rounding, IntFixAndHalvesToEven) {
  struct Case {
    double value, int_value, fix_value;
    int64_t half_even;
  };
  static constexpr Case kCases[] = {
      {2.5, 2, 2, 2},
      {3.5, 3, 3, 4},
      {-2.5, -3, -2, -2},
      {-3.5, -4, -3, -4},
      {2.4, 2, 2, 2},
      {-2.6, -3, -2, -3},
      {0.5, 0, 0, 0},
      {1.5, 1, 1, 2},
      {7, 7, 7, 7},
      {-0.4, -1, -0.0, 0},
      {1e18 + 1, 1e18 + 1, 1e18 + 1, 1000000000000000000},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Int(c.value), c.int_value) << c.value;
    EXPECT_EQ(Fix(c.value), c.fix_value) << c.value;
    EXPECT_EQ(RoundHalfEven(c.value), c.half_even) << c.value;
  }
  EXPECT_EQ(ErrorNumberOf([] { RoundHalfEven(1e19); }), kOverflow);
  EXPECT_EQ(ErrorNumberOf([] { RoundHalfEven(std::nan("")); }), kOverflow);
}

TEST(StringFunctions, CutAndCaseByCharacter) {
  const std::string kCases[][2] = {
      {Trim("  a b  "), "a b"},
      {Trim("\ta\t"), "\ta\t"},
      {Trim("   "), ""},
      {LTrim("  a "), "a "},
      {RTrim("  a "), "  a"},
      {LCase("MüLLER Ünd ÀÞ ×"), "müller ünd àþ ×"},
      {UCase("müller ß ÿ ÷ abc"), "MÜLLER ß ÿ ÷ ABC"},
      {Left("abc", 2), "ab"},
      {Left("abc", 5), "abc"},
      {Left("Müller", 2), "Mü"},
      {Left("abc", 0), ""},
      {Right("abc", 2), "bc"},
      {Right("abc", 5), "abc"},
      {Right("Grüße", 3), "üße"},
      {Mid("abcdef", 3), "cdef"},
      {Mid("abcdef", 7), ""},
      {Mid("abcdef", 2, 3), "bcd"},
      {Mid("Grüße", 3, 2), "üß"},
      {Mid("abc", 2, 10), "bc"},
      {Mid("abc", 9, 1), ""},
      {std::to_string(Len("Grüße")), "5"},
      {std::to_string(Len("")), "0"},
      {std::to_string(Len("\x80\x80"
                          "a")),
       "2"},
  };
  for (const auto& c : kCases) EXPECT_EQ(c[0], c[1]) << c[1];
}

TEST(StringFunctions, RejectNegativeLengthsAndStartsBelowOne) {
  struct Case {
    const char* call;
    void (*run)();
  };
  static constexpr Case kCases[] = {
      {"Left(-1)", [] { Left("abc", -1); }},     {"Right(-1)", [] { Right("abc", -1); }},
      {"Mid(0)", [] { Mid("abc", 0); }},         {"Mid(-5, 1)", [] { Mid("abc", -5, 1); }},
      {"Mid(1, -1)", [] { Mid("abc", 1, -1); }},
  };
  for (const Case& c : kCases) EXPECT_EQ(ErrorNumberOf(c.run), kInvalidProcedureCall) << c.call;
}

}  // namespace
}  // namespace vob::vb
