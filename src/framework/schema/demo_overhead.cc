// The demo company's running costs: monthly bills paid by check without invoices ("lpay"), semi-monthly
// payroll checks, vendor refunds ("VREF") and the month-end general journal (depreciation, stock
// adjustments). A bill falls on the first business day on or after its day of the month; payroll and the
// journal also on the month's last business day.
#include <algorithm>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"
#include "platform/vb/date.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

// True when day is the first business day on or after the given day of its month (the last day when the
// month is shorter).
bool IsScheduled(double day, int day_of_month) {
  const vb::CivilDateTime civil = vb::SplitSerial(day);
  double scheduled = vb::DateSerial(civil.year, civil.month,
                                    std::min(day_of_month, vb::DaysInMonth(civil.year, civil.month)));
  while (!IsBusinessDay(scheduled)) ++scheduled;
  return day == scheduled;
}

// True on the last business day of the month.
bool IsMonthEnd(double day) {
  const int month = vb::SplitSerial(day).month;
  for (double next = day + 1; vb::SplitSerial(next).month == month; ++next) {
    if (IsBusinessDay(next)) return false;
  }
  return true;
}

struct Bill {
  std::string payee_id, payee_name;
  const PostalAddress* address = nullptr;  // none for staff
  std::string trans_type = "lpay";
  Currency amount;
  std::string line_reference;  // a one-line stub when not empty
  std::string ledger_type = "CD";
  std::string description;
  std::vector<Posting> debits;  // the credit to cash is added
};

}  // namespace

OverheadActivity::OverheadActivity(DemoState& state) : state_(state) {}

namespace {

void PayBill(DemoState& state, double day, Bill bill) {
  if (bill.amount <= Currency()) return;
  DemoRandom& random = state.random;
  const int trans_no = state.bank.NextTransNo();
  // Now and then a check is spoiled in the printer: it is voided and the next number goes out.
  if (random.Percent(3)) {
    state.bank.Register(account::kCash, day, "W", state.bank.NextCheckNo(account::kCash), bill.payee_name,
                        bill.payee_id, trans_no, bill.amount, Currency(), true);
  }
  const std::string check_no = state.bank.NextCheckNo(account::kCash);
  TableRow header(TableId::kCashHeader);
  header[Col(c::kCashHeader, "TransNo")] = trans_no;
  header[Col(c::kCashHeader, "CustomerId")] = bill.payee_id;
  header[Col(c::kCashHeader, "TransType")] = bill.trans_type;
  header[Col(c::kCashHeader, "CheckNo")] = check_no;
  header[Col(c::kCashHeader, "AccountNo")] = account::kCash;
  header[Col(c::kCashHeader, "Amount")] = bill.amount;
  header[Col(c::kCashHeader, "ReceiptDate")] = DateValue(day);
  if (bill.address != nullptr) {
    header[Col(c::kCashHeader, "Address")] = bill.address->street;
    header[Col(c::kCashHeader, "city")] = bill.address->city;
    header[Col(c::kCashHeader, "state")] = bill.address->state;
    header[Col(c::kCashHeader, "Zipcode")] = bill.address->zip;
  }
  header.Emit(state.sink);
  if (!bill.line_reference.empty()) {
    TableRow detail(TableId::kCashDetail);
    detail[Col(c::kCashDetail, "TransNo")] = trans_no;
    detail[Col(c::kCashDetail, "VendInvno")] = bill.line_reference;
    detail[Col(c::kCashDetail, "InvoiceDate")] = DateValue(day);
    detail[Col(c::kCashDetail, "InvoiceAmount")] = bill.amount;
    detail[Col(c::kCashDetail, "DiscountTaken")] = Currency();
    detail[Col(c::kCashDetail, "Applied")] = bill.amount;
    detail.Emit(state.sink);
  }
  state.bank.Register(account::kCash, day, "W", check_no, bill.payee_name, bill.payee_id, trans_no,
                      bill.amount, Currency());
  bill.debits.push_back({account::kCash, -bill.amount});
  state.ledger.Post(day, bill.ledger_type, trans_no, bill.description, check_no, bill.debits);
}

Bill VendorBill(DemoState& state, int vendor_index, Currency amount, std::string_view expense,
                const std::string& what) {
  const Party& vendor = state.vendors[static_cast<size_t>(vendor_index)];
  Bill bill;
  bill.payee_id = vendor.id;
  bill.payee_name = vendor.name;
  bill.address = &vendor.address;
  bill.amount = amount;
  bill.description = what + " - " + vendor.name;
  bill.debits = {{expense, amount}};
  return bill;
}

}  // namespace

