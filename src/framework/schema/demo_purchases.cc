// The payables side of the demo company, one business day at a time: merchandise receipts, purchases (some
// paid by card at entry), returns and credits, vendor checks ("Pay", one "PMT" row per bill paid) and
// purchase orders. Bills paid at entry carry PaidAmount; payment rows carry none, so no payment is counted
// twice.
#include <algorithm>
#include <functional>
#include <queue>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"
#include "platform/vb/date.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

constexpr const char* kShipVia[] = {"Vendor truck", "UPS Ground", "Freight", "Pick up"};
constexpr const char* kFob[] = {"Origin", "Destination"};

struct ExpenseKind {
  const char* description;
  std::string_view account;
};
constexpr ExpenseKind kExpenseKinds[] = {
    {"Printer paper and toner", account::kOfficeSupplies}, {"Forklift maintenance", account::kRepairs},
    {"Newspaper advertisement", account::kAdvertising},    {"Legal services", account::kProfessionalFees},
    {"Shipping supplies", account::kOfficeSupplies},       {"Radio spot", account::kAdvertising},
    {"Accounting services", account::kProfessionalFees},   {"Dock door repair", account::kRepairs},
};

struct OpenBill {
  int invoice_no = 0;
  std::string number, vendor_number, type;
  int vendor = 0;
  double date = 0;
  std::optional<double> due;
  Currency total, outstanding;
  int item = -1;  // the first line's product, for a later return
  int received_halves = 0;
};

}  // namespace

struct PurchaseActivity::Impl {
  explicit Impl(DemoState& demo) : state(demo) {}

  void WriteMerchandiseReceipt(double day);
  void WritePurchase(double day);
  void WriteReturn(double day, bool is_refunded);
  void WriteCredit(double day);
  void WritePayment(double day, int vendor, const std::vector<int>& bill_indices);
  void WriteOrder(double day);
  void WriteHeader(int invoice_no, const std::string& number, const std::string& vendor_number,
                   const std::string& type, const Party& vendor, double day, std::optional<double> due,
                   Currency subtotal, Currency tax, Currency paid, Currency net, std::string_view payables);
  void QueuePayment(OpenBill bill, const Party& vendor);
  OpenBill* PickBill(double day, bool must_be_open);
  int PickVendor(const std::vector<int>& among) {
    return among[static_cast<size_t>(state.random.Between(0, static_cast<int64_t>(among.size()) - 1))];
  }

  DemoState& state;
  std::vector<OpenBill> bills;
  std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> payments;
  TableRow header{TableId::kAPInvoiceHeader}, detail{TableId::kAPInvoiceDetail};
  TableRow cash_header{TableId::kCashHeader}, cash_detail{TableId::kCashDetail};
  TableRow order_header{TableId::kPOHeader}, order_detail{TableId::kPODetail};
};

PurchaseActivity::PurchaseActivity(DemoState& state) : impl_(std::make_unique<Impl>(state)) {}
PurchaseActivity::~PurchaseActivity() = default;

void PurchaseActivity::RunDay(double day) {
  Impl& impl = *impl_;
  DemoRandom& random = impl.state.random;
  if (!IsBusinessDay(day)) return;
  const int scale = impl.state.scale;
  const int receipts = random.Int(0, 2 * scale);
  for (int i = 0; i < receipts; ++i) impl.WriteMerchandiseReceipt(day);
  for (int i = 0; i < scale; ++i) {
    if (random.Percent(25)) impl.WritePurchase(day);
    if (random.Percent(4)) impl.WriteReturn(day, false);
    if (random.Percent(2)) impl.WriteReturn(day, true);
    if (random.Percent(3)) impl.WriteCredit(day);
    if (day > impl.state.generation_date - 150 && random.Percent(40)) impl.WriteOrder(day);
  }
  // Bills are paid in one check run a week, on Thursdays, one check per vendor.
  if (vb::Weekday(day) != 5) return;
  std::map<int, std::vector<int>> due_by_vendor;
  while (!impl.payments.empty() && impl.payments.top().first <= day) {
    const int index = impl.payments.top().second;
    impl.payments.pop();
    if (impl.bills[static_cast<size_t>(index)].outstanding > Currency()) {
      due_by_vendor[impl.bills[static_cast<size_t>(index)].vendor].push_back(index);
    }
  }
  for (const auto& [vendor, indices] : due_by_vendor) impl.WritePayment(day, vendor, indices);
}

