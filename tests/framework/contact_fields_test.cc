// The contact fields looked up once: a row of another statement, or a report whose fields moved, must be read
// by its own column names again.
#include "framework/contact_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/data/recordset.h"

namespace vob::reports {
namespace {

struct BareReport : ActiveReport {};

// One row with the columns in the order given: a nine-digit postal code and seven-digit phones, each with
// blanks around it as the books may hold them.
void OpenRow(data::Recordset& row, const std::vector<std::string>& columns) {
  if (row.State() == data::kStateOpen) row.Close();
  for (const std::string& column : columns) row.AppendField(column, data::FieldType::kText);
  row.OpenInMemory();
  row.AddNew();
  for (size_t i = 0; i < columns.size(); ++i) {
    const bool is_phone = columns[i] != "ZipCode";
    row.SetValue(columns[i], Variant(is_phone ? " 55512" + std::to_string(10 + i) + " " : " 123456789 "));
  }
  row.Update();
  row.MoveFirst();
}

std::vector<std::string> Texts(ActiveReport& report) {
  std::vector<std::string> texts;
  for (const char* name : {"fldZip", "fldPhone1", "fldPhone2", "fldFax"}) {
    texts.push_back(vb::CStr(report.Fields(name).value()));
  }
  return texts;
}

TEST(ContactFields, FollowTheColumnNamesWhateverStatementTheRowHolds) {
  BareReport report;
  ContactFields fields;
  fields.Add(report);
  data::Recordset row;
  OpenRow(row, {"ZipCode", "Phone1", "Phone2", "Fax"});
  fields.Fetch(report, row);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"12345-6789", "555-1211", "555-1212", "555-1213"}));

  // The same recordset object reopened with its columns in another order.
  OpenRow(row, {"Fax", "Phone2", "ZipCode", "Phone1"});
  fields.Fetch(report, row);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"12345-6789", "555-1213", "555-1211", "555-1210"}));

  // Another recordset without a second phone: that statement fails and its field keeps the last value.
  data::Recordset other;
  OpenRow(other, {"Phone1", "ZipCode", "Fax"});
  fields.Fetch(report, other);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"12345-6789", "555-1210", "555-1211", "555-1212"}));

  // Fields added to the report move no slot the fetch kept, and a report without the fields fails quietly.
  report.Fields().Add("fldOther");
  fields.Fetch(report, row);
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"12345-6789", "555-1213", "555-1211", "555-1210"}));
  BareReport plain;
  EXPECT_NO_THROW(fields.Fetch(plain, other));
  EXPECT_EQ(Texts(report), (std::vector<std::string>{"12345-6789", "555-1213", "555-1211", "555-1210"}));
}

}  // namespace
}  // namespace vob::reports