void OverheadActivity::RunDay(double day) {
  DemoState& state = state_;
  DemoRandom& random = state.random;
  if (!IsBusinessDay(day)) return;
  const int64_t scale = state.scale;
  const vb::CivilDateTime civil = vb::SplitSerial(day);
  const std::string month = fmt::format("{:04}-{:02}", civil.year, civil.month);
  auto pay_vendor = [&](int vendor_index, Bill bill) {
    Party& vendor = state.vendors[static_cast<size_t>(vendor_index)];
    vendor.last_payment_date = day;
    vendor.last_payment_amount = bill.amount;
    PayBill(state, day, std::move(bill));
  };

  if (IsScheduled(day, 1)) {
    Bill rent = VendorBill(state, state.landlord, Cents(400000 * scale), account::kRent, "Rent " + month);
    rent.line_reference = "RENT " + month;
    pay_vendor(state.landlord, std::move(rent));
  }
  if (IsScheduled(day, 10)) {
    Bill power = VendorBill(state, state.power_company, Cents(random.Int(60000, 140000) * scale),
                            account::kUtilities, "Electricity " + month);
    power.line_reference = fmt::format("ACCT 4471-{}", month);
    pay_vendor(state.power_company, std::move(power));
  }
  if (IsScheduled(day, 12)) {
    pay_vendor(state.phone_company,
               VendorBill(state, state.phone_company, Cents(random.Int(25000, 40000) * scale),
                          account::kTelephone, "Telephone " + month));
  }
  if (IsScheduled(day, 15) && (civil.month - 1) % 3 == 0) {
    Bill insurance =
        VendorBill(state, state.insurer, Cents(240000 * scale), account::kInsurance, "Insurance " + month);
    insurance.trans_type = "LPAY";
    insurance.line_reference = "POLICY BP-20871";
    pay_vendor(state.insurer, std::move(insurance));
  }
  if (IsScheduled(day, 18)) {
    const Currency card = -state.ledger.Balance(account::kCreditCard);
    pay_vendor(state.card_issuer,
               VendorBill(state, state.card_issuer, card, account::kCreditCard, "Card statement " + month));
  }
  if (IsScheduled(day, 20)) {
    const Currency tax = -state.ledger.Balance(account::kSalesTax);
    Bill remittance = VendorBill(state, state.tax_office, tax, account::kSalesTax, "Sales tax " + month);
    remittance.line_reference = "ST-1 " + month;
    pay_vendor(state.tax_office, std::move(remittance));
  }
  if (IsScheduled(day, 25)) {
    const Currency payment = Cents(150000 * scale);
    const Currency interest = PercentOf(-state.ledger.Balance(account::kLoan), 50);
    Bill loan = VendorBill(state, state.lender, payment, account::kLoan, "Loan payment " + month);
    loan.debits = {{account::kLoan, payment - interest}, {account::kInterest, interest}};
    pay_vendor(state.lender, std::move(loan));
  }
  if (IsScheduled(day, 15) || IsMonthEnd(day)) {
    for (const Employee& employee : state.employees) {
      Bill pay;
      pay.payee_id = employee.id;
      pay.payee_name = employee.name;
      pay.amount = employee.net_pay;
      pay.ledger_type = "PR";
      pay.description = "Payroll " + month + " - " + employee.name;
      pay.debits = {{account::kWages, employee.net_pay}};
      PayBill(state, day, std::move(pay));
    }
  }
  for (int64_t i = 0; i < scale; ++i) {
    if (!random.Percent(2)) continue;
    Party& vendor = state.vendors[static_cast<size_t>(state.merchandise_vendors[static_cast<size_t>(
        random.Between(0, static_cast<int64_t>(state.merchandise_vendors.size()) - 1))])];
    const Currency amount = Cents(random.Int(5000, 50000));
    const int trans_no = state.bank.NextTransNo();
    TableRow header(TableId::kCashHeader);
    header[Col(c::kCashHeader, "TransNo")] = trans_no;
    header[Col(c::kCashHeader, "CustomerId")] = vendor.id;
    header[Col(c::kCashHeader, "TransType")] = "VREF";
    header[Col(c::kCashHeader, "CheckNo")] = std::to_string(random.Int(10000, 99999));
    header[Col(c::kCashHeader, "AccountNo")] = account::kCash;
    header[Col(c::kCashHeader, "Amount")] = amount;
    header[Col(c::kCashHeader, "ReceiptDate")] = DateValue(day);
    header[Col(c::kCashHeader, "Address")] = vendor.address.street;
    header[Col(c::kCashHeader, "city")] = vendor.address.city;
    header[Col(c::kCashHeader, "state")] = vendor.address.state;
    header[Col(c::kCashHeader, "Zipcode")] = vendor.address.zip;
    header.Emit(state.sink);
    state.bank.Register(account::kCash, day, "D", state.bank.NextDepositNo(), vendor.name, vendor.id,
                        trans_no, Currency(), amount);
    const Posting postings[] = {{account::kCash, amount}, {account::kVendorRebates, -amount}};
    state.ledger.Post(day, "CR", trans_no, "Refund from " + vendor.name, "VREF", postings);
  }

  // The month-end journal goes on the month's last business day.
  if (IsMonthEnd(day)) {
    const Currency depreciation = Cents(150000 * scale);
    const Posting depreciation_lines[] = {{account::kDepreciation, depreciation},
                                          {account::kDepreciationAccumulated, -depreciation}};
    state.ledger.Post(day, "GL", std::nullopt, "Depreciation " + month, "DEP " + month, depreciation_lines);
    // The count finds a few products short (breakage, theft) and now and then one over; the difference is
    // booked at cost.
    Currency adjustment;
    for (int64_t i = 0; i < 3 * scale; ++i) {
      Item& item = state.products[static_cast<size_t>(
          random.Between(0, static_cast<int64_t>(state.products.size()) - 1))];
      if (!item.is_stocked) continue;
      const int found = std::max(-item.on_hand_halves, random.Int(-8, 3) * 2);
      item.on_hand_halves += found;
      adjustment -= LineAmount(item.cost, found, 0);
    }
    const Posting adjustment_lines[] = {{account::kInventoryAdjustments, adjustment},
                                        {account::kInventory, -adjustment}};
    state.ledger.Post(day, "GL", std::nullopt, "Stock count adjustment " + month, "COUNT " + month,
                      adjustment_lines);
    if (civil.month == 12) {
      // A reclassification whose middle line was reversed to zero: the journal prints neither amount for it.
      const Currency amount = Cents(random.Int(10000, 90000) * scale);
      const Posting lines[] = {{account::kOfficeSupplies, amount},
                               {account::kProfessionalFees, Currency()},
                               {account::kRepairs, -amount}};
      state.ledger.Post(day, "GL", std::nullopt, "Year-end reclassification", "YE " + month, lines);
    }
  }
}

}  // namespace vob::schema::demo