void PurchaseActivity::Impl::WriteHeader(int invoice_no, const std::string& number,
                                         const std::string& vendor_number, const std::string& type,
                                         const Party& vendor, double day, std::optional<double> due,
                                         Currency subtotal, Currency tax, Currency paid, Currency net,
                                         std::string_view payables) {
  DemoRandom& random = state.random;
  header[Col(c::kAPInvoiceHeader, "InvoiceNo")] = invoice_no;
  header[Col(c::kAPInvoiceHeader, "InvoiceNumber")] = number;
  header[Col(c::kAPInvoiceHeader, "VendInvNo")] = vendor_number;
  header[Col(c::kAPInvoiceHeader, "InvoiceType")] = type;
  header[Col(c::kAPInvoiceHeader, "VendorID")] = vendor.id;
  header[Col(c::kAPInvoiceHeader, "InvoiceDate")] = DateValue(day);
  header[Col(c::kAPInvoiceHeader, "DueDate")] = OptionalDate(due);
  header[Col(c::kAPInvoiceHeader, "SubTotal")] = subtotal;
  header[Col(c::kAPInvoiceHeader, "Tax")] = tax;
  header[Col(c::kAPInvoiceHeader, "Total")] = subtotal + tax;
  header[Col(c::kAPInvoiceHeader, "PaidAmount")] = paid;
  header[Col(c::kAPInvoiceHeader, "NetAmount")] = net;
  header[Col(c::kAPInvoiceHeader, "PayablesAccount")] = payables;
  header[Col(c::kAPInvoiceHeader, "TermCode")] = TextOrNull(vendor.term_code);
  header[Col(c::kAPInvoiceHeader, "FOB")] = random.Pick(kFob);
  header[Col(c::kAPInvoiceHeader, "Via")] = random.Pick(kShipVia);
  header[Col(c::kAPInvoiceHeader, "OurRef")] = state.buyers[static_cast<size_t>(random.Int(0, 2))];
  WriteBillTo(header, Col(c::kAPInvoiceHeader, "Name"), vendor);
  WriteShipTo(header, Col(c::kAPInvoiceHeader, "ShiptoName"), kCompanyName, CompanyAddress());
}

void PurchaseActivity::Impl::QueuePayment(OpenBill bill, const Party& vendor) {
  DemoRandom& random = state.random;
  const double base = bill.due.value_or(bill.date + 30);
  const int fate = random.Int(0, 99);
  double pay_day = fate < 3                                 ? state.generation_date + 1
                   : vendor.has_discount_terms && fate < 70 ? bill.date + random.Int(5, 10)
                   : fate < 85                              ? base - random.Int(0, 5)
                                                            : base + random.Int(5, 100);
  // Some bills that fell due in the last three months are still in dispute, so every aging bucket holds some.
  if (bill.due && *bill.due < state.generation_date && *bill.due >= state.generation_date - 90 &&
      random.Percent(20)) {
    pay_day = state.generation_date + 1;
  }
  pay_day = std::max(pay_day, bill.date + 1);
  bills.push_back(std::move(bill));
  if (pay_day <= state.generation_date) payments.emplace(pay_day, static_cast<int>(bills.size()) - 1);
}

