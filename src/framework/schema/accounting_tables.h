// The accounting database the reports read: every table and column, with the names spelled as the host's
// schema spells them. One list, rendered to each SQL dialect by schema_sql.h and filled by the demo
// generator.
#pragma once

#include <span>
#include <stdexcept>
#include <string_view>

namespace vob::schema {

// Declared types; the data layer maps each to a Variant type (Text: String, Long: Long, Double: Double,
// Currency: Currency, DateTime: Date, YesNo: Boolean).
enum class ColumnType { kText, kLong, kDouble, kCurrency, kDateTime, kYesNo };

struct ColumnDef {
  std::string_view name;
  ColumnType type;
  bool is_key = false;
};

enum class TableId {
  kGLAccountsHeader,
  kGLAccountsDetail,
  kGLJournalHeader,
  kGLJournalDetail,
  kCustomers,
  kCustomersAlt,
  kARInvoiceHeader,
  kARInvoiceDetail,
  kSalesOrderHeader,
  kSalesOrderDetail,
  kTerms,
  kLibMessages,
  kVendors,
  kVendorsAlt,
  kAPInvoiceHeader,
  kAPInvoiceDetail,
  kPOHeader,
  kPODetail,
  kCheckRegister,
  kCashHeader,
  kCashDetail,
  kProducts,
  kServices,
  kJobCostHeader,
  kJobCostDetail,
  kCompanyProfile,
  kLibChecks,
  kLibLabels,
};
inline constexpr int kTableCount = static_cast<int>(TableId::kLibLabels) + 1;

struct TableDef {
  TableId id;
  std::string_view name;
  std::span<const ColumnDef> columns;
};

// A secondary index: the join and filter columns of the reports' queries.
struct IndexDef {
  TableId table;
  std::string_view column;
};

// Every table, in TableId order.
std::span<const TableDef> AccountingTables();
const TableDef& Table(TableId id);
std::span<const IndexDef> AccountingIndexes();

// The position of a column in its table, resolved while compiling so that a misspelt name does not build.
consteval int Col(std::span<const ColumnDef> columns, std::string_view name) {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == name) return static_cast<int>(i);
  }
  throw std::logic_error("no such column");
}

