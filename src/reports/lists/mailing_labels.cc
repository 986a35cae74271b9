// Mailing labels: one name-and-address label per customer or vendor, on the label stock the host names. The
// stock's geometry is not in the layout: report start reads it from libLabels and applies it to the page, the
// printer and the detail section, whose columns then hold the labels across and down the sheet.
#include <cstdint>
#include <string>

#include "framework/report_base.h"
#include "framework/report_factory.h"

namespace vob::reports {

class rptLabels final : public ReportBase {
 public:
  rptLabels() {
    Declare(kSections, kLayout);
    DeclareParams(kParams);
  }

  void ActiveReport_DataInitialize() override {
    std::string sql = ReportParam(1) == "C"
                          ? "Select [Name], Contact, Address1, Address2, City, State, ZipCode from Customers"
                          : "Select [Name], Contact, Address1, Address2, City, State, ZipCode from Vendors";
    // The bill group goes into the text as given: the host picks it from the groups it knows.
    if (vb::LCase(ReportParam(3)) != "all") sql += " Where [BillGroup] = '" + ReportParam(3) + "'";
    sql += " Order by [Name]";
    SetMainSql(std::move(sql));
  }

  void ActiveReport_ReportStart() override {
    data::Recordset stock;
    stock.Open("Select * from libLabels where LabelID = " + ReportParam(2), Settings().ConnString,
               data::CursorType::kDynamic, data::LockType::kOptimistic);
    if (!stock.eof()) ReadStock(stock);
    // Read even when no stock matched: the run then stops with the provider's "no current record".
    const std::string page_size = vb::CStr(stock.Fields("pageSize"));
    printer().paper_size =
        vb::LCase(page_size.substr(0, 3)) == "let" ? engine::kPaperLetter : engine::kPaperA4;
    stock.Close();

    page_settings().top_margin = mTopMargin;
    page_settings().left_margin = mSideMargin;
    page_settings().right_margin = 0;
    page_settings().bottom_margin = 0;
    page_settings().orientation = engine::kPortrait;
    // 50 twips short of the full pitch, so that the last column never reaches past the paper's edge.
    set_print_width(mHorizontalPitch * mNumberAcross - 50);
    Section& detail = Sections(kDetail);
    detail.set_height(mVerticalPitch);
    auto& label = Controls<Label>("Label1");
    label.set_height(mLabelHeight);
    label.set_width(mLabelWidth);
    detail.set_columns(mNumberAcross);
    detail.set_column_spacing(mHorizontalPitch - mLabelWidth);
  }

  void Detail_Format() override {
    const data::Recordset* row = CurrentRow();
    if (row == nullptr) return;
    vb::ResumeNext([&] { Controls<Label>("Label1").set_caption(LabelText(*row)); });
    ++mRowCounter;
    if (mRowCounter == mNumberDown) {
      Sections(kDetail).set_new_column(2);
      mRowCounter = 0;
    } else {
      Sections(kDetail).set_new_column(0);
    }
  }

 private:
  // Inches by the unit's name in any case; every other unit is tenths of a millimetre.
  void ReadStock(const data::Recordset& stock) {
    mFactor = vb::LCase(vb::CStr(stock.Fields("unit"))) == "in" ? 1440.0 : 1440.0 / 254.0;
    auto twips = [&](std::string_view column) {
      return vb::CLng(Variant(vb::CDbl(stock.Fields(column)) * mFactor));
    };
    mTopMargin = twips("TopMargin");
    mSideMargin = twips("SideMargin");
    mNumberAcross = vb::CLng(stock.Fields("numberAcross"));
    mNumberDown = vb::CLng(stock.Fields("NumberDown"));
    mLabelWidth = twips("LabelWidth");
    mLabelHeight = twips("LabelHeight");
    mVerticalPitch = twips("VerticalPitch");
    mHorizontalPitch = twips("HorizontalPitch");
  }

  // The name as stored, the contact on request, each address line that is not blank, and the city line, which
  // is added even when empty so that every label ends with it. Built in place: it runs for every label.
  static std::string LabelText(const data::Recordset& row) {
    std::string converted;  // a value that is not text, as text; valid until the next call
    auto text_of = [&](const Variant& value) -> std::string_view {
      if (value.is_string()) return value.str();
      converted = vb::CStr(value);
      return converted;
    };
    std::string text;
    const Variant& name = row.Fields("Name");
    if (!vb::IsNull(name)) text = text_of(name);
    auto add_if_present = [&](std::string_view column) {
      const Variant& value = row.Fields(column);
      if (vb::IsNull(value)) return;
      const std::string_view line = text_of(value);
      if (vb::TrimView(line).empty()) return;
      text += "\r\n";
      text += line;
    };
    if (ReportParam(4) == "Y") add_if_present("Contact");
    add_if_present("Address1");
    add_if_present("Address2");
    text += "\r\n";
    const Variant& city = row.Fields("City");
    const size_t city_line = text.size();
    if (!vb::IsNull(city)) text += vb::TrimView(text_of(city));
    const Variant& state = row.Fields("State");
    if (!vb::IsNull(state)) {
      if (text.size() > city_line) text += ", ";
      text += vb::TrimView(text_of(state));
    }
    const Variant& zip = row.Fields("ZipCode");
    if (!vb::IsNull(zip)) {
      text += ' ';
      text += FormatZip(vb::CStr(zip));
    }
    return text;
  }

  // The design sizes are those of the inch stock of 30 labels a sheet; report start replaces them. The text
  // starts at the label's edge (the stock's margins and pitches place it) in Arial 9, so that a full block of
  // five lines fits a one-inch label.
  static constexpr SectionRow kSections[] = {
      {kDetail, 1440},
  };
  // clang-format off
  //  section   control    kind    left  top  width  height  caption / field
  static constexpr ControlRow kLayout[] = {
      {kDetail, "Label1",  kLabel, 0,    0,   3780,  1440,   {}, {}, Align::kLeft, FontRow{"Arial", 9}},
      {kDetail, "dataMain", kData, 0,    0,   0,     0},
  };

  static constexpr std::string_view kPartyKinds[] = {"C", "V"};
  //  index  kind                label                                          example  second example  values
  static constexpr ParamRow kParams[] = {
      {1,      ParamKind::kChoice, "C for customers, anything else for vendors",  "C",     "V",            kPartyKinds},
      {2,      ParamKind::kId,     "Label stock (libLabels LabelID)",             "1",     "2"},
      {3,      ParamKind::kText,   "Bill group, or all",                          "all"},
      {4,      ParamKind::kYesNo,  "Y to print the contact line",                 "Y",     "N"},
  };
  // clang-format on

  int32_t mTopMargin = 0, mSideMargin = 0, mNumberAcross = 0, mNumberDown = 0;
  int32_t mLabelWidth = 0, mLabelHeight = 0, mVerticalPitch = 0, mHorizontalPitch = 0;
  double mFactor = 0;
  int32_t mRowCounter = 0;
};

}  // namespace vob::reports

VOB_DEFINE_REPORT(rptLabels)
