// The receivables side of the demo company, one business day at a time: invoices and cash sales, returns and
// credits against open invoices, customer receipts (a "PMT" row per invoice paid) and sales orders.
// Each invoice draws its payment day when it is written; invoices whose day lies past the generation date
// stay open, which is what fills the aging buckets around that date.
#include <algorithm>
#include <functional>
#include <queue>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

constexpr const char* kShipVia[] = {"UPS Ground", "FedEx", "Our truck", "Will call", "Freight"};
constexpr const char* kFob[] = {"Origin", "Destination"};
constexpr const char* kInvoiceNotes[] = {
    "Deliver to the loading dock at the rear.",
    "Back-ordered items ship when received.",
    "Signed for by the site foreman.",
};

struct OpenInvoice {
  int invoice_no = 0;
  std::string number, type;
  int customer = 0;
  double date = 0;
  std::optional<double> due;
  Currency total, outstanding;
  // The first product line, for a later return.
  int item = -1;
  int shipped_halves = 0;
  int discount = 0;
  bool is_taxable = false;
};

struct SaleLine {
  const Item* item;
  int ordered_halves, shipped_halves, discount;
  Currency amount;
  bool is_taxable;
};

}  // namespace

struct SalesActivity::Impl {
  explicit Impl(DemoState& demo) : state(demo) {}

  void WriteSale(double day, bool is_cash_sale);
  void WriteReturn(double day);
  void WriteCredit(double day);
  void WriteReceipt(double day, int customer, const std::vector<int>& invoice_indices);
  void WriteOrder(double day);
  // An order takes no stock; an invoice ships what is on hand and back-orders the rest, a cash sale sells
  // only what is on hand.
  enum class Stock { kUntouched, kBackOrder, kOnHandOnly };
  std::vector<SaleLine> DrawLines(const Party& customer, Stock stock);
  void WriteHeader(int invoice_no, const std::string& number, const std::string& type, const Party& customer,
                   double day, std::optional<double> due, Currency subtotal, Currency tax, Currency paid,
                   Currency net);
  OpenInvoice* PickOpenInvoice(double day);

  DemoState& state;
  std::vector<OpenInvoice> invoices;
  std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> payments;
  TableRow header{TableId::kARInvoiceHeader}, detail{TableId::kARInvoiceDetail};
  TableRow cash_header{TableId::kCashHeader}, cash_detail{TableId::kCashDetail};
  TableRow order_header{TableId::kSalesOrderHeader}, order_detail{TableId::kSalesOrderDetail};
};

SalesActivity::SalesActivity(DemoState& state) : impl_(std::make_unique<Impl>(state)) {}
SalesActivity::~SalesActivity() = default;

void SalesActivity::RunDay(double day) {
  Impl& impl = *impl_;
  DemoRandom& random = impl.state.random;
  if (!IsBusinessDay(day)) return;
  const int scale = impl.state.scale;
  const int invoices = random.Int(2 * scale, 6 * scale);
  for (int i = 0; i < invoices; ++i) impl.WriteSale(day, false);
  const int cash_sales = random.Int(0, scale);
  for (int i = 0; i < cash_sales; ++i) impl.WriteSale(day, true);
  for (int i = 0; i < scale; ++i) {
    if (random.Percent(8)) impl.WriteReturn(day);
    if (random.Percent(6)) impl.WriteCredit(day);
  }
  if (day > impl.state.generation_date - 120) {
    const int orders = random.Int(0, scale);
    for (int i = 0; i < orders; ++i) impl.WriteOrder(day);
  }
  // Receipts of the invoices whose payment day has come, one per customer.
  std::map<int, std::vector<int>> due_by_customer;
  while (!impl.payments.empty() && impl.payments.top().first <= day) {
    const int index = impl.payments.top().second;
    impl.payments.pop();
    if (impl.invoices[static_cast<size_t>(index)].outstanding > Currency()) {
      due_by_customer[impl.invoices[static_cast<size_t>(index)].customer].push_back(index);
    }
  }
  for (const auto& [customer, indices] : due_by_customer) impl.WriteReceipt(day, customer, indices);
}

