// The demo company's chart of accounts, journal and check register, and the money helpers of the generator.
// Period rows are derived from the journal, so each account's Todate is the running sum of its DebitAmount.
#include <algorithm>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"
#include "framework/schema/schema_error.h"
#include "platform/vb/date.h"

namespace vob::schema::demo {
namespace {

struct AccountDef {
  std::string_view number, name, group, type, parent;
  bool is_reconciliable = false;
};

// clang-format off
constexpr AccountDef kChart[] = {
    {"1000", "Current Assets",               "Asset",     "General", ""},
    {"1010", "Cash - Operating",             "Asset",     "Detail",  "1000", true},
    {"1020", "Cash - Payroll",               "Asset",     "Detail",  "1000", true},
    {"1050", "Petty Cash",                   "Asset",     "Detail",  "1000"},
    {"1200", "Accounts Receivable",          "Asset",     "Detail",  "1000"},
    {"1300", "Inventory",                    "Asset",     "Detail",  "1000"},
    {"1400", "Prepaid Expenses",             "Asset",     "Detail",  "1000"},
    {"1500", "Fixed Assets",                 "Asset",     "General", ""},
    {"1510", "Equipment",                    "Asset",     "Detail",  "1500"},
    {"1520", "Vehicles",                     "Asset",     "Detail",  "1500"},
    {"1530", "Furniture and Fixtures",       "Asset",     "Detail",  "1500"},
    {"1590", "Accumulated Depreciation",     "Asset",     "Detail",  "1500"},
    {"2000", "Current Liabilities",          "Liability", "General", ""},
    {"2010", "Accounts Payable",             "Liability", "Detail",  "2000"},
    {"2100", "Credit Card Payable",          "Liability", "Detail",  "2000", true},
    {"2200", "Sales Tax Payable",            "Liability", "Detail",  "2000"},
    {"2300", "Accrued Liabilities",          "Liability", "Detail",  "2000"},
    {"2400", "Payroll Liabilities",          "Liability", "Detail",  "2000"},
    {"2500", "Long-term Liabilities",        "Liability", "General", ""},
    {"2510", "Bank Loan",                    "Liability", "Detail",  "2500"},
    {"3000", "Shareholders Equity",          "Equity",    "General", ""},
    {"3010", "Common Stock",                 "Equity",    "Detail",  "3000"},
    {"3100", "Retained Earnings",            "Equity",    "Detail",  "3000"},
    {"3200", "Owner Distributions",          "Equity",    "Detail",  "3000"},
    {"4000", "Sales Revenue",                "Revenue",   "General", ""},
    {"4010", "Product Sales",                "Revenue",   "Detail",  "4000"},
    {"4020", "Service Revenue",              "Revenue",   "Detail",  "4000"},
    {"4090", "Sales Returns and Allowances", "Revenue",   "Detail",  "4000"},
    {"4100", "Other Income",                 "Revenue",   "General", ""},
    {"4110", "Interest Income",              "Revenue",   "Detail",  "4100"},
    {"4120", "Purchase Discounts",           "Revenue",   "Detail",  "4100"},
    {"4130", "Vendor Rebates",               "Revenue",   "Detail",  "4100"},
    {"5000", "Cost of Sales",                "Expense",   "General", ""},
    {"5010", "Cost of Goods Sold",           "Expense",   "Detail",  "5000"},
    {"5020", "Freight In",                   "Expense",   "Detail",  "5000"},
    {"5030", "Inventory Adjustments",        "Expense",   "Detail",  "5000"},
    {"6000", "Operating Expenses",           "Expense",   "General", ""},
    {"6010", "Wages and Salaries",           "Expense",   "Detail",  "6000"},
    {"6020", "Payroll Taxes",                "Expense",   "Detail",  "6000"},
    {"6100", "Rent",                         "Expense",   "Detail",  "6000"},
    {"6110", "Utilities",                    "Expense",   "Detail",  "6000"},
    {"6120", "Telephone and Internet",       "Expense",   "Detail",  "6000"},
    {"6200", "Office Supplies",              "Expense",   "Detail",  "6000"},
    {"6300", "Advertising",                  "Expense",   "Detail",  "6000"},
    {"6400", "Insurance",                    "Expense",   "Detail",  "6000"},
    {"6500", "Repairs and Maintenance",      "Expense",   "Detail",  "6000"},
    {"6600", "Professional Fees",            "Expense",   "Detail",  "6000"},
    {"6700", "Depreciation",                 "Expense",   "Detail",  "6000"},
    {"7000", "Other Expenses",               "Expense",   "General", ""},
    {"7010", "Interest Expense",             "Expense",   "Detail",  "7000"},
    {"7020", "Bad Debts",                    "Expense",   "Detail",  "7000"},
};
// clang-format on
constexpr int kAccountCount = static_cast<int>(std::size(kChart));
static_assert(std::is_sorted(std::begin(kChart), std::end(kChart),
                             [](const AccountDef& a, const AccountDef& b) { return a.number < b.number; }));
constexpr int kPeriods = 24;
constexpr const char* kUsers[] = {"admin", "jsmith", "mlee", "kpatel"};

int64_t RoundToCentRaw(int64_t raw) {
  // raw is in ten-thousandths; a cent is 100 of them.
  const int64_t sign = raw < 0 ? -1 : 1;
  const int64_t magnitude = raw * sign;
  return sign * ((magnitude + 50) / 100 * 100);
}

}  // namespace

Currency PercentOf(Currency amount, int64_t basis_points) {
  return Currency::FromRaw(RoundToCentRaw(amount.raw() * basis_points / 10000));
}

Currency LineAmount(Currency price, int quantity_halves, int discount_percent) {
  const int64_t gross = price.raw() * quantity_halves / 2;
  return Currency::FromRaw(RoundToCentRaw(gross * (100 - discount_percent) / 100));
}

bool IsBusinessDay(double serial) {
  const int weekday = vb::Weekday(serial);
  return weekday != 1 && weekday != 7;
}

Ledger::Ledger(RowSink& sink, DemoRandom& random, int first_year)
    : sink_(sink),
      random_(random),
      first_year_(first_year),
      period_raw_(kAccountCount, std::vector<int64_t>(kPeriods, 0)),
      balance_raw_(kAccountCount, 0),
      header_row_(TableId::kGLJournalHeader),
      detail_row_(TableId::kGLJournalDetail) {}

int Ledger::AccountIndex(std::string_view account) const {
  const AccountDef* found =
      std::lower_bound(std::begin(kChart), std::end(kChart), account,
                       [](const AccountDef& def, std::string_view number) { return def.number < number; });
  if (found != std::end(kChart) && found->number == account)
    return static_cast<int>(found - std::begin(kChart));
  throw SchemaError(fmt::format("demo ledger: no account {} in the chart", account));
}

int Ledger::Post(double date, std::string_view ledger_type, std::optional<int> journal_ref,
                 const std::string& description, const std::string& reference,
                 std::span<const Posting> lines) {
  const int entry_no = next_entry_no_++;
  int64_t sum = 0;
  for (const Posting& line : lines) sum += line.amount.raw();
  if (sum != 0)
    throw SchemaError(fmt::format("demo ledger: entry {} ({}) does not balance", entry_no, description));
  const vb::CivilDateTime civil = vb::SplitSerial(date);
  const int period = (civil.year - first_year_) * 12 + civil.month - 1;
  if (period < 0 || period >= kPeriods) {
    throw SchemaError(
        fmt::format("demo ledger: entry {} ({}) is dated outside the two years", entry_no, description));
  }

  namespace c = columns;
  double modified = date + (8 * 60 + random_.Int(0, 600)) / 1440.0;
  if (random_.Percent(8)) modified += random_.Int(1, 4);
  header_row_[Col(c::kGLJournalHeader, "JournalEntryNo")] = entry_no;
  header_row_[Col(c::kGLJournalHeader, "Description")] = description;
  header_row_[Col(c::kGLJournalHeader, "Reference")] = reference;
  header_row_[Col(c::kGLJournalHeader, "JournalRef")] = journal_ref.value_or(entry_no);
  header_row_[Col(c::kGLJournalHeader, "LedgerType")] = ledger_type;
  header_row_[Col(c::kGLJournalHeader, "TransDate")] = DateValue(date);
  header_row_[Col(c::kGLJournalHeader, "Modified")] = DateValue(modified);
  header_row_[Col(c::kGLJournalHeader, "ModifiedBy")] = random_.Pick(kUsers);
  header_row_.Emit(sink_);

  int line_no = 1;
  for (const Posting& line : lines) {
    const int index = AccountIndex(line.account);
    period_raw_[index][period] += line.amount.raw();
    balance_raw_[index] += line.amount.raw();
    detail_row_[Col(c::kGLJournalDetail, "JournalEntryNo")] = entry_no;
    detail_row_[Col(c::kGLJournalDetail, "LineNo")] = line_no++;
    detail_row_[Col(c::kGLJournalDetail, "AccountNo")] = kChart[index].number;
    detail_row_[Col(c::kGLJournalDetail, "AccountName")] = kChart[index].name;
    detail_row_[Col(c::kGLJournalDetail, "TransDate")] = DateValue(date);
    detail_row_[Col(c::kGLJournalDetail, "DebitAmount")] = line.amount;
    detail_row_.Emit(sink_);
  }
  return entry_no;
}

Currency Ledger::Balance(std::string_view account) const {
  return Currency::FromRaw(balance_raw_[AccountIndex(account)]);
}

void Ledger::CloseYear(double date) {
  std::vector<Posting> lines;
  Currency result;
  for (int i = 0; i < kAccountCount; ++i) {
    const AccountDef& def = kChart[i];
    if ((def.group != "Revenue" && def.group != "Expense") || def.type != "Detail") continue;
    const Currency balance = Currency::FromRaw(balance_raw_[i]);
    if (balance == Currency()) continue;
    lines.push_back({def.number, -balance});
    result += balance;
  }
  lines.push_back({account::kRetainedEarnings, result});
  const int year = vb::SplitSerial(date).year;
  Post(date, "GL", std::nullopt, fmt::format("Closing entry {}", year), fmt::format("CLOSE {}", year), lines);
}

void Ledger::WriteAccounts() {
  namespace c = columns;
  // Summary accounts sum the accounts below them, through every level.
  std::vector<std::vector<int64_t>> totals = period_raw_;
  for (int i = 0; i < kAccountCount; ++i) {
    for (std::string_view parent = kChart[i].parent; !parent.empty();
         parent = kChart[AccountIndex(parent)].parent) {
      const int parent_index = AccountIndex(parent);
      for (int p = 0; p < kPeriods; ++p) totals[parent_index][p] += period_raw_[i][p];
    }
  }
  TableRow header(TableId::kGLAccountsHeader), detail(TableId::kGLAccountsDetail);
  for (int i = 0; i < kAccountCount; ++i) {
    const AccountDef& def = kChart[i];
    header[Col(c::kGLAccountsHeader, "AccountNo")] = def.number;
    header[Col(c::kGLAccountsHeader, "AccountName")] = def.name;
    header[Col(c::kGLAccountsHeader, "Group")] = def.group;
    header[Col(c::kGLAccountsHeader, "Type")] = def.type;
    if (!def.parent.empty()) header[Col(c::kGLAccountsHeader, "Parent")] = def.parent;
    header[Col(c::kGLAccountsHeader, "Reconciliable")] = def.is_reconciliable;
    header.Emit(sink_);
    int64_t to_date = 0;
    for (int p = 0; p < kPeriods; ++p) {
      to_date += totals[i][p];
      detail[Col(c::kGLAccountsDetail, "AccountNo")] = def.number;
      detail[Col(c::kGLAccountsDetail, "AccountingPeriod")] =
          fmt::format("{}{:02}", first_year_ + p / 12, p % 12 + 1);
      detail[Col(c::kGLAccountsDetail, "DebitAmount")] = Currency::FromRaw(totals[i][p]);
      detail[Col(c::kGLAccountsDetail, "Todate")] = Currency::FromRaw(to_date);
      detail.Emit(sink_);
    }
  }
}

Bank::Bank(RowSink& sink, DemoRandom& random, double generation_date)
    : sink_(sink),
      random_(random),
      generation_date_(generation_date),
      next_check_no_{{std::string(account::kCash), 1001}, {std::string(account::kPayrollCash), 5001}},
      row_(TableId::kCheckRegister) {}

std::string Bank::NextCheckNo(std::string_view account) {
  auto found = next_check_no_.find(account);
  if (found == next_check_no_.end()) found = next_check_no_.emplace(std::string(account), 1).first;
  return fmt::format("{:08}", found->second++);
}

std::string Bank::NextDepositNo() {
  return fmt::format("D{:07}", next_deposit_no_++);
}

void Bank::Register(std::string_view account, double date, std::string_view type, const std::string& check_no,
                    const std::string& name, const std::string& payee_id, std::optional<int> cash_header_no,
                    Currency payment, Currency deposit, bool is_void) {
  namespace c = columns;
  auto found = balance_.find(account);
  if (found == balance_.end()) found = balance_.emplace(std::string(account), Currency()).first;
  if (!is_void) found->second += deposit - payment;
  // Entries older than three weeks have mostly come back from the bank.
  const bool is_cleared = !is_void && random_.Percent(date <= generation_date_ - 21 ? 97 : 30);
  row_[Col(c::kCheckRegister, "AccountNo")] = account;
  row_[Col(c::kCheckRegister, "CheckNo")] = check_no;
  row_[Col(c::kCheckRegister, "CheckDate")] = DateValue(date);
  row_[Col(c::kCheckRegister, "Type")] = type;
  row_[Col(c::kCheckRegister, "Name")] = name;
  if (!payee_id.empty()) row_[Col(c::kCheckRegister, "CustomerID")] = payee_id;
  if (cash_header_no) row_[Col(c::kCheckRegister, "CashHeaderNo")] = *cash_header_no;
  row_[Col(c::kCheckRegister, "Payment")] = payment;
  row_[Col(c::kCheckRegister, "Deposit")] = deposit;
  row_[Col(c::kCheckRegister, "Balance")] = found->second;
  row_[Col(c::kCheckRegister, "Cleared")] = is_cleared;
  row_[Col(c::kCheckRegister, "Void")] = is_void;
  row_.Emit(sink_);
}

}  // namespace vob::schema::demo
