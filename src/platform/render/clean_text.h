// Texts from the books or a host may hold any bytes; the text outputs (CSV, text dump, the XML inside an
// XLSX) stay well-formed UTF-8 without the control characters XML forbids: a byte that is not UTF-8 becomes
// U+FFFD, as in the PDF and the JSON dump, and control characters other than tab, line feed and carriage
// return are dropped (with U+FFFE, U+FFFF and the C1 controls).
#pragma once

#include <string>
#include <string_view>

namespace vob::render {

// True when CleanText would return text unchanged (checked without allocating).
bool IsCleanText(std::string_view text);

std::string CleanText(std::string_view text);

}  // namespace vob::render
