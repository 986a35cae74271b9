// The geometry every listing shares: Letter paper, half-inch margins, Arial-compatible text, and the
// positions of the page footer. Lengths are twips (1440 per inch).
#pragma once

#include <cstdint>

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

}  // namespace vob::reports