void PurchaseActivity::Impl::WriteMerchandiseReceipt(double day) {
  DemoRandom& random = state.random;
  const int vendor_index = PickVendor(state.merchandise_vendors);
  Party& vendor = state.vendors[static_cast<size_t>(vendor_index)];
  if (vendor.items.empty()) return;
  const int invoice_no = state.next_ap_invoice_no++;
  const int count = random.Percent(1) ? random.Int(25, 35) : random.Int(2, 6);
  OpenBill bill;
  Currency subtotal;
  // Stocked goods come in at cost; a line discount is income, so the stock keeps its cost.
  Currency stock_value, discounts, charged;
  // Most receipts bring one product that had run short of its minimum, when the vendor has one; the others
  // leave it short a while longer, so the reorder alert has products to list.
  const bool restock = random.Percent(60);
  for (int i = 0; i < count; ++i) {
    int item_index =
        vendor.items[static_cast<size_t>(random.Between(0, static_cast<int64_t>(vendor.items.size()) - 1))];
    for (size_t k = 0; i == 0 && restock && k < vendor.items.size(); ++k) {
      const Item& product = state.products[static_cast<size_t>(vendor.items[k])];
      if (product.on_hand_halves < product.minimum_halves) {
        item_index = vendor.items[k];
        break;
      }
    }
    Item& item = state.products[static_cast<size_t>(item_index)];
    const int ordered = random.Int(2, 22) * 2 + std::max(0, item.minimum_halves - item.on_hand_halves);
    const int received = random.Percent(6) ? ordered - random.Int(1, ordered / 4) * 2 : ordered;
    const int discount = random.Percent(90) ? 0 : random.Pick({2, 5});
    const Currency amount = LineAmount(item.cost, received, discount);
    subtotal += amount;
    if (item.is_stocked) {
      item.on_hand_halves += received;
      stock_value += LineAmount(item.cost, received, 0);
      discounts += LineAmount(item.cost, received, 0) - amount;
    } else {
      charged += amount;
    }
    if (bill.item < 0) {
      bill.item = item_index;
      bill.received_halves = received;
    }
    detail[Col(c::kAPInvoiceDetail, "InvoiceNo")] = invoice_no;
    detail[Col(c::kAPInvoiceDetail, "ItemCode")] = item.code;
    detail[Col(c::kAPInvoiceDetail, "Description")] = item.description;
    detail[Col(c::kAPInvoiceDetail, "ItemType")] = "P";
    detail[Col(c::kAPInvoiceDetail, "DepartmentNo")] = TextOrNull(item.department);
    detail[Col(c::kAPInvoiceDetail, "Ordered")] = ordered / 2.0;
    detail[Col(c::kAPInvoiceDetail, "Received")] = received / 2.0;
    detail[Col(c::kAPInvoiceDetail, "Backordered")] = (ordered - received) / 2.0;
    detail[Col(c::kAPInvoiceDetail, "SalesPrice")] = item.cost;
    detail[Col(c::kAPInvoiceDetail, "SplitAmount")] = amount;
    detail[Col(c::kAPInvoiceDetail, "Discount")] = static_cast<double>(discount);
    detail.Emit(state.sink);
  }
  std::optional<double> due;
  if (vendor.term_code && !random.Percent(2)) due = day + vendor.net_days;
  const std::string number = fmt::format("MR{}", invoice_no);
  const std::string vendor_number = fmt::format("{}-{:05}", vendor.id.substr(0, 3), random.Int(1, 99999));
  WriteHeader(invoice_no, number, vendor_number, "MERRC", vendor, day, due, subtotal, Currency(), Currency(),
              subtotal, account::kPayables);
  header[Col(c::kAPInvoiceHeader, "OriginalInvoiceNo")] = number;
  header[Col(c::kAPInvoiceHeader, "originalinvoicetype")] = "MERRC";
  header.Emit(state.sink);
  std::vector<Posting> postings;
  for (const Posting& posting : {Posting{account::kInventory, stock_value},
                                 {account::kCostOfGoods, charged},
                                 {account::kPurchaseDiscounts, -discounts},
                                 {account::kPayables, -subtotal}}) {
    if (posting.amount != Currency()) postings.push_back(posting);
  }
  state.ledger.Post(day, "AP", invoice_no, fmt::format("Receipt {} - {}", vendor_number, vendor.name), number,
                    postings);
  vendor.balance += subtotal;
  vendor.last_sale_date = day;
  vendor.last_sale_amount = subtotal;

  bill.invoice_no = invoice_no;
  bill.number = number;
  bill.vendor_number = vendor_number;
  bill.type = "MERRC";
  bill.vendor = vendor_index;
  bill.date = day;
  bill.due = due;
  bill.total = subtotal;
  bill.outstanding = subtotal;
  QueuePayment(std::move(bill), vendor);
}