std::vector<SaleLine> SalesActivity::Impl::DrawLines(const Party& customer, Stock stock) {
  DemoRandom& random = state.random;
  const int count = random.Percent(1) ? random.Int(25, 40) : random.Int(1, 6);
  std::vector<SaleLine> lines;
  for (int i = 0; i < count; ++i) {
    const bool is_product = random.Percent(80);
    std::vector<Item>& items = is_product ? state.products : state.services;
    Item& item = items[static_cast<size_t>(random.Between(0, static_cast<int64_t>(items.size()) - 1))];
    const bool is_bulk = item.measure == "FT" || item.measure == "LB";
    int ordered = !is_product ? random.Int(1, 16) : is_bulk ? random.Int(2, 40) : random.Int(1, 8) * 2;
    int shipped = ordered;
    if (is_product && stock == Stock::kBackOrder && ordered >= 2 && random.Percent(8))
      shipped -= random.Int(1, ordered / 2) * 2;
    if (item.is_stocked && stock != Stock::kUntouched) {
      shipped = std::min(shipped, item.on_hand_halves);
      if (stock == Stock::kOnHandOnly) ordered = shipped;
      if (ordered == 0) continue;
      item.on_hand_halves -= shipped;
    }
    const int discount_draw = random.Int(0, 99);
    const int discount = discount_draw < 85 ? 0 : discount_draw < 95 ? 5 : 10;
    lines.push_back({&item, ordered, shipped, discount, LineAmount(item.price, shipped, discount),
                     item.taxable.value_or(false) && !customer.is_tax_exempt});
  }
  return lines;
}

void SalesActivity::Impl::WriteHeader(int invoice_no, const std::string& number, const std::string& type,
                                      const Party& customer, double day, std::optional<double> due,
                                      Currency subtotal, Currency tax, Currency paid, Currency net) {
  DemoRandom& random = state.random;
  header[Col(c::kARInvoiceHeader, "InvoiceNo")] = invoice_no;
  header[Col(c::kARInvoiceHeader, "InvoiceNumber")] = number;
  header[Col(c::kARInvoiceHeader, "InvoiceType")] = type;
  header[Col(c::kARInvoiceHeader, "CustomerID")] = customer.id;
  header[Col(c::kARInvoiceHeader, "InvoiceDate")] = DateValue(day);
  header[Col(c::kARInvoiceHeader, "DueDate")] = OptionalDate(due);
  header[Col(c::kARInvoiceHeader, "SubTotal")] = subtotal;
  header[Col(c::kARInvoiceHeader, "Tax")] = tax;
  header[Col(c::kARInvoiceHeader, "Total")] = subtotal + tax;
  header[Col(c::kARInvoiceHeader, "PaidAmount")] = paid;
  header[Col(c::kARInvoiceHeader, "NetAmount")] = net;
  if (random.Percent(60))
    header[Col(c::kARInvoiceHeader, "CustomerPONumber")] = fmt::format("PO-{}", random.Int(1000, 99999));
  header[Col(c::kARInvoiceHeader, "FOB")] = random.Pick(kFob);
  header[Col(c::kARInvoiceHeader, "Via")] = random.Pick(kShipVia);
  header[Col(c::kARInvoiceHeader, "OurRef")] = customer.sales_person;
  if (random.Percent(10)) header[Col(c::kARInvoiceHeader, "Notes")] = random.Pick(kInvoiceNotes);
  header[Col(c::kARInvoiceHeader, "TermCode")] = TextOrNull(customer.term_code);
  if (random.Percent(80)) header[Col(c::kARInvoiceHeader, "MessageNo")] = random.Int(1, 5);
  WriteBillTo(header, Col(c::kARInvoiceHeader, "Name"), customer);
  const int ship_to = random.Int(0, 99);
  const int ship_to_name = Col(c::kARInvoiceHeader, "ShiptoName");
  if (ship_to < 40 && !customer.locations.empty()) {
    const Location& location = customer.locations[static_cast<size_t>(ship_to) % customer.locations.size()];
    WriteShipTo(header, ship_to_name, location.name + ", " + location.location, location.address);
  } else if (ship_to < 90) {
    WriteShipTo(header, ship_to_name, customer.name, customer.address);
  }
}

