// The controls a section holds: labels, text boxes (bound, unbound and computed), lines, images, subreports
// and the data control. A property a handler sets stays set until a handler changes it again (object
// semantics).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/data/recordset.h"
#include "platform/engine/engine_error.h"
#include "platform/engine/layout.h"
#include "platform/engine/page_model.h"
#include "platform/vb/currency.h"
#include "platform/vb/format.h"
#include "platform/vb/variant.h"

namespace vob::engine {

class ActiveReport;
class BandBuilder;
class ReportFill;
class Section;

// Releasing a report object runs its ActiveReport_Terminate, then deletes it. Create reports with MakeReport
// (active_report.h) so that every owner releases them this way.
struct ReleaseReport {
  void operator()(ActiveReport* report) const;
};
using ReportHandle = std::unique_ptr<ActiveReport, ReleaseReport>;

class Control {
 public:
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  // kLabel, kText (every text box, computed ones included), kLine, kImage, kSubreport or kData.
  ControlKind kind() const { return kind_; }
  virtual std::string_view class_name() const = 0;  // "TextBox", for messages
  Section& section() const { return *section_; }

  int32_t left() const { return left_; }
  int32_t top() const { return top_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  void set_left(int32_t twips) { left_ = twips; }
  void set_top(int32_t twips) { top_ = twips; }
  void set_width(int32_t twips) { width_ = twips; }
  void set_height(int32_t twips) { height_ = twips; }
  bool visible() const { return is_visible_; }
  void set_visible(bool is_visible) { is_visible_ = is_visible; }

 protected:
  Control(Section& section, ControlKind kind, std::string name)
      : name_(std::move(name)), kind_(kind), section_(&section) {}

 private:
  std::string name_;
  ControlKind kind_;
  friend class BandBuilder;  // caches the control's index in the document's name table
  Section* section_;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool is_visible_ = true;
  mutable uint64_t name_serial_ = 0;  // the document whose name index is cached, 0 for none
  mutable uint32_t name_index_ = 0;
};

// The typed view of a control; throws LayoutError when the control is of another class.
template <typename T>
T& ControlAs(Control& control) {
  if constexpr (std::is_same_v<T, Control>) {
    return control;
  } else {
    // Every final class has a kind of its own: a look-up by name in a handler checks it without RTTI.
    if (control.kind() == T::kKind) return static_cast<T&>(control);
    throw LayoutError(control.name() + " is a " + std::string(control.class_name()) + ", not a " +
                      std::string(T::kClassName));
  }
}

// What labels and text boxes share: font, alignment, colour and growth. Text of a control that can grow is
// wrapped to the control's width and the section grows to hold it. Other text stays inside its box, as
// printed forms need: line breaks wrap it, the lines that fit the box's height print, each cut where it would
// cross the right edge (a box without a width prints its text whole).
class TextControl : public Control {
 public:
  const FontSpec& font() const { return font_; }
  void set_font(FontSpec font) {
    font_ = std::move(font);
    font_serial_ = 0;
  }
  Align alignment() const { return alignment_; }
  void set_alignment(Align alignment) { alignment_ = alignment; }
  Color fore_color() const { return fore_color_; }
  void set_fore_color(Color color) { fore_color_ = color; }
  bool can_grow() const { return can_grow_; }
  void set_can_grow(bool can_grow) { can_grow_ = can_grow; }

 protected:
  using Control::Control;
  std::string text_;  // the caption or the text shown

 private:
  friend class BandBuilder;  // prints text_ and caches the font's index in the document's font table
  FontSpec font_;
  Align alignment_ = Align::kLeft;
  Color fore_color_;
  bool can_grow_ = false;
  mutable uint64_t font_serial_ = 0;  // the document whose font index is cached, 0 for none
  mutable uint32_t font_index_ = 0;
};

class Label final : public TextControl {
 public:
  static constexpr std::string_view kClassName = "Label";
  static constexpr ControlKind kKind = kLabel;
  Label(Section& section, std::string name) : TextControl(section, kLabel, std::move(name)) {}
  std::string_view class_name() const override { return kClassName; }

  const std::string& caption() const { return text_; }
  void set_caption(std::string caption) { text_ = std::move(caption); }
};

// A text box shows a text a handler sets, or a value the engine puts in it before each instance of its
// section is formatted: the bound field's value of the current row, a sum, the page number or the page count.
// Such a value is shown through the output format; a text a handler sets prints exactly as set.
class TextBox final : public TextControl {
 public:
  static constexpr std::string_view kClassName = "TextBox";
  static constexpr ControlKind kKind = kText;
  enum class Summary : uint8_t { kNone, kGroup, kReport, kPageNumber, kPageCount };

  TextBox(Section& section, std::string name) : TextControl(section, kText, std::move(name)) {}
  std::string_view class_name() const override { return kClassName; }