void PurchaseActivity::Impl::WritePurchase(double day) {
  DemoRandom& random = state.random;
  const int vendor_index = PickVendor(state.expense_vendors);
  Party& vendor = state.vendors[static_cast<size_t>(vendor_index)];
  const ExpenseKind& kind = random.Pick(kExpenseKinds);
  const int invoice_no = state.next_ap_invoice_no++;
  const int count = random.Int(1, 4);
  Currency subtotal;
  for (int i = 0; i < count; ++i) {
    const int quantity = random.Int(1, 4);
    const Currency price = Cents(random.Int(2000, 60000));
    const Currency amount = LineAmount(price, quantity * 2, 0);
    subtotal += amount;
    detail[Col(c::kAPInvoiceDetail, "InvoiceNo")] = invoice_no;
    detail[Col(c::kAPInvoiceDetail, "Description")] = kind.description;
    detail[Col(c::kAPInvoiceDetail, "ItemType")] = "S";
    detail[Col(c::kAPInvoiceDetail, "Ordered")] = static_cast<double>(quantity);
    detail[Col(c::kAPInvoiceDetail, "Received")] = static_cast<double>(quantity);
    detail[Col(c::kAPInvoiceDetail, "Backordered")] = 0.0;
    detail[Col(c::kAPInvoiceDetail, "SalesPrice")] = price;
    detail[Col(c::kAPInvoiceDetail, "SplitAmount")] = amount;
    detail[Col(c::kAPInvoiceDetail, "Discount")] = 0.0;
    detail.Emit(state.sink);
  }
  const Currency tax = PercentOf(subtotal, 725);
  const Currency total = subtotal + tax;
  const bool is_card = random.Percent(60);
  std::optional<double> due;
  if (!is_card && vendor.term_code) due = day + vendor.net_days;
  const std::string number = fmt::format("PU{}", invoice_no);
  const std::string vendor_number = fmt::format("{}-{:05}", vendor.id.substr(0, 3), random.Int(1, 99999));
  const std::string_view payables = is_card ? account::kCreditCard : account::kPayables;
  WriteHeader(invoice_no, number, vendor_number, "PUR", vendor, day, due, subtotal, tax,
              is_card ? total : Currency(), is_card ? Currency() : total, payables);
  header[Col(c::kAPInvoiceHeader, "OriginalInvoiceNo")] = number;
  header[Col(c::kAPInvoiceHeader, "originalinvoicetype")] = "PUR";
  if (is_card) header[Col(c::kAPInvoiceHeader, "PaidRef")] = "Visa 4411";
  header.Emit(state.sink);
  const Posting postings[] = {{kind.account, total}, {payables, -total}};
  state.ledger.Post(day, "AP", invoice_no, fmt::format("{} - {}", kind.description, vendor.name), number,
                    postings);
  vendor.last_sale_date = day;
  vendor.last_sale_amount = total;
  if (is_card) return;
  vendor.balance += total;
  OpenBill bill;
  bill.invoice_no = invoice_no;
  bill.number = number;
  bill.vendor_number = vendor_number;
  bill.type = "PUR";
  bill.vendor = vendor_index;
  bill.date = day;
  bill.due = due;
  bill.total = total;
  bill.outstanding = total;
  QueuePayment(std::move(bill), vendor);
}

OpenBill* PurchaseActivity::Impl::PickBill(double day, bool must_be_open) {
  const int64_t size = static_cast<int64_t>(bills.size());
  if (size == 0) return nullptr;
  for (int attempt = 0; attempt < 5; ++attempt) {
    OpenBill& bill =
        bills[static_cast<size_t>(state.random.Between(std::max<int64_t>(0, size - 150), size - 1))];
    if (bill.date < day && bill.item >= 0 && (!must_be_open || bill.outstanding > Currency())) return &bill;
  }
  return nullptr;
}

