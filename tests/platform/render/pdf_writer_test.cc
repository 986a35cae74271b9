// The PDF writer checked from outside: qpdf for structure, outline and links, pdftotext for text and
// positions. Positions are compared in points with a tolerance for the tools' rounding.
#include "platform/render/pdf_writer.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <regex>
#include <string>
#include <thread>

#include "platform/render/font_service.h"
#include "platform/render/pdf_output.h"
#include "platform/render/render_error.h"
#include "sample_document.h"

namespace vob::render {
namespace {

using sample::MakeSampleDocument;
using sample::RunCommand;
using sample::ScratchFolder;

constexpr std::chrono::sys_seconds kCreated{std::chrono::seconds{1700000000}};

std::string WriteSample(const std::filesystem::path& folder, const std::string& name,
                        const sample::SampleDocument& document) {
  FontService fonts;
  std::string path = (folder / name).string();
  PdfWriter writer(fonts, path, PdfOptions{kCreated});
  document.Play(writer);
  return path;
}

TEST(PdfWriter, PassesQpdfAndGivesItsTextBack) {
  std::filesystem::path folder = ScratchFolder("pdf_text");
  std::string path = WriteSample(folder, "sample.pdf", MakeSampleDocument());
  int status = -1;
  std::string check = RunCommand("qpdf --check '" + path + "' 2>&1", &status);
  EXPECT_EQ(status, 0) << check;
  EXPECT_NE(check.find("No syntax or stream encoding errors found"), std::string::npos) << check;

  struct Case {
    int page;
    std::string expected_line;
  };
  const Case kCases[] = {
      {1, "Chart of Accounts"}, {1, "1000 Cash in Bank"},   {1, "1100 Accounts Receivable"},
      {1, "Page 1 of 2"},       {2, "3000 Owner's Equity"}, {2, "4000 Sales"},
      {2, "Page 2 of 2"},
  };
  for (const Case& c : kCases) {
    std::string page = std::to_string(c.page);
    std::string text = RunCommand("pdftotext -layout -f " + page + " -l " + page + " '" + path + "' - 2>&1");
    // Columns come back as runs of blanks; squeeze them as a reader would.
    text = std::regex_replace(text, std::regex(" +"), " ");
    EXPECT_NE(text.find(c.expected_line), std::string::npos)
        << "page " << c.page << ": " << c.expected_line << "\n"
        << text;
  }
}

TEST(PdfWriter, PlacesTextInItsBox) {
  // pdftotext -bbox gives each word's box in points from the page's top-left corner.
  std::filesystem::path folder = ScratchFolder("pdf_boxes");
  sample::SampleDocument document = MakeSampleDocument();
  document.end.deferred_texts = {"12345"};
  std::string path = WriteSample(folder, "boxes.pdf", document);
  std::string boxes = RunCommand("pdftotext -bbox -f 1 -l 1 '" + path + "' - 2>&1");
  struct Case {
    std::string word;
    double x_min, x_max;  // NAN: not checked
  };
  // Liberation Sans 8 pt advances: "1000" 4 x 1139 units = 17.80 pt; "12345" 22.25 pt. Title (12 pt bold):
  // centred in 36..576 pt.
  const Case kCases[] = {
      {"1000", 36, 36 + 4 * 1139 * 8 / 2048.0},
      {"Cash", 90, NAN},
      {"12345", 576 - 5 * 1139 * 8 / 2048.0, 576},
  };
  for (const Case& c : kCases) {
    std::smatch match;
    std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">" +
                    c.word + "</word>");
    ASSERT_TRUE(std::regex_search(boxes, match, word)) << c.word << "\n" << boxes;
    EXPECT_NEAR(std::stod(match[1]), c.x_min, 0.05) << c.word;
    if (!std::isnan(c.x_max)) {
      EXPECT_NEAR(std::stod(match[3]), c.x_max, 0.05) << c.word;
    }
  }
}

TEST(PdfWriter, WritesOutlineAndDrillDownLinks) {
  std::filesystem::path folder = ScratchFolder("pdf_outline");
  std::string path = WriteSample(folder, "outline.pdf", MakeSampleDocument());
  nlohmann::json json = nlohmann::json::parse(RunCommand("qpdf --json '" + path + "'"));

  std::vector<std::string> outline;
  std::function<void(const nlohmann::json&, int)> walk = [&](const nlohmann::json& items, int depth) {
    for (const nlohmann::json& item : items) {
      outline.push_back(std::string(depth * 2, ' ') + item["title"].get<std::string>() + " -> page " +
                        std::to_string(item["destpageposfrom1"].get<int>()));
      walk(item["kids"], depth + 1);
    }
  };
  walk(json["outlines"], 0);
  EXPECT_EQ(outline, (std::vector<std::string>{"Assets -> page 1", "  Cash in Bank -> page 1",
                                               "Liabilities -> page 2"}));

  std::vector<std::string> links;
  // qpdf's JSON version 2: objects under "qpdf"[1], strings as "u:<text>".
  for (const auto& [key, object] : json["qpdf"][1].items()) {
    const nlohmann::json& value = object.contains("value") ? object["value"] : object;
    if (value.is_object() && value.value("/Subtype", "") == "/Link") {
      links.push_back(value["/A"]["/URI"].get<std::string>().substr(2));
    }
  }
  std::sort(links.begin(), links.end());
  EXPECT_EQ(links, (std::vector<std::string>{"C001", "R:jobinfo;J01"}));
}

TEST(PdfWriter, RepeatsByteForByte) {
  std::filesystem::path folder = ScratchFolder("pdf_repeat");
  std::string first = sample::ReadFile(WriteSample(folder, "first.pdf", MakeSampleDocument()));
  std::string second = sample::ReadFile(WriteSample(folder, "second.pdf", MakeSampleDocument()));
  EXPECT_FALSE(first.empty());
  EXPECT_TRUE(first == second) << "two runs over the same pages differ";
  EXPECT_NE(first.find("/CreationDate(D:20231114221320Z)"), std::string::npos);

  sample::SampleDocument changed = MakeSampleDocument();
  changed.pages[1].items[1].text = "Chart of Accounts, changed";
  std::string third = sample::ReadFile(WriteSample(folder, "third.pdf", changed));
  std::smatch first_id, third_id;
  std::regex id("/ID\\[<([0-9A-F]+)>");
  ASSERT_TRUE(std::regex_search(first, first_id, id));
  ASSERT_TRUE(std::regex_search(third, third_id, id));
  EXPECT_NE(first_id[1], third_id[1]) << "the document /ID must follow the content";
}

// Pages are compressed and written on a second thread; its timing must never show in the file. A long
// document is written inline, then in the background with the engine racing ahead and with it pausing so
// that the writer waits, and texts with glyphs first seen late (the font subset grows) come in between.
TEST(PdfWriter, WritesTheSameBytesWhateverTheBackgroundThreadDoes) {
  std::filesystem::path folder = ScratchFolder("pdf_background");
  sample::SampleDocument document = MakeSampleDocument();
  const std::vector<engine::Page> two = document.pages;
  document.pages.clear();
  const char* kLateTexts[] = {"Schäfer Café", "Núñez & Lefèvre", "Ωmega\u0301", "(1,234.56)"};
  for (int number = 1; number <= 240; ++number) {
    engine::Page page = two[number % 2];
    page.number = number;
    page.items.push_back(sample::TextItem(3, 5, kLateTexts[(number - 1) / 60], 1800, 3000, 4000));
    page.items.push_back(sample::TextItem(3, 5, "Row " + std::to_string(number), 1800, 3200, 4000));
    document.pages.push_back(page);
  }
  document.end.page_count = 240;
  document.end.deferred_texts = {"240"};

  struct Case {
    const char* name;
    bool in_background;
    int pause_every;  // pages between short pauses of the engine's side; 0 for none
  };
  const Case kCases[] = {{"inline.pdf", false, 0}, {"racing.pdf", true, 0}, {"pausing.pdf", true, 7}};
  std::vector<std::string> files;
  for (const Case& c : kCases) {
    FontService fonts;
    std::string path = (folder / c.name).string();
    PdfOptions options{kCreated};
    options.writes_in_background = c.in_background;
    options.background_after = std::chrono::milliseconds(0);
    std::string copied;  // what a printer is sent while the file is written
    options.copy_bytes = [&copied](std::string_view bytes) { copied.append(bytes); };
    PdfWriter writer(fonts, path, options);
    writer.Begin(document.info);
    for (const engine::Page& page : document.pages) {
      writer.AddPage(document.info, page);
      if (c.pause_every != 0 && page.number % c.pause_every == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    writer.End(document.info, document.end);
    files.push_back(sample::ReadFile(path));
    EXPECT_TRUE(copied == files.back()) << c.name << ": the copy differs from the file";
    int status = -1;
    std::string check = RunCommand("qpdf --check '" + path + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << c.name << "\n" << check;
  }
  for (size_t i = 1; i < files.size(); ++i) {
    EXPECT_TRUE(files[i] == files[0]) << kCases[i].name << " differs from " << kCases[0].name;
  }
  std::string last = RunCommand("pdftotext -f 240 -l 240 '" + (folder / "racing.pdf").string() + "' - 2>&1");
  EXPECT_NE(last.find("(1,234.56)"), std::string::npos) << last;
  EXPECT_NE(last.find("Row 240"), std::string::npos) << last;
  std::string late = RunCommand("pdftotext -f 61 -l 61 '" + (folder / "racing.pdf").string() + "' - 2>&1");
  EXPECT_NE(late.find("Núñez & Lefèvre"), std::string::npos) << late;
}

// Texts whose glyphs the document has shown before skip shaping; what they write must be what HarfBuzz's
// glyphs write. The texts repeat, across sizes and alignments, so that second showings take the short way;
// in Liberation Sans "*", "E", "F" and "y" have glyph ids that a PDF string must escape.
TEST(PdfWriter, WritesKnownTextsAsShapedOnes) {
  std::filesystem::path folder = ScratchFolder("pdf_known_texts");
  sample::SampleDocument document = MakeSampleDocument();
  const char* kTexts[] = {"EFy*(x)\\", "Every Fy* row", "Schäfer Café y", "a\rb", "~`{}|", "Núñez", "E"};
  for (int number = 3; number <= 6; ++number) {
    engine::Page page;
    page.number = number;
    int32_t top = 720;
    for (const char* text : kTexts) {
      for (engine::Align align : {engine::Align::kLeft, engine::Align::kRight, engine::Align::kCenter}) {
        page.items.push_back(sample::TextItem(3, 5, text, 720, top, 4000, align, number % 2));
        top += 300;
      }
    }
    document.pages.push_back(page);
  }
  document.end.page_count = static_cast<int>(document.pages.size());
  std::string written[2];
  for (bool may_skip_shaping : {false, true}) {
    FontService fonts(may_skip_shaping);
    std::string path = (folder / (may_skip_shaping ? "direct.pdf" : "shaped.pdf")).string();
    PdfWriter writer(fonts, path, PdfOptions{kCreated});
    document.Play(writer);
    written[may_skip_shaping] = sample::ReadFile(path);
  }
  EXPECT_TRUE(written[0] == written[1]) << "texts shown again write other bytes than HarfBuzz's glyphs";
  std::string text = RunCommand("pdftotext -f 6 -l 6 '" + (folder / "direct.pdf").string() + "' - 2>&1");
  EXPECT_NE(text.find("EFy*(x)\\"), std::string::npos) << text;
  EXPECT_NE(text.find("Schäfer Café y"), std::string::npos) << text;
}

TEST(PdfWriter, GathersTextsButKeepsWhatCoversThem) {
  // Shading that stays clear of the texts moves ahead of them, so the texts share one text object; a
  // rectangle drawn over a text stays after it and keeps hiding it.
  std::filesystem::path folder = ScratchFolder("pdf_order");
  sample::SampleDocument document = MakeSampleDocument();
  engine::Page& page = document.pages[0];
  engine::PageItem cover;
  cover.kind = engine::ItemKind::kRect;
  cover.left = 700;
  cover.top = 1840;
  cover.width = 1200;
  cover.height = 200;
  cover.color = engine::Color{255, 0, 0};
  page.items.insert(page.items.begin() + 8, cover);  // after "1200", over it
  engine::PageItem clear = cover;
  clear.top = 5000;
  clear.color = engine::Color{0, 0, 255};
  page.items.insert(page.items.begin() + 5, clear);  // between two rows, far below them
  std::string path = WriteSample(folder, "order.pdf", document);
  std::string expanded = RunCommand("qpdf --qdf --object-streams=disable '" + path + "' - 2>&1");
  size_t start = expanded.find("%% Contents for page 1");
  ASSERT_NE(start, std::string::npos) << expanded.substr(0, 400);
  std::string content = expanded.substr(start, expanded.find("endstream", start) - start);
  std::vector<std::string> order;
  std::regex operators(R"((0 0 1 rg)|(1 0 0 rg)|(\bBT\b)|(\bET\b)|(/D0 Do))");
  for (auto it = std::sregex_iterator(content.begin(), content.end(), operators);
       it != std::sregex_iterator(); ++it) {
    order.push_back(it->str());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"0 0 1 rg", "BT", "ET", "1 0 0 rg", "/D0 Do", "BT", "ET"}))
      << content;
}

// A 4x2 picture: JPEG-encoded (gdk-pixbuf) or raw RGBA with some transparent pixels.
std::shared_ptr<engine::Picture> MakePicture(bool is_jpeg) {
  auto picture = std::make_shared<engine::Picture>();
  picture->width_pixels = 4;
  picture->height_pixels = 2;
  for (int i = 0; i < 8; ++i) {
    uint8_t alpha = is_jpeg || i % 2 == 0 ? 255 : 0;
    picture->rgba.insert(picture->rgba.end(), {static_cast<uint8_t>(i * 30), 40, 200, alpha});
  }
  if (is_jpeg) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 4, 2);
    for (int y = 0; y < 2; ++y) {
      guchar* row = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf);
      for (int x = 0; x < 4; ++x) std::copy_n(&picture->rgba[(y * 4 + x) * 4], 3, row + x * 3);
    }
    gchar* bytes = nullptr;
    gsize size = 0;
    EXPECT_TRUE(gdk_pixbuf_save_to_buffer(pixbuf, &bytes, &size, "jpeg", nullptr, nullptr));
    picture->encoding = engine::Picture::Encoding::kJpeg;
    picture->encoded.assign(bytes, size);
    g_free(bytes);
    g_object_unref(pixbuf);
  }
  return picture;
}

