// Vendor payments: every cash disbursement and paid purchase invoice of a date range, grouped by vendor with
// the vendor's address and a total. Both sources merge into one in-memory list, sorted by vendor and date.
#include <memory>
#include <string>

#include "framework/listing_report.h"
#include "framework/report_factory.h"
#include "framework/standard_layout.h"

namespace vob::reports {

class rptVenPmnts final : public ListingReport {
 public:
  rptVenPmnts() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_ReportStart() override {
    ListingReport::ActiveReport_ReportStart();
    ShowDateRange();
    Controls<TextBox>("txtReceiptDate").set_output_format(Settings().DateFormat);
    Controls<TextBox>("txtAmount").set_output_format(Settings().CurrencyFormat);
    Controls<TextBox>("Field4").set_output_format(Settings().CurrencyFormat);
  }

  void ActiveReport_DataInitialize() override {
    auto merged = std::make_shared<data::Recordset>();
    merged->AppendField("VendorID", data::FieldType::kText, 15);
    merged->AppendField("AccountNo", data::FieldType::kText, 11);
    merged->AppendField("AccountName", data::FieldType::kText, 35);
    merged->AppendField("TransType", data::FieldType::kText, 8);
    merged->AppendField("CheckNo", data::FieldType::kText, 10);
    merged->AppendField("ReceiptDate", data::FieldType::kDate);
    merged->AppendField("fldAmount", data::FieldType::kCurrency);
    merged->OpenInMemory();

    OpenSharedConnection();
    data::Connection& connection = *Settings().SharedConnection;

    std::string sql =
        "SELECT CashHeader.CustomerId, CashHeader.TransType, GLAccountsHeader.AccountName, "
        "CashHeader.CheckNo, "
        "CashHeader.Amount, CashHeader.AccountNo,  CashHeader.ReceiptDate ";
    sql +=
        "FROM CashHeader INNER JOIN GLAccountsHeader ON CashHeader.AccountNo = GLAccountsHeader.AccountNo ";
    sql += " WHERE CashHeader.ReceiptDate Between #" + ReportParam(1) + "# AND #" + ReportParam(2) +
           "# AND TransType IN ('Pay', 'VREF') ";
    sql += "Order By CashHeader.CustomerId, Cashheader.ReceiptDate ";
    data::Recordset cash;
    cash.Open(sql, connection, data::CursorType::kDynamic, data::LockType::kOptimistic);
    for (; !cash.eof(); cash.MoveNext()) {
      const Variant& type = cash.Fields("TransType");
      merged->AddNew();
      merged->SetValue("VendorID", cash.Fields("CustomerId"));
      merged->SetValue("AccountNo", cash.Fields("AccountNo"));
      merged->SetValue("AccountName", cash.Fields("AccountName"));
      merged->SetValue("TransType", type);
      merged->SetValue("CheckNo", cash.Fields("Checkno"));
      merged->SetValue("ReceiptDate", cash.Fields("ReceiptDate"));
      merged->SetValue("fldAmount", SignedAmount(cash.Fields("Amount"), IsType(type, "VREF")));
      merged->Update();
    }
    cash.Close();

    sql =
        "SELECT APInvoiceHeader.VendorId, APInvoiceHeader.InvoiceType, GLAccountsHeader.AccountName, "
        "APInvoiceHeader.PaidAmount, APInvoiceHeader.PayablesAccount,  APInvoiceHeader.InvoiceDate ";
    sql +=
        "FROM (APInvoiceHeader INNER JOIN GLAccountsHeader ON APInvoiceHeader.PayablesAccount = "
        "GLAccountsHeader.AccountNo) ";
    sql +=
        " WHERE APInvoiceHeader.InvoiceDate Between #" + ReportParam(1) + "# AND #" + ReportParam(2) + "# ";
    sql += " AND PaidAmount <> 0 ";
    sql += "Order By APInvoiceHeader.VendorId, APInvoiceHeader.InvoiceDate ";
    data::Recordset invoices;
    invoices.Open(sql, connection, data::CursorType::kDynamic, data::LockType::kOptimistic);
    for (; !invoices.eof(); invoices.MoveNext()) {
      const Variant& type = invoices.Fields("InvoiceType");
      merged->AddNew();
      merged->SetValue("VendorID", invoices.Fields("VendorId"));
      merged->SetValue("AccountNo", invoices.Fields("PayablesAccount"));
      merged->SetValue("AccountName", invoices.Fields("AccountName"));
      merged->SetValue("TransType", type);
      merged->SetValue("CheckNo", " ");
      merged->SetValue("ReceiptDate", invoices.Fields("InvoiceDate"));
      merged->SetValue("fldAmount", SignedAmount(invoices.Fields("PaidAmount"),
                                                 IsType(type, "PRET") || IsType(type, "PURCR")));
      merged->Update();
    }
    invoices.Close();

    merged->Sort("VendorID, ReceiptDate");
    if (!merged->eof()) merged->MoveFirst();
    dataMain().set_recordset(std::move(merged));
  }