void PurchaseActivity::Impl::WriteReturn(double day, bool is_refunded) {
  OpenBill* bill = PickBill(day, !is_refunded);
  if (bill == nullptr) return;
  Item& item = state.products[static_cast<size_t>(bill->item)];
  const int returned = state.random.Int(1, std::max(1, bill->received_halves / 4)) * 2;
  const Currency amount = LineAmount(item.cost, returned, 0);
  if (!is_refunded && amount > bill->outstanding) return;
  if (item.is_stocked && returned > item.on_hand_halves) return;  // it has been sold meanwhile
  if (item.is_stocked) item.on_hand_halves -= returned;
  Party& vendor = state.vendors[static_cast<size_t>(bill->vendor)];
  const int invoice_no = state.next_ap_invoice_no++;
  detail[Col(c::kAPInvoiceDetail, "InvoiceNo")] = invoice_no;
  detail[Col(c::kAPInvoiceDetail, "ItemCode")] = item.code;
  detail[Col(c::kAPInvoiceDetail, "Description")] = item.description;
  detail[Col(c::kAPInvoiceDetail, "ItemType")] = "P";
  detail[Col(c::kAPInvoiceDetail, "DepartmentNo")] = TextOrNull(item.department);
  detail[Col(c::kAPInvoiceDetail, "Ordered")] = returned / 2.0;
  detail[Col(c::kAPInvoiceDetail, "Received")] = returned / 2.0;
  detail[Col(c::kAPInvoiceDetail, "Backordered")] = 0.0;
  detail[Col(c::kAPInvoiceDetail, "SalesPrice")] = item.cost;
  detail[Col(c::kAPInvoiceDetail, "SplitAmount")] = amount;
  detail[Col(c::kAPInvoiceDetail, "Discount")] = 0.0;
  detail.Emit(state.sink);
  // A refunded return comes back on the company card at once; an unrefunded one lowers the open bill.
  const std::string type = is_refunded ? "PRET" : "RET";
  const std::string number = fmt::format("{}{}", is_refunded ? "RP" : "RT", invoice_no);
  const std::string_view payables = is_refunded ? account::kCreditCard : account::kPayables;
  WriteHeader(invoice_no, number, bill->vendor_number, type, vendor, day, bill->due, amount, Currency(),
              is_refunded ? amount : Currency(), is_refunded ? Currency() : -amount, payables);
  header[Col(c::kAPInvoiceHeader, "OriginalInvoiceNo")] = bill->number;
  header[Col(c::kAPInvoiceHeader, "originalinvoicetype")] = bill->type;
  if (is_refunded) header[Col(c::kAPInvoiceHeader, "PaidRef")] = "Card refund";
  header.Emit(state.sink);
  const Posting postings[] = {{payables, amount},
                              {item.is_stocked ? account::kInventory : account::kCostOfGoods, -amount}};
  state.ledger.Post(day, "AP", invoice_no, fmt::format("Return {} - {}", number, vendor.name), number,
                    postings);
  if (is_refunded) return;
  bill->outstanding -= amount;
  vendor.balance -= amount;
}