void SalesActivity::Impl::WriteSale(double day, bool is_cash_sale) {
  DemoRandom& random = state.random;
  const int customer_index =
      static_cast<int>(random.Between(0, static_cast<int64_t>(state.customers.size()) - 1));
  Party& customer = state.customers[static_cast<size_t>(customer_index)];
  const std::vector<SaleLine> lines =
      DrawLines(customer, is_cash_sale ? Stock::kOnHandOnly : Stock::kBackOrder);
  if (lines.empty()) return;  // nothing on hand of what the customer asked for
  const int invoice_no = state.next_ar_invoice_no++;

  OpenInvoice open;
  Currency product_sales, service_sales, taxable, cost;
  for (const SaleLine& line : lines) {
    const Item& item = *line.item;
    (item.is_product ? product_sales : service_sales) += line.amount;
    if (line.is_taxable) taxable += line.amount;
    if (item.is_stocked) cost += LineAmount(item.cost, line.shipped_halves, 0);
    if (item.is_product && open.item < 0 && line.shipped_halves > 0) {
      open.item = static_cast<int>(&item - state.products.data());
      open.shipped_halves = line.shipped_halves;
      open.discount = line.discount;
      open.is_taxable = line.is_taxable;
    }
    detail[Col(c::kARInvoiceDetail, "InvoiceNo")] = invoice_no;
    detail[Col(c::kARInvoiceDetail, "ItemCode")] = item.code;
    detail[Col(c::kARInvoiceDetail, "Description")] = item.description;
    detail[Col(c::kARInvoiceDetail, "ItemType")] = item.is_product ? "P" : "S";
    detail[Col(c::kARInvoiceDetail, "DepartmentNo")] = TextOrNull(item.department);
    detail[Col(c::kARInvoiceDetail, "Ordered")] = line.ordered_halves / 2.0;
    detail[Col(c::kARInvoiceDetail, "Shipped")] = line.shipped_halves / 2.0;
    detail[Col(c::kARInvoiceDetail, "Backordered")] = (line.ordered_halves - line.shipped_halves) / 2.0;
    detail[Col(c::kARInvoiceDetail, "SalesPrice")] = item.price;
    detail[Col(c::kARInvoiceDetail, "SplitAmount")] = line.amount;
    detail[Col(c::kARInvoiceDetail, "Discount")] = static_cast<double>(line.discount);
    detail.Emit(state.sink);
  }
  const Currency subtotal = product_sales + service_sales;
  const Currency tax = PercentOf(taxable, 725);
  const Currency total = subtotal + tax;
  std::optional<double> due;
  if (!is_cash_sale && customer.term_code && !random.Percent(2)) due = day + customer.net_days;
  const std::string number = std::to_string(invoice_no);
  const std::string type = is_cash_sale ? "SLS" : "INV";
  const Currency paid = is_cash_sale ? total : Currency();
  WriteHeader(invoice_no, number, type, customer, day, due, subtotal, tax, paid, total - paid);
  header[Col(c::kARInvoiceHeader, "OriginalInvoiceNo")] = number;
  header[Col(c::kARInvoiceHeader, "originalinvoicetype")] = type;
  if (is_cash_sale) {
    header[Col(c::kARInvoiceHeader, "PaidRef")] = random.Percent(50)
                                                      ? std::string(random.Pick({"Cash", "Visa"}))
                                                      : fmt::format("Check {}", random.Int(1000, 9999));
  }
  header.Emit(state.sink);

  using namespace account;
  const Posting postings[] = {
      {is_cash_sale ? kCash : kReceivables, total},
      {kProductSales, -product_sales},
      {kServiceRevenue, -service_sales},
      {kSalesTax, -tax},
      {kCostOfGoods, cost},
      {kInventory, -cost},
  };
  std::vector<Posting> nonzero;
  for (const Posting& posting : postings) {
    if (posting.amount != Currency()) nonzero.push_back(posting);
  }
  state.ledger.Post(day, "AR", invoice_no,
                    fmt::format("{} {} - {}", is_cash_sale ? "Cash sale" : "Invoice", number, customer.name),
                    number, nonzero);
  if (is_cash_sale) {
    state.bank.Register(kCash, day, "D", state.bank.NextDepositNo(), customer.name, customer.id, std::nullopt,
                        Currency(), total);
  }
  customer.balance += total - paid;
  customer.last_sale_date = day;
  customer.last_sale_amount = total;
  if (is_cash_sale || total <= Currency()) return;

  open.invoice_no = invoice_no;
  open.number = number;
  open.type = type;
  open.customer = customer_index;
  open.date = day;
  open.due = due;
  open.total = total;
  open.outstanding = total;
  // Most customers pay around the due date, some early, some late, a few never.
  const double base = due.value_or(day + 20);
  const int fate = random.Int(0, 99);
  double pay_day = fate < 3    ? state.generation_date + 1
                   : fate < 13 ? base - random.Int(5, 25)
                   : fate < 80 ? base + random.Int(-5, 12)
                               : base + random.Int(13, 100);
  // Some invoices that fell due in the last three months are still unpaid, so every aging bucket holds some.
  if (due && *due < state.generation_date && *due >= state.generation_date - 90 && random.Percent(10)) {
    pay_day = state.generation_date + 1;
  }
  pay_day = std::max(pay_day, day + 1);
  invoices.push_back(std::move(open));
  if (pay_day <= state.generation_date) payments.emplace(pay_day, static_cast<int>(invoices.size()) - 1);
}

