// The report object: a report derives from ActiveReport, declares its sections and controls as tables and
// overrides the handlers it uses; engine::Run (run.h) calls them in a fixed order while it fills the pages.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/engine/controls.h"
#include "platform/engine/fields.h"
#include "platform/engine/layout.h"
#include "platform/engine/page_canvas.h"
#include "platform/engine/section.h"
#include "platform/engine/table_of_contents.h"
#include "platform/vb/names.h"

namespace vob::engine {

struct Band;

inline constexpr int kPaperLetter = 1;  // 12240 x 15840 twips
inline constexpr int kPaperLegal = 5;   // 12240 x 20160
inline constexpr int kPaperA4 = 9;      // 11906 x 16838
inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;

struct PrinterSettings {
  int paper_size = kPaperLetter;  // any other number prints on Letter
  int orientation = kPortrait;
};

// The page is landscape when either these settings or the printer's say so.
struct PageSettings {
  int32_t top_margin = 1440, bottom_margin = 1440, left_margin = 1440, right_margin = 1440;
  int orientation = kPortrait;
};

class ActiveReport {
 public:
  virtual ~ActiveReport();
  ActiveReport(const ActiveReport&) = delete;
  ActiveReport& operator=(const ActiveReport&) = delete;

  // Report events, in run order (run.h has the whole order). FetchData is called once per row: with a data
  // control eof comes in false, and setting it ends the data before this row; without one it comes in true,
  // and the handler clears it for each row it supplies. Terminate runs when the object is released
  // (ReleaseReport).
  virtual void ActiveReport_DataInitialize() {}
  virtual void ActiveReport_ReportStart() {}
  virtual void ActiveReport_FetchData(bool& eof) { (void)eof; }
  virtual void ActiveReport_PageStart() {}
  virtual void ActiveReport_PageEnd() {}
  virtual void ActiveReport_ReportEnd() {}
  virtual void ActiveReport_Terminate() {}

  // Section events: Format, then BeforePrint, for every instance of the section. BeforePrint runs once the
  // section's page is known (after that page's ActiveReport_PageStart).
  virtual void ReportHeader_Format() { is_default_handler_ = true; }
  virtual void ReportHeader_BeforePrint() { is_default_handler_ = true; }
  virtual void PageHeader_Format() { is_default_handler_ = true; }
  virtual void PageHeader_BeforePrint() { is_default_handler_ = true; }
  virtual void BannerHeader_Format() { is_default_handler_ = true; }
  virtual void BannerHeader_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader1_Format() { is_default_handler_ = true; }
  virtual void GroupHeader1_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader2_Format() { is_default_handler_ = true; }
  virtual void GroupHeader2_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader3_Format() { is_default_handler_ = true; }
  virtual void GroupHeader3_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader4_Format() { is_default_handler_ = true; }
  virtual void GroupHeader4_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader5_Format() { is_default_handler_ = true; }
  virtual void GroupHeader5_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupHeader6_Format() { is_default_handler_ = true; }
  virtual void GroupHeader6_BeforePrint() { is_default_handler_ = true; }
  virtual void Detail_Format() { is_default_handler_ = true; }
  virtual void Detail_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter1_Format() { is_default_handler_ = true; }
  virtual void GroupFooter1_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter2_Format() { is_default_handler_ = true; }
  virtual void GroupFooter2_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter3_Format() { is_default_handler_ = true; }
  virtual void GroupFooter3_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter4_Format() { is_default_handler_ = true; }
  virtual void GroupFooter4_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter5_Format() { is_default_handler_ = true; }
  virtual void GroupFooter5_BeforePrint() { is_default_handler_ = true; }
  virtual void GroupFooter6_Format() { is_default_handler_ = true; }
  virtual void GroupFooter6_BeforePrint() { is_default_handler_ = true; }
  virtual void BannerFooter_Format() { is_default_handler_ = true; }
  virtual void BannerFooter_BeforePrint() { is_default_handler_ = true; }
  virtual void PageFooter_Format() { is_default_handler_ = true; }
  virtual void PageFooter_BeforePrint() { is_default_handler_ = true; }
  virtual void ReportFooter_Format() { is_default_handler_ = true; }
  virtual void ReportFooter_BeforePrint() { is_default_handler_ = true; }

  // Sections by name ("GroupHeader1", any case) or id. Throws LayoutError for a section the layout lacks.
  Section& Sections(std::string_view name);
  Section& Sections(SectionId id);
  Section* FindSection(SectionId id) const { return sections_[id].get(); }

  // Controls of all sections by name, any case: Controls<TextBox>("txtTotal").set_text(...). Throws
  // LayoutError for an unknown name or a control of another class.
  template <typename T = Control>
  T& Controls(std::string_view name) {
    return ControlAs<T>(ControlNamed(name));
  }
  Control* FindControl(std::string_view name);

  // Fields("fldZip").set_value(...); Fields().Add("fldZip") in data initialisation.
  FieldCollection& Fields() { return fields_; }
  Field Fields(std::string_view name) { return fields_.Item(name); }

  PrinterSettings& printer() { return printer_; }
  PageSettings& page_settings() { return page_settings_; }
  // Paper size after orientation, in twips.
  int32_t paper_width() const;
  int32_t paper_height() const;
  // The width sections print in: as set, or the paper's width less the side margins while never set.
  int32_t print_width() const;
  void set_print_width(int32_t twips) { print_width_ = twips; }
  // Says that every run of this report as a subreport prints the same within one run of the report holding it
  // (a company header on every page): the engine runs it once a document and repeats what it printed.
  void set_prints_alike(bool prints_alike) { prints_alike_ = prints_alike; }

  TableOfContents& TOC() { return toc_; }
  PageCanvas& Canvas() { return canvas_; }

  // The class name messages use: the dynamic type's name without namespaces ("rptChaccts").
  std::string class_name() const;

 protected:
  ActiveReport();

  // Declares sections and controls; may be called more than once (a framework base declares the standard
  // sections, the report adds its own). A section declared again takes the new row's properties. Throws
  // LayoutError for a control in an undeclared section, a control name used twice or a flag that does not
  // apply.
  void Declare(std::span<const SectionRow> sections, std::span<const ControlRow> controls = {});

 private:
  friend class ReportFill;  // reads ControlsVersion and is_default_handler_

  Control& ControlNamed(std::string_view name);
  Section& DeclareSection(SectionId id);
  // Changes whenever a control is added or removed or a summary changes, anywhere in the report.
  uint64_t ControlsVersion() const;

  std::array<std::unique_ptr<Section>, kSectionCount> sections_;
  FieldCollection fields_;
  PrinterSettings printer_;
  PageSettings page_settings_;
  int32_t print_width_ = 0;
  TableOfContents toc_;
  PageCanvas canvas_;
  vb::NameMap<Control*> controls_by_name_;
  uint64_t controls_by_name_version_ = 0;
  vb::RecentNames<Control*> recent_lookups_;
  // Set by the section handlers this class does not override, so that the fill knows nothing changed.
  bool is_default_handler_ = false;
  bool prints_alike_ = false;
  std::unique_ptr<Band> kept_band_;  // what it printed as a subreport in the document kept_serial_ names
  uint64_t kept_serial_ = 0;
};

// Creates a report object owned by a handle that runs ActiveReport_Terminate on release.
template <typename Report, typename... Args>
ReportHandle MakeReport(Args&&... args) {
  return ReportHandle(new Report(std::forward<Args>(args)...));
}

}  // namespace vob::engine