  // When read in a handler, the formatted value the engine put in (a footer's sum reads as "1,234.50").
  const std::string& text() const { return text_; }
  void set_text(std::string text) {
    text_ = std::move(text);
    is_text_from_value_ = false;
  }
  // A column ("AccountNo"), a qualified column ("GLAccountsHeader.AccountNo") or an unbound field.
  const std::string& data_field() const { return data_field_; }
  void set_data_field(std::string field) {
    data_field_ = std::move(field);
    bound_generation_ = 0;
  }
  // A change while the section is formatted re-formats the value shown, unless a handler set the text.
  const std::string& output_format() const { return output_format_; }
  void set_output_format(std::string pattern);
  const std::string& hyperlink() const { return hyperlink_; }
  void set_hyperlink(std::string target) { hyperlink_ = std::move(target); }
  // The name of the box's column when the report is exported as data, where no caption printed over it
  // names it well (one caption over two columns); empty: the exporter names it from the layout.
  const std::string& column_name() const { return column_name_; }
  void set_column_name(std::string name) { column_name_ = std::move(name); }
  // A kGroup sum runs over the group of the text box's own section (the banner's in the banner footer).
  Summary summary() const { return summary_; }
  void set_summary(Summary summary);
  // The value the engine bound or summed for the current instance (Empty for a text box nobody feeds).
  const vb::Variant& value() const { return value_; }

 private:
  // The fill shows values, keeps sums and resolves the bound field's slot; the band builder prints a page
  // number's or count's slot.
  friend class BandBuilder;
  friend class ReportFill;

  void ShowValue(const vb::Variant& value);  // throws vb::FormatError for a bad output format

  std::string data_field_;
  std::string output_format_;
  std::string hyperlink_;
  std::string column_name_;
  Summary summary_ = Summary::kNone;
  vb::Variant value_;
  bool is_text_from_value_ = false;
  const vb::FormatProgram* format_program_ = nullptr;  // compiled once per pattern text
  uint64_t bound_generation_ = 0;                      // the fields' generation bound_slot_ belongs to
  int bound_slot_ = 0;
  vb::Currency sum_;              // the running sum of a kGroup or kReport summary
  uint64_t deferred_serial_ = 0;  // the document deferred_slot_ belongs to, 0 for none
  uint32_t deferred_slot_ = 0;    // a page number's or count's slot
};

class Line final : public Control {
 public:
  static constexpr std::string_view kClassName = "Line";
  static constexpr ControlKind kKind = kLine;
  Line(Section& section, std::string name) : Control(section, kLine, std::move(name)) {}
  std::string_view class_name() const override { return kClassName; }
};

inline constexpr int kSizeModeClip = 0;
inline constexpr int kSizeModeStretch = 1;

class Image final : public Control {
 public:
  static constexpr std::string_view kClassName = "Image";
  static constexpr ControlKind kKind = kImage;
  Image(Section& section, std::string name) : Control(section, kImage, std::move(name)) {}
  std::string_view class_name() const override { return kClassName; }

  const std::shared_ptr<const Picture>& picture() const { return picture_; }
  void set_picture(std::shared_ptr<const Picture> picture) { picture_ = std::move(picture); }
  // kSizeModeClip: the picture at its own size (96 pixels per inch), cut at the box; kSizeModeStretch: the
  // box.
  int size_mode() const { return size_mode_; }
  void set_size_mode(int mode) { size_mode_ = mode; }

 private:
  std::shared_ptr<const Picture> picture_;
  int size_mode_ = kSizeModeClip;
};

// Shows another report object inside its section: the engine runs that report's handlers and data each time
// the section prints, and the section grows to hold what it printed (unless growth is switched off).
class Subreport final : public Control {
 public:
  static constexpr std::string_view kClassName = "Subreport";
  static constexpr ControlKind kKind = kSubreport;
  Subreport(Section& section, std::string name);
  ~Subreport() override;
  std::string_view class_name() const override { return kClassName; }

  ActiveReport* report() const { return report_.get(); }
  // Assigning releases the report shown before; assigning nothing (nullptr) only releases it.
  void set_report(ReportHandle report);
  bool can_grow() const { return can_grow_; }
  void set_can_grow(bool can_grow) { can_grow_ = can_grow; }

 private:
  ReportHandle report_;
  bool can_grow_ = true;
};

// Feeds the detail rows. After ActiveReport_DataInitialize the engine opens the source (a SQL text run over
// the connection string, or a ready recordset) and stands on the first row; handlers then read recordset().
class DataControl final : public Control {
 public:
  static constexpr std::string_view kClassName = "DataControl";
  static constexpr ControlKind kKind = kData;
  DataControl(Section& section, std::string name) : Control(section, kData, std::move(name)) {}
  std::string_view class_name() const override { return kClassName; }

  const std::string& connection_string() const { return connection_string_; }
  void set_connection_string(std::string text) { connection_string_ = std::move(text); }
  const std::string& source() const { return source_; }
  void set_source(std::string sql) { source_ = std::move(sql); }
  int timeout_seconds() const { return timeout_seconds_; }
  void set_timeout_seconds(int seconds) { timeout_seconds_ = seconds; }
  // A recordset the report built itself (in memory, say): the engine reads it as it stands, instead of the
  // SQL.
  void set_recordset(std::shared_ptr<data::Recordset> recordset) { ready_recordset_ = std::move(recordset); }

  // The open recordset. Throws LayoutError when the engine has not opened the source (before the run's data
  // initialisation has finished, or with neither SQL nor a ready recordset).
  data::Recordset& recordset() const;
  bool has_recordset() const { return open_ != nullptr; }

 private:
  friend class ReportFill;  // opens and closes the source
  // Throws data::SqlError (quoting the SQL) when the source cannot be opened; returns the recordset, or
  // nullptr when there is no source at all. Close closes what Open opened from SQL.
  data::Recordset* Open();
  void Close();

  std::string connection_string_;
  std::string source_;
  int timeout_seconds_ = 30;
  std::shared_ptr<data::Recordset> ready_recordset_;
  std::shared_ptr<data::Recordset> open_;
};

}  // namespace vob::engine
