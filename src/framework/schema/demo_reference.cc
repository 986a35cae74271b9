// The demo company's fixed setup: printed messages, the masthead, check styles and label stocks.
// One check style is the default; styles and stocks cover inches and metric units, Letter and A4.
#include "framework/schema/demo_internal.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

constexpr const char* kMessages[] = {
    "Thank you for your business!",
    "Our warehouse moves to 1200 Commerce Drive on the first of next month.",
    "Ask about our spring contractor discounts.",
    "Past-due balances are charged 1.5% per month.",
    "Holiday hours: closed December 24 to 26.",
};
constexpr const char* kMastHead =
    "Vob Demo Supply Co.\r\n1200 Commerce Drive, Suite 400\r\nSpringfield, IL 62701-1234\r\n"
    "Phone (217) 555-0100   Fax (217) 555-0199";

struct CheckStyle {
  int id;
  const char* description;
  bool is_default;
  const char* units;
  double positions[10];  // date, amount, amount in words, payee, stub: top then left of each
};
// clang-format off
constexpr CheckStyle kCheckStyles[] = {
    {1, "Top check, Letter, inches",   true,  "IN", {0.65, 6.75, 1.1, 6.9, 1.45, 0.5, 1.95, 0.75, 3.75, 0.25}},
    {2, "Voucher check, A4, cm",       false, "CM", {1.7, 16.5, 2.8, 17.0, 3.7, 1.3, 5.0, 1.9, 10.5, 0.6}},
    {3, "Bottom check, Letter, inches", false, "IN", {7.65, 6.75, 8.1, 6.9, 8.45, 0.5, 8.95, 0.75, 0.5, 0.25}},
};

struct LabelStock {
  int id;
  const char* description;
  const char* unit;
  double top_margin, side_margin, width, height, vertical_pitch, horizontal_pitch, page_height, page_width;
  int across, down;
  const char* page_size;
};
constexpr LabelStock kLabelStocks[] = {
    {1, "Address labels 1 x 2-5/8 in, 30 a sheet", "in", 0.5, 0.1875, 2.625, 1, 1, 2.75, 11, 8.5, 3, 10, "Letter"},
    {2, "Address labels 70 x 37 mm, 24 a sheet", "mm/10", 0, 0, 700, 370, 370, 700, 2970, 2100, 3, 8, "A4"},
    {3, "Shipping labels 2 x 4 in, 10 a sheet", "IN", 0.5, 0.15625, 4, 2, 2, 4.1875, 11, 8.5, 2, 5, "letter"},
};
// clang-format on

}  // namespace

void WriteReferenceTables(DemoState& state) {
  RowSink& sink = state.sink;
  TableRow messages(TableId::kLibMessages);
  for (int i = 0; i < static_cast<int>(std::size(kMessages)); ++i) {
    messages[Col(c::kLibMessages, "MessageNo")] = i + 1;
    messages[Col(c::kLibMessages, "MessageText")] = kMessages[i];
    messages.Emit(sink);
  }
  TableRow company(TableId::kCompanyProfile);
  company[Col(c::kCompanyProfile, "MastHead")] = kMastHead;
  company.Emit(sink);

  TableRow checks(TableId::kLibChecks);
  for (const CheckStyle& style : kCheckStyles) {
    checks[Col(c::kLibChecks, "StyleID")] = style.id;
    checks[Col(c::kLibChecks, "Description")] = style.description;
    checks[Col(c::kLibChecks, "Default")] = style.is_default;
    checks[Col(c::kLibChecks, "Units")] = style.units;
    const int first_position = Col(c::kLibChecks, "DateTop");
    for (int i = 0; i < 10; ++i) checks[first_position + i] = style.positions[i];
    checks.Emit(sink);
  }
  static_assert(Col(c::kLibChecks, "stubLeft") == Col(c::kLibChecks, "DateTop") + 9);

  TableRow labels(TableId::kLibLabels);
  for (const LabelStock& stock : kLabelStocks) {
    labels[Col(c::kLibLabels, "LabelID")] = stock.id;
    labels[Col(c::kLibLabels, "Description")] = stock.description;
    labels[Col(c::kLibLabels, "unit")] = stock.unit;
    labels[Col(c::kLibLabels, "TopMargin")] = stock.top_margin;
    labels[Col(c::kLibLabels, "SideMargin")] = stock.side_margin;
    labels[Col(c::kLibLabels, "LabelWidth")] = stock.width;
    labels[Col(c::kLibLabels, "LabelHeight")] = stock.height;
    labels[Col(c::kLibLabels, "VerticalPitch")] = stock.vertical_pitch;
    labels[Col(c::kLibLabels, "HorizontalPitch")] = stock.horizontal_pitch;
    labels[Col(c::kLibLabels, "PageHeight")] = stock.page_height;
    labels[Col(c::kLibLabels, "PageWidth")] = stock.page_width;
    labels[Col(c::kLibLabels, "numberAcross")] = stock.across;
    labels[Col(c::kLibLabels, "NumberDown")] = stock.down;
    labels[Col(c::kLibLabels, "pageSize")] = stock.page_size;
    labels.Emit(sink);
  }
}

}  // namespace vob::schema::demo
