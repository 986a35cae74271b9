// A section of a report and the controls it holds. Properties set in a handler apply to the instance being
// formatted and stay set for later instances until a handler changes them again.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/controls.h"
#include "platform/engine/layout.h"
#include "platform/vb/variant.h"

namespace vob::engine {

class BandBuilder;
class ReportFill;

inline constexpr int kBackStyleTransparent = 0;
inline constexpr int kBackStyleOpaque = 1;

class Section {
 public:
  explicit Section(SectionId id);
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;

  SectionId id() const { return id_; }
  // Its id's name unless the layout named it otherwise.
  std::string_view name() const { return SectionName(named_as_); }
  // The section whose name it bears, and whose handlers run for it.
  SectionId named_as() const { return named_as_; }

  int32_t height() const { return height_; }
  void set_height(int32_t twips) { height_ = twips; }
  bool visible() const { return is_visible_; }
  void set_visible(bool is_visible) { is_visible_ = is_visible; }
  // 0 none, 1 a new page before the section, 2 after it. Set in the section's own Format, it applies to that
  // instance.
  int new_page() const { return new_page_; }
  void set_new_page(int new_page) { new_page_ = new_page; }
  // The same for columns of a multi-column detail: 0 none, 1 before, 2 after.
  int new_column() const { return new_column_; }
  void set_new_column(int new_column) { new_column_ = new_column; }
  int back_style() const { return back_style_; }
  void set_back_style(int style) { back_style_ = style; }
  Color back_color() const { return back_color_; }
  void set_back_color(Color color) { back_color_ = color; }
  // Detail only: columns side by side, each (print width - spacing * (columns - 1)) / columns wide.
  int columns() const { return columns_; }
  void set_columns(int columns) { columns_ = columns; }
  int32_t column_spacing() const { return column_spacing_; }
  void set_column_spacing(int32_t twips) { column_spacing_ = twips; }
  // Group headers: kept on one page with the first line that follows them.
  bool keeps_together() const { return keeps_together_; }
  void set_keeps_together(bool keeps_together) { keeps_together_ = keeps_together; }

  // Group headers. The break field: a column, "Table.Column" or an unbound field; none means one group.
  const std::string& break_field() const { return break_field_; }
  void set_break_field(std::string field) { break_field_ = std::move(field); }
  // Repeat at the top of every page the group continues on.
  bool repeats() const { return repeats_; }
  void set_repeats(bool repeats) { repeats_ = repeats; }
  // True while a repetition at the top of a page is being formatted and printed.
  bool is_repeating() const { return is_repeating_; }
  // The break value of the group being printed.
  const vb::Variant& group_value() const { return group_value_; }

  // Controls of this section, by name without regard to case. Controls<TextBox>("txtTotal") checks the class.
  template <typename T = Control>
  T& Controls(std::string_view name) {
    return ControlAs<T>(ControlNamed(name));
  }
  Control* FindControl(std::string_view name);
  std::span<const std::unique_ptr<Control>> controls() const { return controls_; }
  // A new control at left 0, top 0, size 0 (a subreport added in report start, say). Throws LayoutError when
  // the section already has a control of that name.
  Control& AddControl(ControlKind kind, std::string_view name);
  void RemoveControl(std::string_view name);

 private:
  // The engine's own members: the fill sets the repeat flag and the group value, the band builder caches the
  // section's name index, and the version tells caches built from the controls when to rebuild.
  friend class ActiveReport;
  friend class BandBuilder;
  friend class ReportFill;
  friend class TextBox;

  Control& ControlNamed(std::string_view name);
  // Counts changes of the control set and of summaries, of every section in the process: caches built from a
  // report's controls check one number, and rebuild (needlessly, and rarely) after another report's change.
  void Touch() { generation_.fetch_add(1, std::memory_order_relaxed); }
  static uint64_t generation() { return generation_.load(std::memory_order_relaxed); }

  SectionId id_;
  SectionId named_as_ = id_;
  int32_t height_ = 0;
  bool is_visible_ = true;
  int new_page_ = 0;
  int new_column_ = 0;
  int back_style_ = kBackStyleTransparent;
  Color back_color_ = kWhite;
  int columns_ = 1;
  int32_t column_spacing_ = 0;
  bool keeps_together_ = false;
  std::string break_field_;
  bool repeats_ = false;
  bool is_repeating_ = false;
  vb::Variant group_value_;
  std::vector<std::unique_ptr<Control>> controls_;
  static std::atomic<uint64_t> generation_;
  mutable uint64_t name_serial_ = 0;  // the document whose name index is cached, 0 for none
  mutable uint32_t name_index_ = 0;
};

}  // namespace vob::engine
