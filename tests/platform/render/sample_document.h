// A small hand-built report document shared by the renderer tests, and helpers to run the PDF tools on
// output. Two Letter pages: shading, a title, detail rows with drill-down links, a rule and "Page N of M"
// deferred.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/engine/page_model.h"

namespace vob::render::sample {

inline constexpr uint32_t kPageCountSlot = 0;

struct SampleDocument {
  engine::DocumentInfo info;
  std::vector<engine::Page> pages;
  engine::DocumentEnd end;

  // Streams the document into a sink as the engine would.
  void Play(engine::PageSink& sink) const {
    sink.Begin(info);
    for (const engine::Page& page : pages) sink.AddPage(info, page);
    sink.End(info, end);
  }
  engine::PageModel Model() const {
    engine::PageModel model;
    Play(model);
    return model;
  }
};

inline engine::PageItem TextItem(uint32_t section, uint32_t control, std::string text, int32_t left,
                                 int32_t top, int32_t width, engine::Align align = engine::Align::kLeft,
                                 uint32_t font = 0) {
  engine::PageItem item;
  item.kind = engine::ItemKind::kText;
  item.section = section;
  item.control = control;
  item.text = std::move(text);
  item.left = left;
  item.top = top;
  item.width = width;
  item.height = 200;
  item.align = align;
  item.font = font;
  return item;
}

inline SampleDocument MakeSampleDocument() {
  SampleDocument document;
  document.info.report_key = "chaccts";
  document.info.title = "Chart of Accounts";
  document.info.fonts = {engine::FontSpec{"Arial", 8, false, false},
                         engine::FontSpec{"Arial", 12, true, false}};
  // 0 "", 1 PageHeader, 2 lblTitle, 3 Detail, 4 txtAccountNo, 5 txtName, 6 PageFooter, 7 lblPage, 8
  // txtPageCount, 9 Line1, 10 imgLogo
  document.info.names = {"",           "PageHeader", "lblTitle",     "Detail", "txtAccountNo", "txtName",
                         "PageFooter", "lblPage",    "txtPageCount", "Line1",  "imgLogo"};
  const char* kAccounts[2][3][2] = {
      {{"1000", "Cash in Bank"}, {"1100", "Accounts Receivable"}, {"1200", "Inventory"}},
      {{"2000", "Accounts Payable"}, {"3000", "Owner's Equity"}, {"4000", "Sales"}}};
  for (int number = 1; number <= 2; ++number) {
    engine::Page page;
    page.number = number;
    engine::PageItem shade;
    shade.kind = engine::ItemKind::kRect;
    shade.section = 3;
    shade.left = 720;
    shade.top = 1640;
    shade.width = 10800;
    shade.height = 200;
    shade.color = engine::Color{0xF0, 0xF0, 0xF0};
    page.items.push_back(shade);
    page.items.push_back(TextItem(1, 2, "Chart of Accounts", 720, 720, 10800, engine::Align::kCenter, 1));
    engine::PageItem rule;
    rule.kind = engine::ItemKind::kLine;
    rule.section = 1;
    rule.control = 9;
    rule.left = 720;
    rule.top = 1200;
    rule.width = 10800;
    rule.height = 0;
    page.items.push_back(rule);
    for (int row = 0; row < 3; ++row) {
      int32_t top = 1440 + row * 200;
      engine::PageItem account = TextItem(3, 4, kAccounts[number - 1][row][0], 720, top, 1000);
      account.hyperlink = number == 1 && row == 0 ? "C001" : number == 2 && row == 2 ? "R:jobinfo;J01" : "";
      page.items.push_back(account);
      page.items.push_back(TextItem(3, 5, kAccounts[number - 1][row][1], 1800, top, 4000));
    }
    page.items.push_back(TextItem(6, 7, "Page " + std::to_string(number) + " of", 9000, 14400, 1000));
    engine::PageItem count = TextItem(6, 8, "", 10000, 14400, 1520, engine::Align::kRight);
    count.deferred = kPageCountSlot;
    page.items.push_back(count);
    document.pages.push_back(page);
  }
  document.end.page_count = 2;
  document.end.deferred_texts = {"2"};
  document.end.toc = {engine::TocEntry{"Assets", {"Assets"}, 0, 1},
                      engine::TocEntry{"Cash in Bank", {"Assets", "Cash in Bank"}, 1, 1},
                      engine::TocEntry{"Liabilities", {"Liabilities"}, 0, 2}};
  return document;
}

// A fresh empty folder under the test binary's temporary directory.
inline std::filesystem::path ScratchFolder(const std::string& name) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vob_render_test_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// Runs a shell command and returns its standard output; the exit status goes to *status.
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, count);
  int result = pclose(pipe);
  if (status != nullptr) *status = result;
  return output;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace vob::render::sample
