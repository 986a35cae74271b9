// What the demo generator's stages share: the company's parties and items, the ledger, the bank and counters.
// Only src/framework/schema/demo_*.cc include this. Money is Currency in cents; dates are whole serial days.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/schema/demo_generator.h"
#include "framework/schema/demo_random.h"
#include "framework/schema/demo_text.h"
#include "framework/schema/row_sink.h"
#include "platform/vb/currency.h"
#include "platform/vb/variant.h"

namespace vob::schema::demo {

using vb::Currency;
using vb::Variant;

inline Currency Cents(int64_t cents) {
  return Currency::FromRaw(cents * 100);
}
// amount * basis_points / 10000, rounded to a cent, halves away from zero.
Currency PercentOf(Currency amount, int64_t basis_points);
// price * quantity (in halves) less a whole-percent discount, rounded to a cent.
Currency LineAmount(Currency price, int quantity_halves, int discount_percent);

inline Variant TextOrNull(const std::optional<std::string>& text) {
  return text ? Variant(*text) : Variant::Null();
}
inline Variant DateValue(double serial) {
  return Variant::Date(serial);
}
inline Variant OptionalDate(std::optional<double> serial) {
  return serial ? Variant::Date(*serial) : Variant::Null();
}

// A customer's or vendor's other address.
struct Location {
  std::string location, name;
  std::optional<std::string> contact;
  PostalAddress address;
  std::optional<std::string> phone1, phone2, fax;
};

// A customer or vendor, with the running figures its master row shows at the end.
struct Party {
  std::string id, name;
  std::optional<std::string> contact;
  PostalAddress address;
  std::optional<std::string> phone1, phone2, fax;
  std::string bill_group;
  std::string sales_person;  // a vendor's territory
  std::optional<std::string> tax_id, notes;
  std::optional<std::string> term_code;  // Null terms: documents without a due date
  int net_days = 30;
  bool has_discount_terms = false;  // 2% off when paid within ten days
  bool is_tax_exempt = false;
  Currency credit_limit;
  std::vector<Location> locations;
  std::vector<int> items;  // products a vendor supplies

  Currency balance;
  std::optional<double> last_sale_date, last_payment_date;
  Currency last_sale_amount, last_payment_amount;
};

struct Item {
  std::string code, description, measure;
  std::optional<std::string> department;
  bool is_product = true;
  std::optional<bool> taxable;
  Currency price, cost;  // a product's cost is a whole number of even cents: half units cost whole cents
  int vendor = -1;
  // Stocked products ("Normal" tracking) are carried in the inventory account at cost; the others are
  // charged to cost of goods when bought.
  bool is_stocked = false;
  int on_hand_halves = 0;
  int minimum_halves = 0;
};

struct Employee {
  std::string id, name;
  Currency net_pay;  // per semi-monthly check
};

// One journal line.
struct Posting {
  std::string_view account;
  Currency amount;  // debit positive
};

// The general ledger: writes balanced journal entries and keeps each account's movement per period, from
// which the chart's per-period rows (movement and balance to date) are written at the end.
class Ledger {
 public:
  Ledger(RowSink& sink, DemoRandom& random, int first_year);

  // Writes one entry with its lines; throws SchemaError when the lines do not balance or the date lies
  // outside the two years.
  int Post(double date, std::string_view ledger_type, std::optional<int> journal_ref,
           const std::string& description, const std::string& reference, std::span<const Posting> lines);
  Currency Balance(std::string_view account) const;
  // Closes the year: one entry that brings every revenue and expense account to zero against retained
  // earnings, so that the next year's balances start from the year's result.
  void CloseYear(double date);
  // GLAccountsHeader and GLAccountsDetail; summary accounts carry the sums of the accounts below them.
  void WriteAccounts();

 private:
  int AccountIndex(std::string_view account) const;

  RowSink& sink_;
  DemoRandom& random_;
  int first_year_;
  int next_entry_no_ = 1;
  std::vector<std::vector<int64_t>> period_raw_;  // [account][period 0..23] in ten-thousandths
  std::vector<int64_t> balance_raw_;
  TableRow header_row_, detail_row_;
};

// The bank accounts' check register and the numbers of cash transactions and checks.
class Bank {
 public:
  Bank(RowSink& sink, DemoRandom& random, double generation_date);

  int NextTransNo() { return next_trans_no_++; }
  std::string NextCheckNo(std::string_view account);
  std::string NextDepositNo();
  // Writes a register row with the balance after it; a void row leaves the balance unchanged.
  void Register(std::string_view account, double date, std::string_view type, const std::string& check_no,
                const std::string& name, const std::string& payee_id, std::optional<int> cash_header_no,
                Currency payment, Currency deposit, bool is_void = false);

