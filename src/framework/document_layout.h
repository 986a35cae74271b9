// The places every transaction document prints in: the document header under the company header (address
// blocks on the left, the document's number and dates on the right, the five terms boxes and the column
// captions below), the lines' price columns, and the totals at the foot of the page. Twips, as the layouts.
// The address blocks can grow; whatever lies below them moves down with them, so they never cover the boxes.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/standard_layout.h"
#include "platform/engine/layout.h"

namespace vob::reports::document {

using engine::Align;
using engine::ControlRow;
using engine::SectionId;

// Document header (BannerHeader). Two address blocks side by side, each a caption over a box of five lines.
inline constexpr int32_t kHeaderTop = kCompanyHeaderHeight + 120;
inline constexpr int32_t kBlockLefts[] = {0, 3900};
inline constexpr int32_t kBlockWidth = 3700;
inline constexpr int32_t kBlockLines = 5;  // name, contact, two address lines, city line
inline constexpr int32_t kBlockBottom = kHeaderTop + (1 + kBlockLines) * kLineHeight;
// The document's number, dates and party id: one caption and value per row, right of the blocks.
inline constexpr int32_t kInfoCaptionLeft = 7800, kInfoCaptionWidth = 1300;
inline constexpr int32_t kInfoValueLeft = 9150, kInfoValueWidth = kPrintWidth - kInfoValueLeft;
// The terms boxes: five columns between two rules, a caption over a value each.
inline constexpr int32_t kTermsRuleTop = kBlockBottom + 120;
inline constexpr int32_t kTermsColumnWidth = kPrintWidth / 5;
inline constexpr int32_t kTermsCaptionTop = kTermsRuleTop + 40;
inline constexpr int32_t kTermsValueTop = kTermsCaptionTop + kLineHeight;
inline constexpr int32_t kTermsBottomRuleTop = kTermsValueTop + kLineHeight + 40;
// The column captions of the lines, over the rule that closes the header.
inline constexpr int32_t kColumnCaptionTop = kTermsBottomRuleTop + 60;
inline constexpr int32_t kColumnRuleTop = kColumnCaptionTop + kLineHeight + 20;
inline constexpr int32_t kHeaderHeight = kColumnRuleTop + 140;

// The lines (Detail): quantities on the left, then the description, then price, discount and amount.
inline constexpr int32_t kQuantityWidth = 700, kQuantityStep = 750;
inline constexpr int32_t kPriceLeft = 7000, kPriceWidth = 1300;
inline constexpr int32_t kDiscountLeft = 8400, kDiscountWidth = 800;
inline constexpr int32_t kAmountLeft = 9300, kAmountWidth = kPrintWidth - kAmountLeft;
inline constexpr int32_t kDescriptionRight = kPriceLeft - 100;

// The page footer: the totals on the right, one row each, the amounts under the lines' amount column; the
// page number on the left of the last row, the message above it.
inline constexpr int32_t kTotalRowTop = 80, kTotalRowStep = kLineHeight + 20;
inline constexpr int32_t kTotalCaptionLeft = 7300, kTotalCaptionWidth = kAmountLeft - 100 - kTotalCaptionLeft;
inline constexpr int32_t kMessageWidth = 6800;
constexpr int32_t TotalRowTop(int row) {
  return kTotalRowTop + row * kTotalRowStep;
}
constexpr int32_t FooterHeight(int total_rows) {
  return TotalRowTop(total_rows > 0 ? total_rows : 1) + 60;
}

// Header rows. slot 0 is the left address block, 1 the one beside it; row counts from kHeaderTop.
// clang-format off
//  returns {section,         name, kind,          left,                top,                             width,                   height,                    text / field, format, align,  font}
constexpr ControlRow BlockCaption(int slot, std::string_view name, std::string_view caption) {
  return {engine::kBannerHeader, name, engine::kLabel, kBlockLefts[slot], kHeaderTop,                      kBlockWidth,             kLineHeight,               caption, {}, Align::kLeft, kCaptionFont};
}
constexpr ControlRow BlockText(int slot, std::string_view name) {
  return {engine::kBannerHeader, name, engine::kText,  kBlockLefts[slot], kHeaderTop + kLineHeight,        kBlockWidth,             kBlockLines * kLineHeight, {},      {}, Align::kLeft, kBodyFont, engine::kCanGrow};
}
// A one-line value in a block's place (the purchase order's "Ordered by:").
constexpr ControlRow BlockLine(int slot, std::string_view name, std::string_view field) {
  return {engine::kBannerHeader, name, engine::kText,  kBlockLefts[slot], kHeaderTop + kLineHeight,        kBlockWidth,             kLineHeight,               field,   {}, Align::kLeft, kBodyFont};
}
constexpr ControlRow InfoCaption(int row, std::string_view name, std::string_view caption) {
  return {engine::kBannerHeader, name, engine::kLabel, kInfoCaptionLeft,  kHeaderTop + row * kLineHeight,  kInfoCaptionWidth,       kLineHeight,               caption, {}, Align::kLeft, kCaptionFont};
}
constexpr ControlRow InfoText(int row, std::string_view name, std::string_view field, std::string_view format = {}) {
  return {engine::kBannerHeader, name, engine::kText,  kInfoValueLeft,    kHeaderTop + row * kLineHeight,  kInfoValueWidth,         kLineHeight,               field, format, Align::kLeft, kBodyFont};
}
// column 0 "Your PO Number", 1 "FOB", 2 "Via", 3 "Terms", 4 "Our Ref", on every document that has them.
constexpr ControlRow TermsCaption(int column, std::string_view name, std::string_view caption) {
  return {engine::kBannerHeader, name, engine::kLabel, column * kTermsColumnWidth + 60, kTermsCaptionTop, kTermsColumnWidth - 120, kLineHeight,             caption, {}, Align::kLeft, kCaptionFont};
}
constexpr ControlRow TermsText(int column, std::string_view name, std::string_view field) {
  return {engine::kBannerHeader, name, engine::kText,  column * kTermsColumnWidth + 60, kTermsValueTop,   kTermsColumnWidth - 120, kLineHeight,             field,   {}, Align::kLeft, kBodyFont};
}
constexpr ControlRow Rule(SectionId section, std::string_view name, int32_t top, int32_t left = 0, int32_t width = kPrintWidth) {
  return {section,               name, engine::kLine,  left,              top,                             width,                   0};
}
constexpr ControlRow ColumnCaption(std::string_view name, int32_t left, int32_t width, std::string_view caption, Align align) {
  return {engine::kBannerHeader, name, engine::kLabel, left,              kColumnCaptionTop,               width,                   kLineHeight,               caption, {}, align, kCaptionFont};
}
constexpr ControlRow LineText(std::string_view name, int32_t left, int32_t width, std::string_view field, std::string_view format, Align align) {
  return {engine::kDetail,       name, engine::kText,  left,              0,                               width,                   kLineHeight,               field, format, align, kBodyFont};
}

// The quantity columns on the left of a line, counted from 0, and the description that follows n of them up to
// the price column (or to the right edge, on a document without prices).
constexpr ControlRow QuantityCaption(int index, std::string_view name, std::string_view caption) {
  return ColumnCaption(name, index * kQuantityStep, kQuantityWidth, caption, Align::kRight);
}
constexpr ControlRow QuantityText(int index, std::string_view name, std::string_view field, std::string_view format) {
  return LineText(name, index * kQuantityStep, kQuantityWidth, field, format, Align::kRight);
}
constexpr int32_t DescriptionLeft(int quantity_columns) { return quantity_columns * kQuantityStep + 100; }

// Footer rows: a caption and an amount under the amount column.
constexpr ControlRow TotalCaption(int row, std::string_view name, std::string_view caption) {
  return {engine::kPageFooter,   name, engine::kLabel, kTotalCaptionLeft, TotalRowTop(row),                kTotalCaptionWidth,      kLineHeight,               caption, {}, Align::kLeft, kCaptionFont};
}
constexpr ControlRow TotalText(int row, std::string_view name, std::string_view field, std::string_view format) {
  return {engine::kPageFooter,   name, engine::kText,  kAmountLeft,       TotalRowTop(row),                kAmountWidth,            kLineHeight,               field, format, Align::kRight, kBodyFont};
}
// The rule over a total that adds up the rows above it, under the amount column.
constexpr ControlRow TotalRule(int row, std::string_view name) {
  return Rule(engine::kPageFooter, name, TotalRowTop(row) - 10, kAmountLeft, kAmountWidth);
}
// clang-format on

// Unit price, discount and extended amount of a line with their captions, on the documents that price their
// lines alike (all but the sales and purchase orders).
// clang-format off
inline constexpr ControlRow kPriceColumns[] = {
    ColumnCaption("Label17", kPriceLeft, kDiscountLeft + kDiscountWidth - kPriceLeft, "Unit Price Discount", Align::kRight),
    ColumnCaption("Label18", kAmountLeft, kAmountWidth, "Extended", Align::kRight),
    LineText("txtSalesPrice",  kPriceLeft,    kPriceWidth,    "SalesPrice",  "#,##0.00", Align::kRight),
    LineText("txtDiscount",    kDiscountLeft, kDiscountWidth, "Discount",    "0.00",     Align::kRight),
    LineText("txtSplitAmount", kAmountLeft,   kAmountWidth,   "SplitAmount", "#,##0.00", Align::kRight),
};

// The totals of a document that can be paid, all but the first row's caption (a sale or a purchase amount):
// tax, total, the amount paid with its reference, and the net to pay.
inline constexpr ControlRow kPaymentTotals[] = {
    Rule(engine::kPageFooter, "Line5", 0),
    TotalText(0,    "txtSubTotal",   "SubTotal",   "#,##0.00"),
    TotalCaption(1, "Label20",       "Tax:"),
    TotalText(1,    "txtTax",        "Tax",        "#,##0.00"),
    TotalRule(2,    "Line6"),
    TotalCaption(2, "Label21",       "Total:"),
    TotalText(2,    "txtTotal",      "Total",      "#,##0.00"),
    TotalCaption(3, "Label22",       "Amount Paid:"),
    {engine::kPageFooter, "txtPaidRef", engine::kText, kTotalCaptionLeft - 1900, TotalRowTop(3), 1800, kLineHeight, "PaidRef", {}, Align::kRight, kBodyFont},
    TotalText(3,    "txtPaidAmount", "PaidAmount", "#,##0.00"),
    TotalRule(4,    "Line7"),
    TotalCaption(4, "Label23",       "Net to pay:"),
    TotalText(4,    "txtNetAmount",  "NetAmount",  "$#,##0.00"),
    TotalRule(5,    "Line8"),
};
inline constexpr int kPaymentTotalRows = 5;
// clang-format on

}  // namespace vob::reports::document
