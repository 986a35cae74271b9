// A kept run fed pages directly: search finds every hit however many there are, blanks taken loosely, and
// the dumps written a piece at a time are the dumps of the whole document.
#include "cli/viewer/kept_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/render/json_dump.h"
#include "platform/render/text_dump.h"

namespace vob::cli::viewer {
namespace {

// `pages` pages of `lines` text items each, every one reading "Total  for <page>.<line>", and a contents
// entry for every hundredth page.
void Fill(engine::PageSink& run, int pages, int lines) {
  engine::DocumentInfo info;
  info.report_key = "total";
  info.fonts.push_back({});
  info.names.push_back("");
  run.Begin(info);
  engine::DocumentEnd end{pages, {}, {}};
  for (int number = 1; number <= pages; ++number) {
    engine::Page page;
    page.number = number;
    for (int line = 0; line < lines; ++line) {
      engine::PageItem item;
      item.text = "Total  for " + std::to_string(number) + "." + std::to_string(line);
      page.items.push_back(item);
    }
    run.AddPage(info, std::move(page));
    if (number % 100 == 1) end.toc.push_back({"Part " + std::to_string(number), {}, 0, number});
  }
  run.End(info, end);
}

TEST(KeptRunSearch, FindsEveryHitWithBlanksTakenLoosely) {
  KeptRun run(1, {});
  Fill(run, 300, 40);
  struct Case {
    const char* query;
    size_t lines;
  };
  const Case kCases[] = {
      {"total for", 12000}, {"TOTAL\t  FOR 299.3", 11}, {"total for 300.39", 1}, {"totalfor", 0}, {"", 0},
  };
  for (const Case& c : kCases) {
    const nlohmann::ordered_json hits = run.Search(c.query);
    EXPECT_EQ(hits.size(), c.lines) << c.query;
  }
  const nlohmann::ordered_json all = run.Search("total for");
  EXPECT_EQ(all.back()["page"], 300);
  EXPECT_EQ(all.back()["line"], 39);
}

TEST(KeptRunDownload, DumpsWrittenInPiecesAreTheWholeDocumentsDumps) {
  render::FontService fonts;
  for (int pages : {0, 1, 256, 300, 513}) {
    KeptRun run(1, {});
    Fill(run, pages, 3);
    engine::PageModel model;
    Fill(model, pages, 3);
    std::ostringstream json, text;
    render::WriteJsonDump(model, json);
    render::WriteTextDump(model, text);
    EXPECT_TRUE(run.Download("json", fonts) == json.str()) << pages << " pages";
    EXPECT_TRUE(run.Download("txt", fonts) == text.str()) << pages << " pages";
  }
}

}  // namespace
}  // namespace vob::cli::viewer