  void GroupHeader1_Format() override {
    // The merged identifiers are padded to 15 characters; the padding is dropped so that the lookup finds the
    // vendor and the heading, contents entry and total read as the identifier the user knows.
    mVendorID = vb::RTrim(vb::CStr(Sections("GroupHeader1").group_value()));
    TOC().Add(mVendorID);
    // A vendor missing from Vendors gets an empty heading rather than the previous vendor's address.
    TextBox& address = Controls<TextBox>("txtAddress");
    TextBox& tax_id = Controls<TextBox>("txtTaxID");
    address.set_text("");
    tax_id.set_text("");
    data::Recordset vendor;
    bool has_row = false;
    vb::ResumeNext(
        [&] {
          vendor.Open(
              std::string("Select Name, Address1, Address2, City, State, Zipcode, TaxID from Vendors  ") +
                  "WHERE VendorID = '" + mVendorID + "'",
              *Settings().SharedConnection, data::CursorType::kForwardOnly, data::LockType::kReadOnly);
        },
        [&] { has_row = !vendor.eof(); });
    if (has_row) {
      std::string block;
      auto append_line = [&](std::string_view column) {
        const Variant& value = vendor.Fields(column);
        if (!vb::IsNull(value) && !vb::Trim(vb::CStr(value)).empty()) block += "\r\n" + vb::CStr(value);
      };
      vb::ResumeNext([&] { block = vb::CStr(vendor.Fields("Name")); }, [&] { append_line("Address1"); },
                     [&] { append_line("Address2"); },
                     [&] {
                       block += "\r\n" + vb::GeneralText(vendor.Fields("City")) + ", " +
                                vb::GeneralText(vendor.Fields("State")) + " ";
                     },
                     [&] {
                       const Variant& zip = vendor.Fields("Zipcode");
                       if (!vb::IsNull(zip)) block += FormatZip(vb::Trim(vb::CStr(zip)));
                     },
                     [&] { address.set_text(block); },
                     [&] {
                       const Variant& tax = vendor.Fields("TaxID");
                       tax_id.set_text(vb::IsNull(tax) ? std::string() : vb::CStr(tax));
                     });
    }
    vb::ResumeNext([&] {
      if (vendor.State() == data::kStateOpen) vendor.Close();
    });
  }

  void GroupFooter1_Format() override {
    Controls<Label>("lblGroupTotal").set_caption("Total for " + mVendorID);
  }

  void ActiveReport_Terminate() override {
    data::Connection* connection = Settings().SharedConnection.get();
    if (connection != nullptr && connection->State() == data::kStateOpen) connection->Close();
  }

