// The PDF writer alone on the peer listing's geometry: Letter pages of 69 lines (1,566 for 100,000 rows),
// built as Pages here (not timed) and streamed through the writer. The bare direct writer takes 0.73 ms a
// page.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/render/font_service.h"
#include "platform/render/pdf_writer.h"

namespace {

using vob::engine::Align;
using vob::engine::Color;
using vob::engine::ItemKind;
using vob::engine::Page;
using vob::engine::PageItem;

constexpr int kRowsPerGroup = 25;
constexpr int kLinesPerPage = 69;
constexpr int32_t kPoint = 20;  // twips
constexpr int32_t kRowHeight = 10 * kPoint;
constexpr int32_t kMargin = 36 * kPoint, kRight = 576 * kPoint;
constexpr int32_t kColumns[9] = {36 * kPoint,  80 * kPoint,  204 * kPoint, 266 * kPoint, 316 * kPoint,
                                 362 * kPoint, 414 * kPoint, 450 * kPoint, 500 * kPoint};
// Baseline 8 pt below the row top, as the peers draw it, with Liberation Sans' ascent of 7.24 pt at 8 pt.
constexpr int32_t kTextOffset = 15;
const char* const kCaptions[8] = {"Account", "Name", "Contact", "City", "Date", "Reference", "Terms", "Memo"};

// The peer generator's vocabulary, so that repeats and distinct texts come in the same proportions.
const char* const kSurnames[] = {
    "Abbott",    "Baker",      "Carver",   "Delgado",   "Ellison",   "Fischer",    "Garcia",    "Hartley",
    "Ingram",    "Jensen",     "Kowalski", "Lindqvist", "Morales",   "Nakamura",   "O'Brien",   "Patel",
    "Quinn",     "Rasmussen",  "Schäfer",  "Thompson",  "Underwood", "Vasquez",    "Whitaker",  "Young",
    "Zimmerman", "Núñez",      "Brennan",  "Castillo",  "Dubois",    "Fitzgerald", "Gallagher", "Holloway",
    "Lefèvre",   "McAllister", "Novak",    "Okafor",    "Petrov"};
const char* const kTrades[] = {
    "Hardware",    "Farm Supply", "Plumbing", "Bakery",   "Consulting", "Auto Repair", "Florist", "Electric",
    "Dental Care", "Landscaping", "Printing", "Catering", "Roofing",    "Pet Supply",  "Books",   "Café"};
const char* const kSuffixes[] = {"Inc.", "LLC", "Ltd", "& Sons", "Co.", "", "", ""};
const char* const kCities[] = {
    "Springfield", "Riverside", "Fairview",   "Madison",  "Georgetown", "Clinton",    "Salem",
    "Greenville",  "Bristol",   "Oakland",    "Ashland",  "Burlington", "Manchester", "Milford",
    "Newport",     "Dover",     "Hudson",     "Kingston", "Lakewood",   "Marion",     "Oxford",
    "Franklin",    "Santa Fé",  "Winchester", "Chester",  "Arlington"};
const char* const kTerms[] = {"NET30", "NET15", "NET60", "COD", "DUE", "2/10N30", "EOM"};
const char* const kMemos[] = {"Office supplies",
                              "Freight",
                              "Consulting hours",
                              "Repairs & maint.",
                              "Fuel",
                              "Rent",
                              "Utilities",
                              "Seed and feed",
                              "Advertising",
                              "Insurance premium",
                              "Equipment rental",
                              "Refund",
                              "Late fee",
                              "Deposit",
                              "Subcontractor",
                              "Software licence",
                              "Telephone"};
const char* const kPrefixes[] = {"INV", "CRN", "PMT", "BIL", "CHK", "DEP"};

class Random {
 public:
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int Between(int low, int high) {
    return low + static_cast<int>(Next() % static_cast<uint64_t>(high - low + 1));
  }
  template <typename T, size_t N>
  const char* Pick(T (&choices)[N]) {
    return choices[Next() % N];
  }

 private:
  uint64_t state_ = 20240317;
};

std::string Amount(int64_t cents) {
  // "#,##0.00;(#,##0.00)"
  uint64_t value = cents < 0 ? -static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
  std::string digits = std::to_string(value / 100), text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  char fraction[4];
  std::snprintf(fraction, sizeof fraction, ".%02d", static_cast<int>(value % 100));
  text += fraction;
  return cents < 0 ? "(" + text + ")" : text;
}

// Builds the listing page by page, as the engine would hand them over. Each group is 27 lines: its header,
// 25 rows and its footer.
class Listing {
 public:
  static constexpr int kLinesPerGroup = kRowsPerGroup + 2;

  explicit Listing(int rows) : lines_(rows / kRowsPerGroup * kLinesPerGroup) {}
  bool IsDone() const { return line_ == lines_; }
  int page_count() const { return (lines_ + kLinesPerPage - 1) / kLinesPerPage; }