namespace columns {
using enum ColumnType;
inline constexpr bool kKey = true;
// The key of a table that has none of its own: the order its rows were stored in, counted from 1.
inline constexpr std::string_view kRowNo = "RowNo";

// clang-format off
inline constexpr ColumnDef kGLAccountsHeader[] = {
    {"AccountNo", kText, kKey}, {"AccountName", kText}, {"Group", kText}, {"Type", kText}, {"Parent", kText},
    {"Reconciliable", kYesNo},
};
inline constexpr ColumnDef kGLAccountsDetail[] = {
    {"AccountNo", kText}, {"AccountingPeriod", kText}, {"DebitAmount", kCurrency}, {"Todate", kCurrency},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kGLJournalHeader[] = {
    {"JournalEntryNo", kLong, kKey}, {"Description", kText}, {"Reference", kText}, {"JournalRef", kLong},
    {"LedgerType", kText}, {"TransDate", kDateTime}, {"Modified", kDateTime}, {"ModifiedBy", kText},
};
inline constexpr ColumnDef kGLJournalDetail[] = {
    {"JournalEntryNo", kLong}, {"LineNo", kLong}, {"AccountNo", kText}, {"AccountName", kText},
    {"TransDate", kDateTime}, {"DebitAmount", kCurrency},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kCustomers[] = {
    {"CustomerID", kText, kKey}, {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText},
    {"City", kText}, {"State", kText}, {"ZipCode", kText}, {"Phone1", kText}, {"Phone2", kText}, {"Fax", kText},
    {"BillGroup", kText}, {"AccountType", kText}, {"TaxID", kText}, {"TaxNo", kText}, {"SalesPerson", kText},
    {"CreditLimit", kCurrency}, {"CurrentBalance", kCurrency}, {"CurrentCredit", kCurrency},
    {"LastSalesAmount", kCurrency}, {"LastPaymentAmount", kCurrency},
    {"LastSaleDate", kDateTime}, {"LastPaymentDate", kDateTime}, {"Notes", kText},
};
inline constexpr ColumnDef kCustomersAlt[] = {
    {"CustomerID", kText}, {"Location", kText}, {"Name", kText}, {"Address1", kText}, {"Address2", kText},
    {"City", kText}, {"State", kText}, {"zipcode", kText}, {"Phone1", kText}, {"Phone2", kText}, {"Fax", kText},
    {"Contact", kText},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kARInvoiceHeader[] = {
    {"InvoiceNo", kLong, kKey}, {"InvoiceNumber", kText}, {"InvoiceType", kText}, {"CustomerID", kText},
    {"InvoiceDate", kDateTime}, {"DueDate", kDateTime}, {"OriginalInvoiceNo", kText},
    {"originalinvoicetype", kText},
    {"SubTotal", kCurrency}, {"Tax", kCurrency}, {"Total", kCurrency}, {"PaidAmount", kCurrency},
    {"NetAmount", kCurrency},
    {"CustomerPONumber", kText}, {"FOB", kText}, {"Via", kText}, {"OurRef", kText}, {"PaidRef", kText},
    {"Notes", kText}, {"TermCode", kText}, {"MessageNo", kLong},
    {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText}, {"city", kText},
    {"State", kText}, {"zipcode", kText},
    {"ShiptoName", kText}, {"ShiptoAddress1", kText}, {"ShiptoAddress2", kText}, {"Shiptocity", kText},
    {"ShiptoState", kText}, {"Shiptozipcode", kText},
};
inline constexpr ColumnDef kARInvoiceDetail[] = {
    {"InvoiceNo", kLong}, {"ItemCode", kText}, {"Description", kText}, {"ItemType", kText},
    {"DepartmentNo", kText}, {"Ordered", kDouble}, {"Shipped", kDouble}, {"Backordered", kDouble},
    {"SalesPrice", kCurrency}, {"SplitAmount", kCurrency}, {"Discount", kDouble},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kSalesOrderHeader[] = {
    {"OrderNo", kLong, kKey}, {"OrderNumber", kText}, {"OrderDate", kDateTime}, {"CustomerID", kText},
    {"CustomerPONumber", kText}, {"FOB", kText}, {"Via", kText}, {"OurRef", kText}, {"PaidRef", kText},
    {"Notes", kText}, {"TermCode", kText}, {"SubTotal", kCurrency}, {"Tax", kCurrency}, {"Total", kCurrency},
    {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText}, {"city", kText},
    {"State", kText}, {"zipcode", kText},
    {"ShiptoName", kText}, {"ShiptoAddress1", kText}, {"ShiptoAddress2", kText}, {"Shiptocity", kText},
    {"ShiptoState", kText}, {"Shiptozipcode", kText},
};
inline constexpr ColumnDef kSalesOrderDetail[] = {
    {"OrderNo", kLong}, {"ItemCode", kText}, {"Ordered", kDouble}, {"Description", kText},
    {"SalesPrice", kCurrency}, {"SplitAmount", kCurrency}, {"Discount", kDouble},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kTerms[] = {
    {"TermCode", kText, kKey}, {"Description", kText}, {"NetDays", kLong},
};
inline constexpr ColumnDef kLibMessages[] = {
    {"MessageNo", kLong, kKey}, {"MessageText", kText},
};
inline constexpr ColumnDef kVendors[] = {
    {"VendorID", kText, kKey}, {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText},
    {"City", kText}, {"State", kText}, {"ZipCode", kText}, {"Phone1", kText}, {"Phone2", kText}, {"Fax", kText},
    {"BillGroup", kText}, {"AccountType", kText}, {"TaxID", kText}, {"TaxNo", kText}, {"Territory", kText},
    {"Notes", kText},
    {"CreditLimit", kCurrency}, {"CurrentBalance", kCurrency}, {"CurrentCredit", kCurrency},
    {"LastPurchaseAmount", kCurrency}, {"LastPaymentAmount", kCurrency},
    {"LastPurchaseDate", kDateTime}, {"LastPaymentDate", kDateTime},
};
inline constexpr ColumnDef kVendorsAlt[] = {
    {"VendorID", kText}, {"Location", kText}, {"Name", kText}, {"Address1", kText}, {"Address2", kText},
    {"City", kText}, {"State", kText}, {"zipcode", kText}, {"Phone1", kText}, {"Phone2", kText}, {"Fax", kText},
    {"Contact", kText},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kAPInvoiceHeader[] = {
    {"InvoiceNo", kLong, kKey}, {"InvoiceNumber", kText}, {"VendInvNo", kText}, {"InvoiceType", kText},
    {"VendorID", kText}, {"InvoiceDate", kDateTime}, {"DueDate", kDateTime}, {"OriginalInvoiceNo", kText},
    {"originalinvoicetype", kText},
    {"SubTotal", kCurrency}, {"Tax", kCurrency}, {"Total", kCurrency}, {"PaidAmount", kCurrency},
    {"NetAmount", kCurrency}, {"PayablesAccount", kText},
    {"TermCode", kText}, {"FOB", kText}, {"Via", kText}, {"OurRef", kText}, {"PaidRef", kText}, {"Notes", kText},
    {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText}, {"city", kText},
    {"State", kText}, {"zipcode", kText},
    {"ShiptoName", kText}, {"ShiptoAddress1", kText}, {"ShiptoAddress2", kText}, {"Shiptocity", kText},
    {"ShiptoState", kText}, {"Shiptozipcode", kText},
};
inline constexpr ColumnDef kAPInvoiceDetail[] = {
    {"InvoiceNo", kLong}, {"ItemCode", kText}, {"Description", kText}, {"ItemType", kText},
    {"DepartmentNo", kText}, {"Ordered", kDouble}, {"Received", kDouble}, {"Backordered", kDouble},
    {"SalesPrice", kCurrency}, {"SplitAmount", kCurrency}, {"Discount", kDouble},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kPOHeader[] = {
    {"PONo", kLong, kKey}, {"PONumber", kText}, {"OrderDate", kDateTime}, {"VendorID", kText},
    {"CorrespondTo", kText}, {"FOB", kText}, {"Via", kText}, {"OurRef", kText},
    {"SubTotal", kCurrency}, {"Tax", kCurrency}, {"Total", kCurrency}, {"NottoExceed", kCurrency},
    {"Name", kText}, {"Contact", kText}, {"Address1", kText}, {"Address2", kText}, {"city", kText},
    {"State", kText}, {"zipcode", kText},
};
inline constexpr ColumnDef kPODetail[] = {
    {"PONo", kLong}, {"ItemCode", kText}, {"Description", kText}, {"Ordered", kDouble}, {"Cost", kCurrency},
    {"Discount", kDouble}, {"SplitAmount", kCurrency},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kCheckRegister[] = {
    {"AccountNo", kText}, {"CheckNo", kText}, {"CheckDate", kDateTime}, {"Type", kText}, {"Name", kText},
    {"CustomerID", kText}, {"CashHeaderNo", kLong}, {"Payment", kCurrency}, {"Deposit", kCurrency},
    {"Balance", kCurrency}, {"Cleared", kYesNo}, {"Void", kYesNo},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kCashHeader[] = {
    {"TransNo", kLong, kKey}, {"CustomerId", kText}, {"TransType", kText}, {"CheckNo", kText},
    {"AccountNo", kText}, {"Amount", kCurrency}, {"ReceiptDate", kDateTime},
    {"Address", kText}, {"city", kText}, {"state", kText}, {"Zipcode", kText},
};
inline constexpr ColumnDef kCashDetail[] = {
    {"TransNo", kLong}, {"VendInvno", kText}, {"InvoiceDate", kDateTime}, {"InvoiceAmount", kCurrency},
    {"DiscountTaken", kCurrency}, {"Applied", kCurrency},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kProducts[] = {
    {"Code", kText, kKey}, {"Description", kText}, {"SalesMeasure", kText}, {"Bin", kText},
    {"DepartmentNo", kText}, {"VendorID", kText}, {"SalesPrice", kCurrency}, {"Taxable", kYesNo},
    {"AverageCost", kCurrency}, {"StandardCost", kCurrency}, {"LastPurchasePrice", kCurrency},
    {"OnHandFractions", kDouble}, {"OnOrderFractions", kDouble}, {"MinimumQuantity", kDouble},
    {"ReorderQuantity", kDouble}, {"InventoryTracking", kText},
};
inline constexpr ColumnDef kServices[] = {
    {"Code", kText, kKey}, {"Description", kText}, {"SalesMeasure", kText}, {"Taxable", kYesNo},
    {"SalesPrice", kCurrency},
};
inline constexpr ColumnDef kJobCostHeader[] = {
    {"JobID", kText, kKey}, {"JobName", kText}, {"CustomerID", kText}, {"Contact", kText},
    {"ContactPhn", kText}, {"ContactEMail", kText}, {"Notes", kText}, {"StartDate", kDateTime},
    {"EndDate", kDateTime}, {"Closed", kLong}, {"EstimatedRevenue", kCurrency}, {"EstimatedCost", kCurrency},
};
inline constexpr ColumnDef kJobCostDetail[] = {
    {"JobID", kText}, {"JobCharges", kCurrency}, {"LedgerType", kText}, {"LedgerReference", kText},
    {"JournalRefNo", kText}, {"ItemDescription", kText}, {"LineDescription", kText}, {"TransDate", kDateTime},
    {"TransLineNo", kLong},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kCompanyProfile[] = {
    {"MastHead", kText},
    {kRowNo, kLong, kKey},
};
inline constexpr ColumnDef kLibChecks[] = {
    {"StyleID", kLong, kKey}, {"Description", kText}, {"Default", kYesNo}, {"Units", kText},
    {"DateTop", kDouble}, {"dateleft", kDouble}, {"amountTop", kDouble}, {"amountLeft", kDouble},
    {"vAmountTop", kDouble}, {"vAmountleft", kDouble}, {"AddressTop", kDouble}, {"AddressLeft", kDouble},
    {"stubTop", kDouble}, {"stubLeft", kDouble},
};
inline constexpr ColumnDef kLibLabels[] = {
    {"LabelID", kLong, kKey}, {"Description", kText}, {"unit", kText},
    {"TopMargin", kDouble}, {"SideMargin", kDouble}, {"LabelWidth", kDouble}, {"LabelHeight", kDouble},
    {"VerticalPitch", kDouble}, {"HorizontalPitch", kDouble}, {"PageHeight", kDouble}, {"PageWidth", kDouble},
    {"numberAcross", kLong}, {"NumberDown", kLong}, {"pageSize", kText},
};
// clang-format on
}  // namespace columns

}  // namespace vob::schema