 private:
  // clang-format off
  //  index  kind                label                                example
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kDate,     "Beginning date",                    "04/01/2024"},
      {2,      ParamKind::kDate,     "Ending date",                       "06/30/2024"},
  };
  // clang-format on

  // Type codes compare trimmed and upper-cased, so " pret" is a return too; a Null type is no special type.
  static bool IsType(const Variant& type, std::string_view code) {
    return !vb::IsNull(type) && vb::UCase(vb::Trim(vb::CStr(type))) == code;
  }
  // Refunds, returns and credits reduce the vendor's total.
  static Variant SignedAmount(const Variant& amount, bool is_reduction) {
    if (!is_reduction || vb::IsNull(amount)) return amount;
    return Variant(-vb::CCur(amount));
  }

  static constexpr int32_t kTypeLeft = 0, kTypeWidth = 1000;
  static constexpr int32_t kAccountLeft = 1100, kAccountWidth = 1000;
  static constexpr int32_t kAccountNameLeft = 2200, kAccountNameWidth = 3500;
  static constexpr int32_t kCheckLeft = 5800, kCheckWidth = 1200;
  static constexpr int32_t kDateLeft = 7100, kDateWidth = 1200;
  static constexpr int32_t kAmountLeft = 8800, kAmountWidth = kPrintWidth - kAmountLeft;

  static constexpr int32_t kRangeTop = kCompanyHeaderHeight + 60;
  static constexpr int32_t kVendorTop = 120;
  static constexpr int32_t kAddressTop = kVendorTop + kLineHeight;
  static constexpr int32_t kAddressHeight = 4 * kLineHeight;  // name, two street lines, city line
  static constexpr int32_t kCaptionTop = kAddressTop + kAddressHeight + 120;
  static constexpr int32_t kRuleTop = kCaptionTop + kLineHeight + 20;
  static constexpr int32_t kTotalTop = 80;

  static constexpr SectionRow kSections[] = {
      {kReportHeader, 0},
      {kPageHeader, 0},
      {kBannerHeader, kRangeTop + kLineHeight + 120},
      {kGroupHeader1, kRuleTop + 80, "VendorId", kKeepTogether},
      {kDetail, kLineHeight},
      {kGroupFooter1, kTotalTop + kLineHeight + 160},
      {kBannerFooter, 0, {}, kHidden},
      {kReportFooter, 0, {}, kHidden},
  };

  // clang-format off
  //  section        control            kind        left              top           width               height          caption / field  format      align          font
  static constexpr ControlRow kLayout[] = {
      {kBannerHeader, "lblBegDate",     kLabel,     0,                kRangeTop,    1300,               kLineHeight,    "Beginning Date:", {},        Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtBegDate",     kText,      1300,             kRangeTop,    900,                kLineHeight,    {},              kShortDate,  Align::kLeft,  kBodyFont},
      {kBannerHeader, "lblEndDate",     kLabel,     2400,             kRangeTop,    1100,               kLineHeight,    "Ending Date:",  {},          Align::kLeft,  kCaptionFont},
      {kBannerHeader, "txtEndDate",     kText,      3500,             kRangeTop,    900,                kLineHeight,    {},              kShortDate,  Align::kLeft,  kBodyFont},
      {kBannerHeader, "lblBlank",       kLabel,     0,                kRangeTop + kLineHeight, 100,     120},

      {kGroupHeader1, "Label3",         kLabel,     0,                kVendorTop,   1000,               kLineHeight,    "Vendor ID",     {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtVendorID",    kText,      kAccountLeft,     kVendorTop,   2000,               kLineHeight,    "VendorId",      {},          Align::kLeft,  kGroupFont},
      {kGroupHeader1, "txtAddress",     kText,      kAccountLeft,     kAddressTop,  4600,               kAddressHeight, {},              {},          Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label20",        kLabel,     kCheckLeft,       kVendorTop,   700,                kLineHeight,    "Tax ID:",       {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "txtTaxID",       kText,      kCheckLeft + 700, kVendorTop,   2000,               kLineHeight,    {},              {},          Align::kLeft,  kBodyFont},
      {kGroupHeader1, "Label21",        kLabel,     kTypeLeft,        kCaptionTop,  kTypeWidth,         kLineHeight,    "Trans Type",    {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label19",        kLabel,     kAccountLeft,     kCaptionTop,  kAccountWidth,      kLineHeight,    "Account",       {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label16",        kLabel,     kCheckLeft,       kCaptionTop,  kCheckWidth,        kLineHeight,    "Check No",      {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label14",        kLabel,     kDateLeft,        kCaptionTop,  kDateWidth,         kLineHeight,    "Date",          {},          Align::kLeft,  kCaptionFont},
      {kGroupHeader1, "Label17",        kLabel,     kAmountLeft,      kCaptionTop,  kAmountWidth,       kLineHeight,    "Amount",        {},          Align::kRight, kCaptionFont},
      {kGroupHeader1, "Line5",          kLine,      0,                kRuleTop,     kPrintWidth,        0},

      {kDetail,       "txtTransType",   kText,      kTypeLeft,        0,            kTypeWidth,         kLineHeight,    "TransType",     {},          Align::kLeft,  kBodyFont},
      {kDetail,       "txtAccountNo",   kText,      kAccountLeft,     0,            kAccountWidth,      kLineHeight,    "AccountNo",     {},          Align::kLeft,  kBodyFont},
      {kDetail,       "txtAccountName", kText,      kAccountNameLeft, 0,            kAccountNameWidth,  kLineHeight,    "AccountName",   {},          Align::kLeft,  kBodyFont},
      {kDetail,       "txtCheckNo",     kText,      kCheckLeft,       0,            kCheckWidth,        kLineHeight,    "CheckNo",       {},          Align::kLeft,  kBodyFont},
      {kDetail,       "txtReceiptDate", kText,      kDateLeft,        0,            kDateWidth,         kLineHeight,    "ReceiptDate",   {},          Align::kLeft,  kBodyFont},
      {kDetail,       "txtAmount",      kText,      kAmountLeft,      0,            kAmountWidth,       kLineHeight,    "fldAmount",     {},          Align::kRight, kBodyFont},

      {kGroupFooter1, "Line3",          kLine,      kAmountLeft,      40,           kAmountWidth,       0},
      {kGroupFooter1, "lblGroupTotal",  kLabel,     kDateLeft - 2400, kTotalTop,    kAmountLeft - kDateLeft + 2300, kLineHeight, "Total for", {}, Align::kRight, kCaptionFont},
      {kGroupFooter1, "Field4",         kGroupSum,  kAmountLeft,      kTotalTop,    kAmountWidth,       kLineHeight,    "fldAmount",     {},          Align::kRight, kCaptionFont},
      {kGroupFooter1, "Line4",          kLine,      kAmountLeft,      kTotalTop + kLineHeight + 20, kAmountWidth, 0},
  };
  // clang-format on

  std::string mVendorID;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptVenPmnts)
