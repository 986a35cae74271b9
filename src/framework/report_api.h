// The names report modules use from the engine: report object, layout rows, sections and controls; with the
// values, dates, errors and recordsets they handle and the shared formatting, lookup and amount-in-words
// helpers. Reports include framework headers only; this is where the lower layers' vocabulary enters them.
#pragma once

#include "common/amount_in_words.h"
#include "common/lookups.h"
#include "common/text_format.h"
#include "platform/data/recordset.h"
#include "platform/engine/active_report.h"
#include "platform/engine/controls.h"
#include "platform/engine/layout.h"
#include "platform/engine/section.h"
#include "platform/vb/conversions.h"
#include "platform/vb/currency.h"
#include "platform/vb/date.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"
#include "platform/vb/resume_next.h"
#include "platform/vb/variant.h"
#include "settings/report_settings.h"

namespace vob::reports {

using engine::ActiveReport;
using engine::Align;
using engine::Color;
using engine::ControlRow;
using engine::DataControl;
using engine::Field;
using engine::FontRow;
using engine::Image;
using engine::Label;
using engine::Line;
using engine::ReportHandle;
using engine::Section;
using engine::SectionRow;
using engine::Subreport;
using engine::TextBox;
using vb::Currency;
using vb::Variant;

// Section and control kinds, for the layout tables of report modules.
using enum engine::SectionId;
using enum engine::ControlKind;
using engine::kCanGrow;
using engine::kHidden;
using engine::kKeepTogether;
using engine::kNewPageAfter;
using engine::kNewPageBefore;
using engine::kOpaque;
using engine::kRepeat;

}  // namespace vob::reports
