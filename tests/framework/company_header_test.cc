#include "framework/company_header.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "settings/report_settings.h"

namespace vob::reports {
namespace {

// A 1 x 1 PNG.
constexpr unsigned char kPng[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d,
                                  0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
                                  0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00, 0x00, 0x00,
                                  0x0d, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x64, 0x60, 0xf8, 0x5f,
                                  0x0f, 0x00, 0x02, 0x87, 0x01, 0x80, 0xeb, 0x47, 0xba, 0x92, 0x00, 0x00,
                                  0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

class CompanyHeaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("vob-header-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    logo_ = (directory_ / "logo.png").string();
    std::ofstream(logo_, std::ios::binary).write(reinterpret_cast<const char*>(kPng), sizeof kPng);
    Settings().ConnString = "Provider=SQLite;Data Source=unused.sqlite;";
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::filesystem::path directory_;
  std::string logo_;
};

TEST_F(CompanyHeaderTest, SizesTheLogoToTheControlHeight) {
  struct Case {
    int32_t control_height;
    float logo_width, logo_height;
    int size_mode;
    int32_t width;
  };
  static constexpr Case kCases[] = {
      {720, 2880, 1440, engine::kSizeModeStretch, 1440},  // twice as tall: stretched, width halved
      {1440, 2880, 1440, engine::kSizeModeClip, 2880},    // exactly as tall: natural size
      {1440, 1000, 500, engine::kSizeModeClip, 1000},
  };
  for (const Case& c : kCases) {
    Settings().LogoFile = logo_;
    Settings().LogoWidth = c.logo_width;
    Settings().LogoHeight = c.logo_height;
    rptHeader2 header;
    header.Controls<Image>("Image1").set_height(c.control_height);
    header.ActiveReport_DataInitialize();
    const Image& image = header.Controls<Image>("Image1");
    EXPECT_EQ(image.size_mode(), c.size_mode) << c.control_height << " " << c.logo_height;
    EXPECT_EQ(image.width(), c.width) << c.control_height << " " << c.logo_height;
    EXPECT_NE(image.picture(), nullptr);
  }
}

// A file that is there but no picture stops the run instead, as the picture loader's and the viewer's browser
// tests show.
TEST_F(CompanyHeaderTest, LeavesTheLogoOutWithoutAFileOrAWidth) {
  struct Case {
    std::string file;
    float width;
  };
  const Case kCases[] = {{logo_, 0}, {(directory_ / "missing.png").string(), 2880}};
  for (const Case& c : kCases) {
    Settings().LogoFile = c.file;
    Settings().LogoWidth = c.width;
    Settings().LogoHeight = 720;
    rptHeader1 header;
    const int32_t designed_width = header.Controls<Image>("Image1").width();
    header.ActiveReport_DataInitialize();
    EXPECT_EQ(header.Controls<Image>("Image1").picture(), nullptr) << c.file;
    EXPECT_EQ(header.Controls<Image>("Image1").width(), designed_width) << c.file;
  }
}

TEST_F(CompanyHeaderTest, EachOptionMakesItsVariantAndOthersMakeNone) {
  EXPECT_NE(dynamic_cast<rptHeader0*>(MakeCompanyHeader(0).get()), nullptr);
  EXPECT_NE(dynamic_cast<rptHeader1*>(MakeCompanyHeader(1).get()), nullptr);
  EXPECT_NE(dynamic_cast<rptHeader2*>(MakeCompanyHeader(2).get()), nullptr);
  EXPECT_EQ(MakeCompanyHeader(3), nullptr);
  EXPECT_EQ(MakeCompanyHeader(-1), nullptr);
  // Only the masthead variants bind the masthead; the title is the settings' at report start.
  Settings().ReportTitle = "";
  rptHeader0 header;
  header.ActiveReport_ReportStart();
  EXPECT_EQ(header.Controls<Label>("rptTitle").caption(), "");
  EXPECT_EQ(header.FindControl("Image1"), nullptr);
  EXPECT_EQ(rptHeader1().FindControl("txtMastHead"), nullptr);
}

}  // namespace
}  // namespace vob::reports