OpenInvoice* SalesActivity::Impl::PickOpenInvoice(double day) {
  const int64_t size = static_cast<int64_t>(invoices.size());
  if (size == 0) return nullptr;
  for (int attempt = 0; attempt < 5; ++attempt) {
    OpenInvoice& invoice =
        invoices[static_cast<size_t>(state.random.Between(std::max<int64_t>(0, size - 200), size - 1))];
    if (invoice.outstanding > Currency() && invoice.date < day) return &invoice;
  }
  return nullptr;
}

void SalesActivity::Impl::WriteReturn(double day) {
  OpenInvoice* invoice = PickOpenInvoice(day);
  if (invoice == nullptr || invoice->item < 0) return;
  const Item& item = state.products[static_cast<size_t>(invoice->item)];
  const int returned = state.random.Int(1, std::max(1, invoice->shipped_halves / 2)) * 2;
  if (returned > invoice->shipped_halves) return;
  const Currency amount = LineAmount(item.price, returned, invoice->discount);
  const Currency tax = invoice->is_taxable ? PercentOf(amount, 725) : Currency();
  const Currency total = amount + tax;
  if (total > invoice->outstanding) return;
  Party& customer = state.customers[static_cast<size_t>(invoice->customer)];
  const int invoice_no = state.next_ar_invoice_no++;
  detail[Col(c::kARInvoiceDetail, "InvoiceNo")] = invoice_no;
  detail[Col(c::kARInvoiceDetail, "ItemCode")] = item.code;
  detail[Col(c::kARInvoiceDetail, "Description")] = item.description;
  detail[Col(c::kARInvoiceDetail, "ItemType")] = "P";
  detail[Col(c::kARInvoiceDetail, "DepartmentNo")] = TextOrNull(item.department);
  detail[Col(c::kARInvoiceDetail, "Ordered")] = returned / 2.0;
  detail[Col(c::kARInvoiceDetail, "Shipped")] = returned / 2.0;
  detail[Col(c::kARInvoiceDetail, "Backordered")] = 0.0;
  detail[Col(c::kARInvoiceDetail, "SalesPrice")] = item.price;
  detail[Col(c::kARInvoiceDetail, "SplitAmount")] = amount;
  detail[Col(c::kARInvoiceDetail, "Discount")] = static_cast<double>(invoice->discount);
  detail.Emit(state.sink);
  const std::string number = fmt::format("RT{}", invoice_no);
  WriteHeader(invoice_no, number, "RET", customer, day, invoice->due, amount, tax, Currency(), -total);
  header[Col(c::kARInvoiceHeader, "OriginalInvoiceNo")] = invoice->number;
  header[Col(c::kARInvoiceHeader, "originalinvoicetype")] = invoice->type;
  header.Emit(state.sink);

  using namespace account;
  std::vector<Posting> postings = {{kReturnsAllowances, amount}, {kReceivables, -total}};
  if (item.is_stocked) {
    // Returned goods go back on the shelf at cost.
    const Currency cost = LineAmount(item.cost, returned, 0);
    postings.push_back({kInventory, cost});
    postings.push_back({kCostOfGoods, -cost});
    state.products[static_cast<size_t>(invoice->item)].on_hand_halves += returned;
  }
  if (tax != Currency()) postings.push_back({kSalesTax, tax});
  state.ledger.Post(day, "AR", invoice_no, fmt::format("Return {} - {}", number, customer.name), number,
                    postings);
  invoice->outstanding -= total;
  customer.balance -= total;
}

