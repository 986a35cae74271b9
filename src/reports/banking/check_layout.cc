// Check layout sample: one test page drawn with fixed sample texts at the positions of the style the host
// names, to lay over the check stock before printing real checks. Binds no data; the page is all canvas.
#include <string>

#include "framework/check_geometry.h"
#include "framework/report_base.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptChkFormat final : public ReportBase {
 public:
  rptChkFormat() {
    // The same Letter page and margins as the checks themselves.
    page_settings().top_margin = 360;
    page_settings().left_margin = 360;
    page_settings().right_margin = 360;
    page_settings().bottom_margin = 1440;
    Declare(kSections);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    data::Recordset style;
    style.Open("Select * from libChecks where StyleID = " + ReportParam(1), Settings().ConnString,
               data::CursorType::kForwardOnly, data::LockType::kReadOnly);
    mGeometry = CheckGeometry::FromStyle(style);
    if (style.State() == data::kStateOpen) style.Close();
  }

  void ActiveReport_PageStart() override {
    CheckPage page(Canvas(), mGeometry);
    page.SetCheckFont("arial");
    page.DrawFace(vb::Format(Variant::Date(vb::Today()), Settings().DateFormat), "9,999.99",
                  "Nine Thousand, Nine Hundred, and Ninety Nine and 00/100");
    DrawPayeeAndStub(page);
  }

 private:
  // The sample stub always shows three invoice lines, whatever the style.
  void DrawPayeeAndStub(CheckPage& page) {
    const CheckGeometry& at = mGeometry;
    StubMetrics metrics;
    int32_t height = 0;
    vb::ResumeNext(
        [&] { page.SetCheckFont("Arial"); },
        [&] { page.DrawText("Payee Name", at.payee.left_twips, at.payee.top_twips); },
        [&] { height = page.TextHeight("Payee Name"); }, [&] { mLineTop = at.payee.top_twips + height; },
        [&] { page.DrawText("Address ", at.payee.left_twips, mLineTop); }, [&] { mLineTop += height; },
        [&] { page.DrawText("Payee City , State, Postal Code", at.payee.left_twips, mLineTop); },
        [&] { metrics = page.MeasureStub(); }, [&] { page.DrawStubHeading(0, "Vendor ID:", metrics); },
        [&] { page.DrawStubHeading(1, "XXID", metrics); }, [&] { page.DrawStubHeading(2, "Name:", metrics); },
        [&] { page.DrawStubHeading(3, " Payee Name", metrics); },
        [&] {
          mLineTop = CheckPage::NextLineTop(at.stub.top_twips, kAfterStubHeading, metrics.line_height_twips);
        },
        [&] { page.DrawStubCaptions(mLineTop); },
        [&] { mLineTop = CheckPage::NextLineTop(mLineTop, kAfterStubCaptions, metrics.line_height_twips); });
    for (int line = 1; line <= 3; ++line) {
      vb::ResumeNext(
          [&] { page.DrawStubValue(kStubInvoiceNo, "Inv " + std::to_string(line), mLineTop); },
          [&] {
            page.DrawStubValue(kStubInvoiceDate,
                               vb::Format(Variant::Date(vb::Today()), Settings().DateFormat), mLineTop);
          },
          [&] { page.DrawStubValue(kStubInvoiceAmount, "XXXX.XX", mLineTop); },
          [&] { page.DrawStubValue(kStubDiscount, "0.00", mLineTop); },
          [&] { page.DrawStubValue(kStubPayment, "XXXX.XX", mLineTop); },
          [&] { mLineTop = CheckPage::NextLineTop(mLineTop, kAfterStubLine, metrics.line_height_twips); });
    }
  }

  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId,       "Check style ID",                    "1"},
  };
  // clang-format on

  // No data control: the run has no rows, so the group never breaks and the single page opens at the end.
  static constexpr SectionRow kSections[] = {
      {kGroupHeader1, 0, "CashHeaderNo", kNewPageBefore},
      {kDetail, 0},
      {kGroupFooter1, 0},
  };

  CheckGeometry mGeometry;
  int32_t mLineTop = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptChkFormat)
