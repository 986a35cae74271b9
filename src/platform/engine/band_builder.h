// Engine-internal: lays out one section instance as a band of page items, after its handlers have run.
// Text that can grow is wrapped and pushes the controls below it down; subreports run and add their items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/engine/document_tables.h"
#include "platform/engine/section.h"
#include "platform/engine/text_measurer.h"

namespace vob::engine {

// Runs the report a subreport control shows, at a width, into a band.
class SubreportRunner {
 public:
  virtual void RunSubreport(Subreport& control, Band& band) = 0;

 protected:
  ~SubreportRunner() = default;
};

class BandBuilder {
 public:
  BandBuilder(DocumentTables& tables, TextMeasurer& measurer) : tables_(tables), measurer_(measurer) {}

  // Lays out a visible section at a width into band (replacing what it held). An opaque section becomes a
  // rectangle of its colour behind its controls.
  void Build(const Section& section, int32_t width, SubreportRunner& subreports, Band& band);

  // Cuts band at most cut twips below its top, at a place no item but rectangles, lines and whole text lines
  // is cut through: band keeps what lies above, rest receives what lies below (moved up to its top). Returns
  // the height kept, 0 when nothing can stay above the cut.
  int32_t Split(Band& band, int32_t cut, Band& rest);

 private:
  // A control that grows, found in a first pass: its growth and what it will print.
  struct Grower {
    const Control* control = nullptr;
    int32_t push = 0;    // how far it moves down itself
    int32_t growth = 0;  // how much taller it gets
    std::string text;    // wrapped text of a text control
    Band subreport;      // items of a subreport
  };

  void FindGrowers(const Section& section, SubreportRunner& subreports);
  int32_t PushOf(const Control& control) const;
  void AddText(const TextControl& control, uint32_t section_name, int32_t push, Grower* grower, Band& band);
  std::string WrappedText(const TextControl& control, std::string_view text);
  // Text that cannot grow stays inside its box: the lines whose baseline lies in it (line breaks wrap as
  // ever), each cut where it would cross the right edge.
  void ClipText(const TextControl& control, uint32_t font_index, const std::string& text,
                std::string& clipped);
  double LineHeight(uint32_t font_index);
  uint32_t NameOf(const Control& control);

  DocumentTables& tables_;
  TextMeasurer& measurer_;
  std::vector<Grower> growers_;
};

}  // namespace vob::engine