void PurchaseActivity::Impl::WriteCredit(double day) {
  OpenBill* bill = PickBill(day, true);
  if (bill == nullptr) return;
  const Currency amount = PercentOf(bill->total, state.random.Int(300, 1200));
  if (amount <= Currency() || amount > bill->outstanding) return;
  const bool is_refunded = state.random.Percent(60);
  Party& vendor = state.vendors[static_cast<size_t>(bill->vendor)];
  const int invoice_no = state.next_ap_invoice_no++;
  detail[Col(c::kAPInvoiceDetail, "InvoiceNo")] = invoice_no;
  detail[Col(c::kAPInvoiceDetail, "Description")] = "Allowance on invoice " + bill->vendor_number;
  detail[Col(c::kAPInvoiceDetail, "Ordered")] = 1.0;
  detail[Col(c::kAPInvoiceDetail, "Received")] = 1.0;
  detail[Col(c::kAPInvoiceDetail, "Backordered")] = 0.0;
  detail[Col(c::kAPInvoiceDetail, "SalesPrice")] = amount;
  detail[Col(c::kAPInvoiceDetail, "SplitAmount")] = amount;
  detail[Col(c::kAPInvoiceDetail, "Discount")] = 0.0;
  detail.Emit(state.sink);
  const std::string number = fmt::format("DM{}", invoice_no);
  const std::string_view payables = is_refunded ? account::kCreditCard : account::kPayables;
  WriteHeader(invoice_no, number, bill->vendor_number, "PURCR", vendor, day, bill->due, amount, Currency(),
              is_refunded ? amount : Currency(), is_refunded ? Currency() : -amount, payables);
  header[Col(c::kAPInvoiceHeader, "OriginalInvoiceNo")] = bill->number;
  header[Col(c::kAPInvoiceHeader, "originalinvoicetype")] = bill->type;
  header.Emit(state.sink);
  // An allowance lowers what we owe, not what the goods cost us.
  const Posting postings[] = {{payables, amount}, {account::kVendorRebates, -amount}};
  state.ledger.Post(day, "AP", invoice_no, fmt::format("Credit {} - {}", number, vendor.name), number,
                    postings);
  if (is_refunded) return;
  bill->outstanding -= amount;
  vendor.balance -= amount;
}

void PurchaseActivity::Impl::WritePayment(double day, int vendor_index,
                                          const std::vector<int>& bill_indices) {
  Party& vendor = state.vendors[static_cast<size_t>(vendor_index)];
  const int trans_no = state.bank.NextTransNo();
  const std::string check_no = state.bank.NextCheckNo(account::kCash);
  Currency amount, settled, discounts;
  for (int index : bill_indices) {
    OpenBill& bill = bills[static_cast<size_t>(index)];
    const Currency discount =
        vendor.has_discount_terms && day <= bill.date + 10 ? PercentOf(bill.outstanding, 200) : Currency();
    const Currency applied = bill.outstanding - discount;
    cash_detail[Col(c::kCashDetail, "TransNo")] = trans_no;
    cash_detail[Col(c::kCashDetail, "VendInvno")] = bill.vendor_number;
    cash_detail[Col(c::kCashDetail, "InvoiceDate")] = DateValue(bill.date);
    cash_detail[Col(c::kCashDetail, "InvoiceAmount")] = bill.total;
    cash_detail[Col(c::kCashDetail, "DiscountTaken")] = discount;
    cash_detail[Col(c::kCashDetail, "Applied")] = applied;
    cash_detail.Emit(state.sink);

    const int invoice_no = state.next_ap_invoice_no++;
    WriteHeader(invoice_no, check_no, bill.vendor_number, "PMT", vendor, day, bill.due, Currency(),
                Currency(), Currency(), -bill.outstanding, account::kPayables);
    header[Col(c::kAPInvoiceHeader, "Total")] = bill.outstanding;
    header[Col(c::kAPInvoiceHeader, "OriginalInvoiceNo")] = bill.number;
    header[Col(c::kAPInvoiceHeader, "originalinvoicetype")] = bill.type;
    header[Col(c::kAPInvoiceHeader, "PaidRef")] = "Check " + check_no;
    header.Emit(state.sink);
    amount += applied;
    settled += bill.outstanding;
    discounts += discount;
    bill.outstanding = Currency();
  }
  cash_header[Col(c::kCashHeader, "TransNo")] = trans_no;
  cash_header[Col(c::kCashHeader, "CustomerId")] = vendor.id;
  cash_header[Col(c::kCashHeader, "TransType")] = "Pay";
  cash_header[Col(c::kCashHeader, "CheckNo")] = check_no;
  cash_header[Col(c::kCashHeader, "AccountNo")] = account::kCash;
  cash_header[Col(c::kCashHeader, "Amount")] = amount;
  cash_header[Col(c::kCashHeader, "ReceiptDate")] = DateValue(day);
  cash_header[Col(c::kCashHeader, "Address")] = vendor.address.street;
  cash_header[Col(c::kCashHeader, "city")] = vendor.address.city;
  cash_header[Col(c::kCashHeader, "state")] = vendor.address.state;
  cash_header[Col(c::kCashHeader, "Zipcode")] = vendor.address.zip;
  cash_header.Emit(state.sink);
  state.bank.Register(account::kCash, day, "W", check_no, vendor.name, vendor.id, trans_no, amount,
                      Currency());
  std::vector<Posting> postings = {{account::kPayables, settled}, {account::kCash, -amount}};
  if (discounts != Currency()) postings.push_back({account::kPurchaseDiscounts, -discounts});
  state.ledger.Post(day, "CD", trans_no, "Payment to " + vendor.name, check_no, postings);
  vendor.balance -= settled;
  vendor.last_payment_date = day;
  vendor.last_payment_amount = amount;
}