void SalesActivity::Impl::WriteCredit(double day) {
  OpenInvoice* invoice = PickOpenInvoice(day);
  if (invoice == nullptr) return;
  const Currency amount = PercentOf(invoice->total, state.random.Int(300, 1500));
  if (amount <= Currency() || amount > invoice->outstanding) return;
  Party& customer = state.customers[static_cast<size_t>(invoice->customer)];
  const int invoice_no = state.next_ar_invoice_no++;
  detail[Col(c::kARInvoiceDetail, "InvoiceNo")] = invoice_no;
  detail[Col(c::kARInvoiceDetail, "Description")] = "Price adjustment on invoice " + invoice->number;
  detail[Col(c::kARInvoiceDetail, "Ordered")] = 1.0;
  detail[Col(c::kARInvoiceDetail, "Shipped")] = 1.0;
  detail[Col(c::kARInvoiceDetail, "Backordered")] = 0.0;
  detail[Col(c::kARInvoiceDetail, "SalesPrice")] = amount;
  detail[Col(c::kARInvoiceDetail, "SplitAmount")] = amount;
  detail[Col(c::kARInvoiceDetail, "Discount")] = 0.0;
  detail.Emit(state.sink);
  const std::string number = fmt::format("CM{}", invoice_no);
  WriteHeader(invoice_no, number, "SLC", customer, day, invoice->due, amount, Currency(), Currency(),
              -amount);
  header[Col(c::kARInvoiceHeader, "OriginalInvoiceNo")] = invoice->number;
  header[Col(c::kARInvoiceHeader, "originalinvoicetype")] = invoice->type;
  header.Emit(state.sink);
  const Posting postings[] = {{account::kReturnsAllowances, amount}, {account::kReceivables, -amount}};
  state.ledger.Post(day, "AR", invoice_no, fmt::format("Credit {} - {}", number, customer.name), number,
                    postings);
  invoice->outstanding -= amount;
  customer.balance -= amount;
}

void SalesActivity::Impl::WriteReceipt(double day, int customer_index,
                                       const std::vector<int>& invoice_indices) {
  Party& customer = state.customers[static_cast<size_t>(customer_index)];
  const int trans_no = state.bank.NextTransNo();
  const std::string check_no = std::to_string(state.random.Int(1000, 99999));
  const std::string number = fmt::format("R{:06}", trans_no);
  Currency amount;
  for (int index : invoice_indices) {
    OpenInvoice& invoice = invoices[static_cast<size_t>(index)];
    const Currency applied = invoice.outstanding;
    amount += applied;
    cash_detail[Col(c::kCashDetail, "TransNo")] = trans_no;
    cash_detail[Col(c::kCashDetail, "VendInvno")] = invoice.number;
    cash_detail[Col(c::kCashDetail, "InvoiceDate")] = DateValue(invoice.date);
    cash_detail[Col(c::kCashDetail, "InvoiceAmount")] = invoice.total;
    cash_detail[Col(c::kCashDetail, "DiscountTaken")] = Currency();
    cash_detail[Col(c::kCashDetail, "Applied")] = applied;
    cash_detail.Emit(state.sink);

    const int invoice_no = state.next_ar_invoice_no++;
    header[Col(c::kARInvoiceHeader, "InvoiceNo")] = invoice_no;
    header[Col(c::kARInvoiceHeader, "InvoiceNumber")] = number;
    header[Col(c::kARInvoiceHeader, "InvoiceType")] = "PMT";
    header[Col(c::kARInvoiceHeader, "CustomerID")] = customer.id;
    header[Col(c::kARInvoiceHeader, "InvoiceDate")] = DateValue(day);
    // A payment carries the due date of its invoice, so both age into the same bucket and cancel there.
    header[Col(c::kARInvoiceHeader, "DueDate")] = OptionalDate(invoice.due);
    header[Col(c::kARInvoiceHeader, "OriginalInvoiceNo")] = invoice.number;
    header[Col(c::kARInvoiceHeader, "originalinvoicetype")] = invoice.type;
    header[Col(c::kARInvoiceHeader, "SubTotal")] = Currency();
    header[Col(c::kARInvoiceHeader, "Tax")] = Currency();
    header[Col(c::kARInvoiceHeader, "Total")] = applied;
    header[Col(c::kARInvoiceHeader, "PaidAmount")] = applied;
    header[Col(c::kARInvoiceHeader, "NetAmount")] = -applied;
    header[Col(c::kARInvoiceHeader, "OurRef")] = customer.sales_person;
    header[Col(c::kARInvoiceHeader, "PaidRef")] = "Check " + check_no;
    WriteBillTo(header, Col(c::kARInvoiceHeader, "Name"), customer);
    header.Emit(state.sink);
    invoice.outstanding = Currency();
  }
  cash_header[Col(c::kCashHeader, "TransNo")] = trans_no;
  cash_header[Col(c::kCashHeader, "CustomerId")] = customer.id;
  cash_header[Col(c::kCashHeader, "TransType")] = "Rec";
  cash_header[Col(c::kCashHeader, "CheckNo")] = check_no;
  cash_header[Col(c::kCashHeader, "AccountNo")] = account::kCash;
  cash_header[Col(c::kCashHeader, "Amount")] = amount;
  cash_header[Col(c::kCashHeader, "ReceiptDate")] = DateValue(day);
  cash_header[Col(c::kCashHeader, "Address")] = customer.address.street;
  cash_header[Col(c::kCashHeader, "city")] = customer.address.city;
  cash_header[Col(c::kCashHeader, "state")] = customer.address.state;
  cash_header[Col(c::kCashHeader, "Zipcode")] = customer.address.zip;
  cash_header.Emit(state.sink);
  state.bank.Register(account::kCash, day, "D", state.bank.NextDepositNo(), customer.name, customer.id,
                      trans_no, Currency(), amount);
  const Posting postings[] = {{account::kCash, amount}, {account::kReceivables, -amount}};
  state.ledger.Post(day, "CR", trans_no, "Receipt from " + customer.name, check_no, postings);
  customer.balance -= amount;
  customer.last_payment_date = day;
  customer.last_payment_amount = amount;
}

