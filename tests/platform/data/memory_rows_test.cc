// In-memory recordsets as the vendor payments report uses them: typed fields, padded text, a stable sort.
#include "platform/data/memory_rows.h"

#include <gtest/gtest.h>

#include "platform/data/recordset.h"
#include "platform/data/sql_error.h"
#include "platform/vb/date.h"

namespace vob::data {
namespace {

TEST(InMemoryRecordset, AddsPadsAndSortsRowsStably) {
  Recordset payments;
  payments.AppendField("VendorID", FieldType::kText, 6);
  payments.AppendField("ReceiptDate", FieldType::kDate);
  payments.AppendField("fldAmount", FieldType::kCurrency);
  payments.AppendField("Memo", FieldType::kText);
  payments.OpenInMemory();
  EXPECT_TRUE(payments.bof());
  EXPECT_TRUE(payments.eof());

  struct Row {
    const char* vendor;
    int day;
    vb::Variant amount;
    const char* memo;
  };
  const Row rows[] = {
      {"beta", 3, vb::Variant(vb::Currency::FromRaw(15000)), "first beta"},
      {"ACME", 9, vb::Variant(12), "late acme"},
      {"beta", 1, vb::Variant(0.125), "early beta"},
      {"Acme", 2, vb::Variant("7.5"), "early acme"},
      {"beta", 3, vb::Variant::Null(), "second beta"},
  };
  for (const Row& row : rows) {
    payments.AddNew();
    payments.SetValue("vendorid", vb::Variant(row.vendor));
    payments.SetValue("ReceiptDate", vb::Variant::Date(vb::DateSerial(2024, 1, row.day)));
    payments.SetValue("FLDAMOUNT", row.amount);
    payments.SetValue("Memo", vb::Variant(row.memo));
    payments.Update();
  }
  EXPECT_EQ(payments.Fields("Memo").str(), "second beta");  // Update stands on the row added

  payments.Sort("VendorID, ReceiptDate");
  std::string order;
  for (; !payments.eof(); payments.MoveNext()) order += payments.Fields("Memo").str() + "|";
  EXPECT_EQ(order, "early acme|late acme|early beta|first beta|second beta|");

  payments.Sort("fldAmount DESC");
  EXPECT_EQ(payments.Fields("VendorID").str(), "ACME  ");
  EXPECT_EQ(payments.Fields("fldAmount").currency().raw(), 120000);
  payments.MoveNext();
  EXPECT_EQ(payments.Fields("fldAmount").currency().raw(), 75000);  // "7.5" read as an amount
  payments.MoveFirst();
  EXPECT_FALSE(payments.bof());
  EXPECT_EQ(payments.FieldName(2), "fldAmount");
  payments.Close();
}

TEST(InMemoryRecordset, RefusesMisuse) {
  Recordset recordset;
  recordset.AppendField("Code", FieldType::kText, 3);
  recordset.AppendField("Amount", FieldType::kCurrency);
  recordset.OpenInMemory();
  EXPECT_THROW(recordset.AppendField("Late", FieldType::kLong), SqlError);
  EXPECT_THROW(recordset.SetValue("Code", vb::Variant("ABC")), SqlError);  // no row begun
  recordset.AddNew();
  EXPECT_THROW(recordset.SetValue("Code", vb::Variant("ABCD")), SqlError);  // longer than the field
  EXPECT_THROW(recordset.SetValue("Amount", vb::Variant("lots")), SqlError);
  EXPECT_THROW(recordset.SetValue("Nothing", vb::Variant(1)), SqlError);
  EXPECT_THROW(recordset.Sort("Nothing"), SqlError);
  recordset.Update();
  EXPECT_TRUE(recordset.Fields("Code").is_null());
  recordset.MoveNext();
  EXPECT_THROW(recordset.Fields("Code"), SqlError);  // at EOF

  Recordset empty;
  EXPECT_THROW(empty.OpenInMemory(), SqlError);  // no fields
  EXPECT_THROW(empty.AddNew(), SqlError);        // not open
}

}  // namespace
}  // namespace vob::data