TEST(PdfWriter, EmbedsEachPictureOnce) {
  std::filesystem::path folder = ScratchFolder("pdf_images");
  sample::SampleDocument document = MakeSampleDocument();
  std::shared_ptr<engine::Picture> jpeg = MakePicture(true), pixels = MakePicture(false);
  for (engine::Page& page : document.pages) {
    engine::PageItem logo;
    logo.kind = engine::ItemKind::kImage;
    logo.control = 10;
    logo.left = 720;
    logo.top = 300;
    logo.width = 1440;
    logo.height = 720;
    logo.is_stretched = true;
    logo.picture = jpeg;
    page.items.push_back(logo);
    logo.left = 9000;
    logo.is_stretched = false;
    logo.picture = pixels;
    page.items.push_back(logo);
  }
  std::string path = WriteSample(folder, "images.pdf", document);
  int status = -1;
  std::string check = RunCommand("qpdf --check '" + path + "' 2>&1", &status);
  EXPECT_EQ(status, 0) << check;
  // pdfimages lists every use: page, number, type, width, height, colour, components, bits, encoding, ...
  std::string listing = RunCommand("pdfimages -list '" + path + "' 2>&1");
  listing = std::regex_replace(listing, std::regex(" +"), " ");
  const std::vector<std::string> kUses = {" 1 0 image 4 2 rgb 3 8 jpeg ",   " 1 1 image 4 2 rgb 3 8 image ",
                                          " 1 2 smask 4 2 gray 1 8 image ", " 2 3 image 4 2 rgb 3 8 jpeg ",
                                          " 2 4 image 4 2 rgb 3 8 image ",  " 2 5 smask 4 2 gray 1 8 image "};
  for (const std::string& use : kUses)
    EXPECT_NE(listing.find(use), std::string::npos) << use << "\n" << listing;
  // The JPEG travels unchanged, and once: both pages point at the same object.
  std::string bytes = sample::ReadFile(path);
  EXPECT_NE(bytes.find(jpeg->encoded), std::string::npos);
  EXPECT_EQ(bytes.find(jpeg->encoded), bytes.rfind(jpeg->encoded));
  size_t dct = 0, position = 0;
  while ((position = bytes.find("/DCTDecode", position)) != std::string::npos) ++dct, ++position;
  EXPECT_EQ(dct, 1u);
}

