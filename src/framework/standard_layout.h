// The geometry every listing shares: Letter paper, half-inch margins, Arial-compatible text, the positions of
// the page footer, and the output formats of amounts and dates. Lengths are twips (1440 per inch).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/engine/layout.h"

namespace vob::reports {

inline constexpr int32_t kMarginTwips = 720;
inline constexpr int32_t kPrintWidth = 12240 - 2 * kMarginTwips;  // 10800
inline constexpr int32_t kLineHeight = 240;                       // one line of 8 to 10 point text
inline constexpr int32_t kCompanyHeaderHeight = 1440;             // the subHeader control in the banner

inline constexpr engine::FontRow kBodyFont{"Arial", 8};
inline constexpr engine::FontRow kCaptionFont{"Arial", 8, true};
inline constexpr engine::FontRow kGroupFont{"Arial", 9, true};
inline constexpr engine::FontRow kTitleFont{"Arial", 14, true};
inline constexpr engine::FontRow kMastHeadFont{"Arial", 9};

inline constexpr engine::Color kShadeColor{240, 240, 240};

// Amounts: negatives in parentheses, positives with a trailing blank so that both line up on the right.
inline constexpr std::string_view kAmount = "#,##0.00 ;(#,##0.00)";
// The same with a dollar sign: the design format of money fields, which CurrencyFormat then replaces.
inline constexpr std::string_view kMoney = "$#,##0.00 ;($#,##0.00)";
// The design format of date fields; most take DateFormat from the settings at report start.
inline constexpr std::string_view kShortDate = "mm/dd/yy";

}  // namespace vob::reports