  Page NextPage() {
    Page page;
    page.number = ++page_number_;
    page.items.reserve(700);
    for (int i = 0; i < 8; ++i) page.items.push_back(Text(kCaptions[i], i, 36 * kPoint, Align::kLeft));
    page.items.push_back(Text("Amount", 8, 36 * kPoint, Align::kRight));
    PageItem rule;
    rule.kind = ItemKind::kLine;
    rule.left = kMargin;
    rule.top = 49 * kPoint;
    rule.width = kRight - kMargin;
    rule.height = 0;
    rule.line_twips = 10;
    page.items.push_back(rule);
    for (int on_page = 0; on_page < kLinesPerPage && !IsDone(); ++on_page, ++line_) {
      const int32_t top = 50 * kPoint + on_page * kRowHeight;
      const int group = line_ / kLinesPerGroup, in_group = line_ % kLinesPerGroup;
      if (in_group == 0) {
        group_cents_ = 0;
        page.items.push_back(Text("Group " + std::to_string(group), 0, top, Align::kLeft, kRight - kMargin));
      } else if (in_group == kLinesPerGroup - 1) {
        page.items.push_back(
            Text("Total group " + std::to_string(group), 0, top, Align::kLeft, kRight - kMargin));
        page.items.push_back(Text(Amount(group_cents_), 8, top, Align::kRight));
      } else {
        if ((in_group - 1) % 2 == 1) {
          PageItem shade;
          shade.kind = ItemKind::kRect;
          shade.left = kMargin;
          shade.top = top;
          shade.width = kRight - kMargin;
          shade.height = kRowHeight;
          shade.color = Color{235, 235, 235};
          page.items.push_back(shade);
        }
        AddRow(page, top);
      }
    }
    page.items.push_back(
        Text("Page " + std::to_string(page.number) + " of ", 0, 746 * kPoint, Align::kLeft, 1000));
    PageItem count = Text("", 0, 746 * kPoint, Align::kLeft, 1000);
    count.left = kMargin + 1000;
    count.deferred = 0;
    page.items.push_back(count);
    return page;
  }

 private:
  PageItem Text(std::string text, int column, int32_t top, Align align, int32_t width = 0) {
    PageItem item;
    item.kind = ItemKind::kText;
    item.text = std::move(text);
    item.left = column == 8 ? kColumns[8] : kColumns[column];
    item.top = top + kTextOffset;
    item.width = width != 0    ? width
                 : column == 8 ? kRight - kColumns[8]
                               : kColumns[column + 1] - kColumns[column];
    item.height = kRowHeight;
    item.align = align;
    return item;
  }

  void AddRow(Page& page, int32_t top) {
    char account[16], date[16], reference[16];
    std::snprintf(account, sizeof account, "%04d-%04d", random_.Between(1000, 9999),
                  random_.Between(0, 9999));
    std::string name =
        std::string(random_.Pick(kSurnames)) + " " + random_.Pick(kTrades) + " " + random_.Pick(kSuffixes);
    while (name.back() == ' ') name.pop_back();
    std::string contact =
        std::string(1, "ABCDEFGHJKLMNPRSTW"[random_.Next() % 18]) + ". " + random_.Pick(kSurnames);
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", random_.Between(1, 12), random_.Between(1, 28),
                  random_.Between(2019, 2024));
    std::snprintf(reference, sizeof reference, "%s-%06d", random_.Pick(kPrefixes),
                  random_.Between(1, 999999));
    int64_t cents = random_.Between(1, 2500000);
    if (random_.Next() % 100 < 12) cents = -cents;
    group_cents_ += cents;
    const std::string texts[8] = {account,
                                  name,
                                  contact,
                                  random_.Pick(kCities),
                                  date,
                                  reference,
                                  random_.Pick(kTerms),
                                  random_.Pick(kMemos)};
    for (int i = 0; i < 8; ++i) page.items.push_back(Text(texts[i], i, top, Align::kLeft));
    page.items.push_back(Text(Amount(cents), 8, top, Align::kRight));
  }

  Random random_;
  int page_number_ = 0;
  int lines_;
  int line_ = 0;
  int64_t group_cents_ = 0;
};

void BM_PdfWriterListing(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "vob_pdf_writer_bench.pdf").string();
  vob::engine::DocumentInfo info;
  info.report_key = "listing";
  info.fonts = {vob::engine::FontSpec{"Arial", 8, false, false}};
  info.names = {""};
  int pages = 0;
  for (auto _ : state) {
    vob::render::FontService fonts;
    // All of the writer's work on the measured thread: on the background thread the compression would escape
    // the count.
    vob::render::PdfOptions options;
    options.writes_in_background = false;
    vob::render::PdfWriter writer(fonts, path, options);
    Listing listing(static_cast<int>(state.range(0)));
    writer.Begin(info);
    pages = 0;
    while (!listing.IsDone()) {
      state.PauseTiming();
      Page page = listing.NextPage();
      state.ResumeTiming();
      writer.AddPage(info, std::move(page));
      ++pages;
    }
    vob::engine::DocumentEnd end;
    end.page_count = pages;
    end.deferred_texts = {std::to_string(pages)};
    writer.End(info, end);
  }
  // The result must be the whole listing.
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string pdf = bytes.str();
  const int expected = Listing(static_cast<int>(state.range(0))).page_count();
  if (pages != expected ||
      pdf.find("/Type/Pages/Count " + std::to_string(expected) + "/") == std::string::npos ||
      pdf.compare(pdf.size() - 6, 6, "%%EOF\n") != 0) {
    state.SkipWithError("the listing did not come out whole");
  }
  state.counters["pages"] = pages;
  state.counters["MB"] = static_cast<double>(pdf.size()) / (1 << 20);
  // Shown as time per page.
  state.counters["per_page"] =
      benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  std::filesystem::remove(path);
}
// 100,000 rows give the peers' 1,566 pages; 10,000 rows (157 pages) suit callgrind.
BENCHMARK(BM_PdfWriterListing)->Arg(100000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