// Noise does not compress: each compressor stores it, in several blocks past 64 KB, and it must still fit and
// decode. Page contents and pictures go through different compressors.
TEST(PdfWriter, DeflatesStreamsThatDoNotCompress) {
  std::filesystem::path folder = ScratchFolder("pdf_noise_streams");
  std::string noise(200'000, '\0');
  std::mt19937 random(11);
  for (char& c : noise) c = static_cast<char>(random());
  const std::string path = (folder / "streams.pdf").string();
  uint32_t page_stream = 0, stream = 0;
  {
    PdfOutput output(path);
    const uint32_t catalog = output.Reserve(), pages = output.Reserve(), info = output.Reserve();
    page_stream = output.Reserve();
    stream = output.Reserve();
    output.WriteObject(catalog, "<</Type/Catalog/Pages " + std::to_string(pages) + " 0 R>>");
    output.WriteObject(pages, "<</Type/Pages/Kids[]/Count 0>>");
    output.WriteObject(info, "<<>>");
    output.WritePageStream(page_stream, "", noise);
    output.WriteStream(stream, "", noise);
    output.Finish(catalog, info);
  }
  for (uint32_t object : {page_stream, stream}) {
    int status = -1;
    const std::string decoded = RunCommand(
        "qpdf --show-object=" + std::to_string(object) + " --filtered-stream-data '" + path + "'", &status);
    EXPECT_EQ(status, 0) << object;
    EXPECT_TRUE(decoded == noise) << "object " << object << " decodes to " << decoded.size() << " bytes";
  }
}

// A picture of noise, read back as pdfimages decodes it.
TEST(PdfWriter, DeflatesWhatDoesNotCompress) {
  std::filesystem::path folder = ScratchFolder("pdf_noise");
  auto noise = std::make_shared<engine::Picture>();
  noise->width_pixels = noise->height_pixels = 300;
  std::mt19937 random(7);
  for (int i = 0; i < 300 * 300; ++i) {
    const uint32_t bits = random();
    noise->rgba.insert(noise->rgba.end(), {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                           static_cast<uint8_t>(bits >> 16), 255});
  }
  sample::SampleDocument document = MakeSampleDocument();
  engine::PageItem picture;
  picture.kind = engine::ItemKind::kImage;
  picture.width = picture.height = 4320;
  picture.picture = noise;
  document.pages.front().items.push_back(picture);
  std::string path = WriteSample(folder, "noise.pdf", document);
  int status = -1;
  std::string check = RunCommand("qpdf --check '" + path + "' 2>&1", &status);
  EXPECT_EQ(status, 0) << check;
  RunCommand("pdfimages -f 1 -l 1 '" + path + "' '" + (folder / "image").string() + "'");
  // The picture as pdfimages decoded it: a 15-byte PPM head, then three bytes a pixel, as they went in.
  std::string ppm = sample::ReadFile(folder / "image-000.ppm");
  ASSERT_EQ(ppm.size(), 15u + 300u * 300u * 3u);
  for (size_t i = 0; i < 300u * 300u; i += 997) {
    EXPECT_EQ(ppm.compare(15 + i * 3, 3, reinterpret_cast<const char*>(&noise->rgba[i * 4]), 3), 0) << i;
  }
}

TEST(PdfWriter, LeavesNoFileWhenTheRunFails) {
  std::filesystem::path folder = ScratchFolder("pdf_failed");
  sample::SampleDocument document = MakeSampleDocument();
  {
    FontService fonts;
    PdfWriter writer(fonts, (folder / "abandoned.pdf").string());
    writer.Begin(document.info);
    writer.AddPage(document.info, document.pages[0]);
  }
  document.info.fonts[1].family = "No Such Family";
  try {
    WriteSample(folder, "bad_font.pdf", document);
    ADD_FAILURE() << "a missing font was accepted";
  } catch (const RenderError& error) {
    EXPECT_EQ(std::string(error.what()), "font not found: \"No Such Family\" bold");
  }
  document = MakeSampleDocument();
  document.end.deferred_texts.clear();
  EXPECT_THROW(WriteSample(folder, "no_page_count.pdf", document), RenderError);
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "a failed run left a file behind";
}

}  // namespace
}  // namespace vob::render
