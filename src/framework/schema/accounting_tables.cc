// The table list and the secondary indexes of the accounting database.
// Tables stand in TableId order, so Table(id) is an array lookup.
#include "framework/schema/accounting_tables.h"

namespace vob::schema {
namespace {

using enum TableId;

constexpr TableDef kTables[] = {
    {kGLAccountsHeader, "GLAccountsHeader", columns::kGLAccountsHeader},
    {kGLAccountsDetail, "GLAccountsDetail", columns::kGLAccountsDetail},
    {kGLJournalHeader, "GLJournalHeader", columns::kGLJournalHeader},
    {kGLJournalDetail, "GLJournalDetail", columns::kGLJournalDetail},
    {kCustomers, "Customers", columns::kCustomers},
    {kCustomersAlt, "CustomersAlt", columns::kCustomersAlt},
    {kARInvoiceHeader, "ARInvoiceHeader", columns::kARInvoiceHeader},
    {kARInvoiceDetail, "ARInvoiceDetail", columns::kARInvoiceDetail},
    {kSalesOrderHeader, "SalesOrderHeader", columns::kSalesOrderHeader},
    {kSalesOrderDetail, "SalesOrderDetail", columns::kSalesOrderDetail},
    {kTerms, "Terms", columns::kTerms},
    {kLibMessages, "libMessages", columns::kLibMessages},
    {kVendors, "Vendors", columns::kVendors},
    {kVendorsAlt, "VendorsAlt", columns::kVendorsAlt},
    {kAPInvoiceHeader, "APInvoiceHeader", columns::kAPInvoiceHeader},
    {kAPInvoiceDetail, "APInvoiceDetail", columns::kAPInvoiceDetail},
    {kPOHeader, "POHeader", columns::kPOHeader},
    {kPODetail, "PODetail", columns::kPODetail},
    {kCheckRegister, "CheckRegister", columns::kCheckRegister},
    {kCashHeader, "CashHeader", columns::kCashHeader},
    {kCashDetail, "CashDetail", columns::kCashDetail},
    {kProducts, "Products", columns::kProducts},
    {kServices, "Services", columns::kServices},
    {kJobCostHeader, "JobCostHeader", columns::kJobCostHeader},
    {kJobCostDetail, "JobCostDetail", columns::kJobCostDetail},
    {kCompanyProfile, "CompanyProfile", columns::kCompanyProfile},
    {kLibChecks, "libChecks", columns::kLibChecks},
    {kLibLabels, "libLabels", columns::kLibLabels},
};
static_assert(std::size(kTables) == kTableCount);

constexpr bool TablesInIdOrder() {
  for (int i = 0; i < kTableCount; ++i) {
    if (static_cast<int>(kTables[i].id) != i) return false;
  }
  return true;
}
static_assert(TablesInIdOrder());

// The columns the reports join on, filter by or sort by in large tables.
constexpr IndexDef kIndexes[] = {
    {kGLAccountsDetail, "AccountNo"},
    {kGLAccountsDetail, "AccountingPeriod"},
    {kGLJournalHeader, "TransDate"},
    {kGLJournalHeader, "JournalRef"},
    {kGLJournalDetail, "JournalEntryNo"},
    {kGLJournalDetail, "AccountNo"},
    {kCustomersAlt, "CustomerID"},
    {kARInvoiceHeader, "CustomerID"},
    {kARInvoiceHeader, "InvoiceDate"},
    {kARInvoiceDetail, "InvoiceNo"},
    {kSalesOrderDetail, "OrderNo"},
    {kVendorsAlt, "VendorID"},
    {kAPInvoiceHeader, "VendorID"},
    {kAPInvoiceHeader, "InvoiceDate"},
    {kAPInvoiceDetail, "InvoiceNo"},
    {kPODetail, "PONo"},
    {kCheckRegister, "AccountNo"},
    {kCheckRegister, "CheckNo"},
    {kCashHeader, "ReceiptDate"},
    {kCashDetail, "TransNo"},
    {kJobCostDetail, "JobID"},
};

}  // namespace

std::span<const TableDef> AccountingTables() {
  return kTables;
}

const TableDef& Table(TableId id) {
  return kTables[static_cast<int>(id)];
}

std::span<const IndexDef> AccountingIndexes() {
  return kIndexes;
}

}  // namespace vob::schema