void PurchaseActivity::Impl::WriteOrder(double day) {
  DemoRandom& random = state.random;
  const Party& vendor = state.vendors[static_cast<size_t>(PickVendor(state.merchandise_vendors))];
  if (vendor.items.empty()) return;
  const int po_no = state.next_po_no++;
  const int count = random.Int(1, 8);
  Currency subtotal;
  for (int i = 0; i < count; ++i) {
    const Item& item = state.products[static_cast<size_t>(
        vendor.items[static_cast<size_t>(random.Between(0, static_cast<int64_t>(vendor.items.size()) - 1))])];
    const int ordered = random.Int(5, 60) * 2;
    const int discount = random.Percent(80) ? 0 : random.Pick({2, 5});
    const Currency amount = LineAmount(item.cost, ordered, discount);
    subtotal += amount;
    order_detail[Col(c::kPODetail, "PONo")] = po_no;
    order_detail[Col(c::kPODetail, "ItemCode")] = item.code;
    order_detail[Col(c::kPODetail, "Description")] = item.description;
    order_detail[Col(c::kPODetail, "Ordered")] = ordered / 2.0;
    order_detail[Col(c::kPODetail, "Cost")] = item.cost;
    order_detail[Col(c::kPODetail, "Discount")] = static_cast<double>(discount);
    order_detail[Col(c::kPODetail, "SplitAmount")] = amount;
    order_detail.Emit(state.sink);
  }
  order_header[Col(c::kPOHeader, "PONo")] = po_no;
  order_header[Col(c::kPOHeader, "PONumber")] = fmt::format("PO{:05}", po_no);
  order_header[Col(c::kPOHeader, "OrderDate")] = DateValue(day);
  order_header[Col(c::kPOHeader, "VendorID")] = vendor.id;
  order_header[Col(c::kPOHeader, "CorrespondTo")] = state.buyers[static_cast<size_t>(random.Int(0, 2))];
  order_header[Col(c::kPOHeader, "FOB")] = random.Pick(kFob);
  order_header[Col(c::kPOHeader, "Via")] = random.Pick(kShipVia);
  order_header[Col(c::kPOHeader, "OurRef")] = fmt::format("REQ-{}", random.Int(100, 999));
  order_header[Col(c::kPOHeader, "SubTotal")] = subtotal;
  order_header[Col(c::kPOHeader, "Tax")] = Currency();
  order_header[Col(c::kPOHeader, "Total")] = subtotal;
  // A spending limit rounded up to the next 500 dollars on most orders.
  if (random.Percent(80))
    order_header[Col(c::kPOHeader, "NottoExceed")] = Cents((subtotal.raw() / 100 / 50000 + 1) * 50000);
  WriteBillTo(order_header, Col(c::kPOHeader, "Name"), vendor);
  order_header.Emit(state.sink);
}

}  // namespace vob::schema::demo
