// The value an exported cell holds: the number, date or text a printed text box stands for.
// Decided once for both outputs, so that a CSV and a sheet of the same run hold the same data.
#pragma once

#include <string>

#include "platform/engine/record_sink.h"
#include "platform/render/excel_format.h"
#include "platform/vb/variant.h"

namespace vob::render {

// The bound or summed value as it is; a text a handler set as the number or date it reads as when the
// control's format is numeric or a date format ("(1,234.50)" is -1234.5), else as the text. A box that did
// not print, Null, and an empty text give Empty. A Boolean under a numeric format is its number (-1, 0).
vb::Variant ExportValue(const engine::RecordCell& cell, CellKind kind);

// The value as a CSV field holds it: numbers with a dot and no grouping ("-1234.5"), dates as ISO
// "2024-06-30" (with " 14:03:09" when there is a time of day), Booleans "True" and "False", Empty "".
std::string RawText(const vb::Variant& value);

}  // namespace vob::render
