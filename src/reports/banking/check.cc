// Check printing: one page per payment on pre-printed stock, every text drawn on the page canvas at the
// positions of the default check style. No band prints anything; the groups only make one page per payment.
#include <memory>
#include <string>

#include "framework/check_geometry.h"
#include "framework/report_base.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptCheck final : public ReportBase {
 public:
  rptCheck() {
    // Checks are laid out on Letter with the wide margin at the bottom; the canvas counts from the paper's
    // corner, so the margins move nothing that prints.
    page_settings().top_margin = 360;
    page_settings().left_margin = 360;
    page_settings().right_margin = 360;
    page_settings().bottom_margin = 1440;
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    std::unique_ptr<data::Recordset> style = GetDefaultCheckStyle();
    mGeometry = CheckGeometry::FromStyle(*style);
    if (style->State() == data::kStateOpen) style->Close();

    std::string sql = "SELECT *  FROM CheckRegister ";
    if (vb::Trim(ReportParam(3)).empty()) {
      sql += " WHERE (((CheckRegister.AccountNo)='" + ReportParam(1) + "') AND ((CheckRegister.CheckNo)='" +
             ReportParam(2) + "') AND (CheckRegister.[Type] = 'W'));";
    } else {
      sql += " WHERE (((CheckRegister.AccountNo)='" + ReportParam(1) +
             "') AND ((CheckRegister.CheckNo) between '" + ReportParam(2) + "' And '" + ReportParam(3) +
             "' ) AND (CheckRegister.[Type] = 'W'));";
    }
    Fields().Add("WordsAmount");
    SetMainSql(std::move(sql));
  }

  void ActiveReport_FetchData(bool& /*eof*/) override {
    const data::Recordset* check = CurrentRow();
    vb::ResumeNext([&] { Fields("WordsAmount").set_value(""); },
                   [&] {
                     if (check == nullptr) return;
                     const double payment = vb::CDbl(check->Fields("Payment"));
                     Fields("WordsAmount").set_value(vb::UCase(AmountInWords(payment, 2)));
                   });
  }

  void ActiveReport_PageStart() override {
    const data::Recordset* check = CurrentRow();
    if (check == nullptr) return;
    mCashHeaderNo = vb::CLng(check->Fields("CashHeaderNo"));
    // The canvas draws text without a background and has no other drawing mode to reset here.
    CheckPage page(Canvas(), mGeometry);
    page.SetCheckFont("arial");
    page.DrawFace(vb::Format(check->Fields("CheckDate"), Settings().DateFormat),
                  vb::Format(check->Fields("Payment"), Settings().CurrencyFormat),
                  vb::CStr(Fields("WordsAmount").value()));
    DrawPayeeAndStub(page, *check);
  }

 private:
  void DrawPayeeAndStub(CheckPage& page, const data::Recordset& check) {
    data::Recordset payment;
    payment.Open(std::string("SELECT CashHeader.*, CashDetail.* ") +
                     " FROM CashHeader INNER JOIN CashDetail ON (CashHeader.TransNo = CashDetail.TransNo) " +
                     " WHERE CashHeader.TransNo = " + std::to_string(mCashHeaderNo),
                 Settings().ConnString, data::CursorType::kDynamic, data::LockType::kOptimistic);
    if (payment.eof()) {
      payment.Close();
      return;
    }
    const CheckGeometry& at = mGeometry;
    StubMetrics metrics;
    int32_t height = 0;
    // From here a failing step (a Null where text is needed, say) is skipped and the rest still prints.
    vb::ResumeNext(
        [&] { page.SetCheckFont("Arial"); },
        [&] { page.DrawText(vb::CStr(check.Fields("Name")), at.payee.left_twips, at.payee.top_twips); },
        [&] { height = page.TextHeight(vb::CStr(check.Fields("Name"))); },
        [&] { mLineTop = at.payee.top_twips + height; },
        [&] {
          if (vb::IsNull(payment.Fields("Address"))) return;
          page.DrawText(vb::CStr(payment.Fields("Address")), at.payee.left_twips, mLineTop);
          mLineTop += height;
        },
        [&] {
          const Variant& zip = payment.Fields("Zipcode");
          const std::string city_line = vb::GeneralText(payment.Fields("city")) + " " +
                                        vb::GeneralText(payment.Fields("state")) + " " +
                                        (vb::IsNull(zip) ? std::string() : FormatZip(vb::CStr(zip)));
          page.DrawText(city_line, at.payee.left_twips, mLineTop);
        },
        [&] { mTransType = vb::CStr(payment.Fields("transtype")); }, [&] { metrics = page.MeasureStub(); },
        // The heading reads "Vendor ID:" whoever the payee is: customers are paid through the same stub.
        [&] { page.DrawStubHeading(0, "Vendor ID:", metrics); },
        [&] { page.DrawStubHeading(1, vb::CStr(check.Fields("CustomerID")), metrics); },
        [&] { page.DrawStubHeading(2, "Name:", metrics); },
        [&] { page.DrawStubHeading(3, vb::CStr(check.Fields("Name")), metrics); },
        [&] {
          mLineTop = CheckPage::NextLineTop(at.stub.top_twips, kAfterStubHeading, metrics.line_height_twips);
        });
    if (vb::LCase(mTransType) == "lpay") {
      payment.Close();
      return;
    }
    vb::ResumeNext(
        [&] { page.DrawStubCaptions(mLineTop); },
        [&] { mLineTop = CheckPage::NextLineTop(mLineTop, kAfterStubCaptions, metrics.line_height_twips); });
    // Moving on is not skipped on failure: a row that cannot be left would loop forever.
    for (; !payment.eof(); payment.MoveNext()) {
      vb::ResumeNext(
          [&] { page.DrawStubValue(kStubInvoiceNo, vb::CStr(payment.Fields("VendInvno")), mLineTop); },
          [&] {
            page.DrawStubValue(kStubInvoiceDate,
                               vb::Format(payment.Fields("InvoiceDate"), Settings().DateFormat), mLineTop);
          },
          [&] {
            page.DrawStubValue(kStubInvoiceAmount,
                               vb::Format(payment.Fields("InvoiceAmount"), Settings().CurrencyFormat),
                               mLineTop);
          },
          [&] {
            page.DrawStubValue(kStubDiscount,
                               vb::Format(payment.Fields("DiscountTaken"), Settings().CurrencyFormat),
                               mLineTop);
          },
          [&] {
            page.DrawStubValue(kStubPayment, vb::Format(payment.Fields("Applied"), Settings().CurrencyFormat),
                               mLineTop);
          },
          [&] { mLineTop = CheckPage::NextLineTop(mLineTop, kAfterStubLine, metrics.line_height_twips); });
    }
    payment.Close();
  }

  // clang-format off
  //  index  kind                label                                             example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kId,       "Bank account number",                            "1010"},
      {2,      ParamKind::kId,       "Check number, or the first of a range",          "00001001"},
      {3,      ParamKind::kId,       "Last check number, or blank for one check",      "00001005", {}, {}, true},
  };
  // clang-format on

  static constexpr SectionRow kSections[] = {
      {kGroupHeader1, 0, "CashHeaderNo", kNewPageBefore},
      {kDetail, 0},
      {kGroupFooter1, 0},
  };
  static constexpr ControlRow kLayout[] = {
      {kDetail, "dataMain", kData},
  };

  CheckGeometry mGeometry;
  int32_t mCashHeaderNo = 0;
  std::string mTransType;
  int32_t mLineTop = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptCheck)
