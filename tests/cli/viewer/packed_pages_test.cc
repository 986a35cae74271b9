// Packed pages give back exactly the pages they took, whatever the items hold, with deferred texts filled in
// once the document's end is known and each picture held once.
#include "cli/viewer/packed_pages.h"

#include <gtest/gtest.h>

namespace vob::cli::viewer {
namespace {

bool SameItem(const engine::PageItem& a, const engine::PageItem& b) {
  return a.kind == b.kind && a.align == b.align && a.is_stretched == b.is_stretched && a.left == b.left &&
         a.top == b.top && a.width == b.width && a.height == b.height && a.color == b.color &&
         a.line_twips == b.line_twips && a.font == b.font && a.section == b.section &&
         a.control == b.control && a.deferred == b.deferred && a.text == b.text &&
         a.hyperlink == b.hyperlink && a.picture == b.picture;
}

TEST(PackedPages, GivesBackEveryItemAsItWas) {
  auto logo = std::make_shared<engine::Picture>();
  logo->encoded.assign(5000, 'x');
  logo->rgba.assign(4000, 7);
  // One item a line, its fields in declaration order.
  // clang-format off
  const engine::PageItem kItems[] = {
      {engine::ItemKind::kText, engine::Align::kRight, false, 1440, 720, 2880, 240, {1, 2, 3}, 15, 3, 1, 2, engine::kNotDeferred, "Caf\xE9 \x01<b>\n  second line", "R:jobinfo;J-1", nullptr},
      {engine::ItemKind::kRect, engine::Align::kLeft, false, -30, -2147483647 - 1, 2147483647, 0, {240, 240, 240}, 0, 0, 0, 0, engine::kNotDeferred, "", "", nullptr},
      {engine::ItemKind::kLine, engine::Align::kCenter, false, 0, 100, -500, 0, {0, 0, 0}, 2147483647, 0, 4294967295u, 7, engine::kNotDeferred, "", "", nullptr},
      {engine::ItemKind::kImage, engine::Align::kLeft, true, 10, 10, 100, 100, {}, 15, 0, 2, 3, engine::kNotDeferred, "", "", logo},
      {engine::ItemKind::kImage, engine::Align::kLeft, false, 20, 20, 100, 100, {}, 15, 0, 2, 3, engine::kNotDeferred, "", "", logo},
      {engine::ItemKind::kText, engine::Align::kLeft, false, 0, 0, 10, 10, {}, 15, 0, 0, 0, 0, "of ?", "", nullptr},
      {engine::ItemKind::kText, engine::Align::kLeft, false, 0, 0, 10, 10, {}, 15, 0, 0, 0, 1, std::string(100000, 'z'), "", nullptr},
  };
  // clang-format on
  PackedPages packed;
  for (int number = 1; number <= 3; ++number) {
    engine::Page page{number, 12240 + number, 15840, {}};
    page.items.assign(std::begin(kItems), std::end(kItems));
    packed.Add(page);
  }
  ASSERT_EQ(packed.size(), 3u);
  EXPECT_LT(packed.bytes(), 9000u + logo->encoded.size() + logo->rgba.size());  // one logo for six images
  EXPECT_GT(packed.bytes(), logo->encoded.size() + logo->rgba.size());

  for (bool is_resolved : {false, true}) {
    if (is_resolved) packed.Resolve({"of 3", "done"});
    for (size_t index = 0; index < packed.size(); ++index) {
      const engine::Page page = packed.Get(index);
      EXPECT_EQ(page.number, static_cast<int>(index) + 1);
      EXPECT_EQ(page.width, 12241 + static_cast<int>(index));
      ASSERT_EQ(page.items.size(), std::size(kItems));
      for (size_t i = 0; i < page.items.size(); ++i) {
        engine::PageItem expected = kItems[i];
        if (is_resolved && expected.deferred != engine::kNotDeferred) {
          expected.text = expected.deferred == 0 ? "of 3" : "done";
          expected.deferred = engine::kNotDeferred;
        }
        EXPECT_TRUE(SameItem(page.items[i], expected)) << "page " << index + 1 << " item " << i;
      }
    }
  }
}

}  // namespace
}  // namespace vob::cli::viewer