 private:
  RowSink& sink_;
  DemoRandom& random_;
  double generation_date_;
  int next_trans_no_ = 1;
  int next_deposit_no_ = 1;
  std::map<std::string, int, std::less<>> next_check_no_;
  std::map<std::string, Currency, std::less<>> balance_;
  TableRow row_;
};

// Accounts the stages post to.
namespace account {
inline constexpr std::string_view kCash = "1010", kPayrollCash = "1020", kPettyCash = "1050";
inline constexpr std::string_view kReceivables = "1200", kInventory = "1300", kPrepaid = "1400";
inline constexpr std::string_view kEquipment = "1510", kVehicles = "1520", kFurniture = "1530";
inline constexpr std::string_view kDepreciationAccumulated = "1590";
inline constexpr std::string_view kPayables = "2010", kCreditCard = "2100", kSalesTax = "2200";
inline constexpr std::string_view kAccrued = "2300", kLoan = "2510";
inline constexpr std::string_view kCommonStock = "3010", kRetainedEarnings = "3100";
inline constexpr std::string_view kProductSales = "4010", kServiceRevenue = "4020",
                                  kReturnsAllowances = "4090";
inline constexpr std::string_view kPurchaseDiscounts = "4120", kVendorRebates = "4130";
inline constexpr std::string_view kCostOfGoods = "5010", kInventoryAdjustments = "5030";
inline constexpr std::string_view kWages = "6010", kRent = "6100", kUtilities = "6110", kTelephone = "6120";
inline constexpr std::string_view kOfficeSupplies = "6200", kAdvertising = "6300", kInsurance = "6400";
inline constexpr std::string_view kRepairs = "6500", kProfessionalFees = "6600", kDepreciation = "6700";
inline constexpr std::string_view kInterest = "7010";
}  // namespace account

// Everything the stages share for one generation run.
struct DemoState {
  DemoState(const DemoOptions& options, RowSink& sink);

  int scale;
  double generation_date;
  int first_year;    // the year before the generation date's year
  double first_day;  // 1 January of first_year
  RowSink& sink;
  DemoRandom random;
  Ledger ledger;
  Bank bank;

  std::vector<Party> customers, vendors;
  std::vector<int> merchandise_vendors, expense_vendors;
  // Payees of the monthly bills, indices into vendors.
  int landlord = 0, power_company = 0, phone_company = 0, insurer = 0, lender = 0, tax_office = 0,
      card_issuer = 0;
  std::vector<Item> products, services;
  std::vector<TableRow> product_rows;  // written at the end, with the stock the days left
  std::vector<Employee> employees;
  std::vector<std::string> buyers, sales_people;  // our staff names on documents

  int next_ar_invoice_no = 10001;
  int next_ap_invoice_no = 50001;
  int next_order_no = 1;
  int next_po_no = 1;
};

bool IsBusinessDay(double serial);

// Our own name and address, the ship-to of purchases.
inline constexpr const char* kCompanyName = "Vob Demo Supply Co.";
PostalAddress CompanyAddress();

// The bill-to block (Name, Contact, Address1, Address2, city, State, zipcode) that documents copy from their
// party, written from the column of Name on; every document table keeps these seven columns together.
void WriteBillTo(TableRow& row, int name_column, const Party& party);
// The ship-to block (ShiptoName .. Shiptozipcode): one of the party's other locations, or its own address.
void WriteShipTo(TableRow& row, int name_column, const std::string& name, const PostalAddress& address);

// Stages, in the order the generator runs them.
void WriteReferenceTables(DemoState& state);  // libMessages, CompanyProfile, libChecks, libLabels
void CreateParties(DemoState& state);  // terms, customers, vendors, staff; writes Terms and other locations
void CreateItems(DemoState& state);    // products and services
void PostOpeningBalances(DemoState& state);
void WriteItems(DemoState& state);  // Products with their final stock
void WriteJobs(DemoState& state);
void WriteParties(DemoState& state);  // Customers and Vendors with their final balances and last activity

// Receivables: invoices, cash sales, returns, credits, receipts and sales orders, one business day at a time.
class SalesActivity {
 public:
  explicit SalesActivity(DemoState& state);
  ~SalesActivity();
  void RunDay(double day);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Payables: merchandise receipts, purchases, returns, credits, vendor payments and purchase orders.
class PurchaseActivity {
 public:
  explicit PurchaseActivity(DemoState& state);
  ~PurchaseActivity();
  void RunDay(double day);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Monthly bills paid without invoices, payroll, vendor refunds and the month-end general journal.
class OverheadActivity {
 public:
  explicit OverheadActivity(DemoState& state);
  void RunDay(double day);

 private:
  DemoState& state_;
};

}  // namespace vob::schema::demo