void SalesActivity::Impl::WriteOrder(double day) {
  DemoRandom& random = state.random;
  const Party& customer = state.customers[static_cast<size_t>(
      random.Between(0, static_cast<int64_t>(state.customers.size()) - 1))];
  const int order_no = state.next_order_no++;
  const std::vector<SaleLine> lines = DrawLines(customer, Stock::kUntouched);
  Currency subtotal, taxable;
  for (const SaleLine& line : lines) {
    subtotal += line.amount;
    if (line.is_taxable) taxable += line.amount;
    order_detail[Col(c::kSalesOrderDetail, "OrderNo")] = order_no;
    order_detail[Col(c::kSalesOrderDetail, "ItemCode")] = line.item->code;
    order_detail[Col(c::kSalesOrderDetail, "Ordered")] = line.ordered_halves / 2.0;
    order_detail[Col(c::kSalesOrderDetail, "Description")] = line.item->description;
    order_detail[Col(c::kSalesOrderDetail, "SalesPrice")] = line.item->price;
    order_detail[Col(c::kSalesOrderDetail, "SplitAmount")] =
        LineAmount(line.item->price, line.ordered_halves, line.discount);
    order_detail[Col(c::kSalesOrderDetail, "Discount")] = static_cast<double>(line.discount);
    order_detail.Emit(state.sink);
  }
  const Currency tax = PercentOf(taxable, 725);
  order_header[Col(c::kSalesOrderHeader, "OrderNo")] = order_no;
  order_header[Col(c::kSalesOrderHeader, "OrderNumber")] = fmt::format("SO{:05}", order_no);
  order_header[Col(c::kSalesOrderHeader, "OrderDate")] = DateValue(day);
  order_header[Col(c::kSalesOrderHeader, "CustomerID")] = customer.id;
  if (random.Percent(60))
    order_header[Col(c::kSalesOrderHeader, "CustomerPONumber")] =
        fmt::format("PO-{}", random.Int(1000, 99999));
  order_header[Col(c::kSalesOrderHeader, "FOB")] = random.Pick(kFob);
  order_header[Col(c::kSalesOrderHeader, "Via")] = random.Pick(kShipVia);
  order_header[Col(c::kSalesOrderHeader, "OurRef")] = customer.sales_person;
  if (random.Percent(10)) order_header[Col(c::kSalesOrderHeader, "Notes")] = random.Pick(kInvoiceNotes);
  order_header[Col(c::kSalesOrderHeader, "TermCode")] = TextOrNull(customer.term_code);
  order_header[Col(c::kSalesOrderHeader, "SubTotal")] = subtotal;
  order_header[Col(c::kSalesOrderHeader, "Tax")] = tax;
  order_header[Col(c::kSalesOrderHeader, "Total")] = subtotal + tax;
  WriteBillTo(order_header, Col(c::kSalesOrderHeader, "Name"), customer);
  const Location* location = customer.locations.empty() ? nullptr : &customer.locations.front();
  WriteShipTo(order_header, Col(c::kSalesOrderHeader, "ShiptoName"),
              location ? location->name : customer.name, location ? location->address : customer.address);
  order_header.Emit(state.sink);
}

}  // namespace vob::schema::demo
