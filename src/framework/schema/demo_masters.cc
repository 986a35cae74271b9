// The demo company's master data: terms, customers, vendors, staff, products and services. Customers and
// vendors are written last, with the balances the documents left them.
#include <fmt/format.h>

#include "framework/schema/demo_internal.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

struct TermDef {
  const char* code;
  const char* description;
  int net_days;
};
constexpr TermDef kTerms[] = {
    {"NET30", "Net 30 days", 30},          {"NET15", "Net 15 days", 15},   {"NET45", "Net 45 days", 45},
    {"2/10N30", "2% 10 days, net 30", 30}, {"COD", "Cash on delivery", 0}, {"NET60", "Net 60 days", 60},
};
constexpr const char* kCustomerGroups[] = {"Retail", "Contractor", "Wholesale", "Government"};
constexpr const char* kCustomerNotes[] = {
    "Prefers delivery before noon.",
    "Send statements to the accounts payable office.",
    "Tax exemption certificate on file.",
    "Call before shipping back orders.",
};
constexpr const char* kLocationNames[] = {"Warehouse", "Store 2", "Job site", "North office", "Yard"};
constexpr const char* kTerritories[] = {"North", "South", "East", "West", "Central"};

struct ItemNoun {
  const char* noun;
  const char* measure;
};
constexpr const char* kDepartments[] = {"HW", "EL", "PL", "GD"};
constexpr ItemNoun kDepartmentNouns[4][6] = {
    {{"Hinge", "PR"},
     {"Bracket", "EA"},
     {"Lag Bolt", "BOX"},
     {"Anchor", "BOX"},
     {"Latch", "EA"},
     {"Hasp", "EA"}},
    {{"Outlet", "EA"},
     {"Switch", "EA"},
     {"Breaker", "EA"},
     {"Wire 12/2", "FT"},
     {"Conduit", "FT"},
     {"Lamp", "EA"}},
    {{"Valve", "EA"}, {"Elbow", "EA"}, {"Coupling", "EA"}, {"Trap", "EA"}, {"Faucet", "EA"}, {"Pipe", "FT"}},
    {{"Mulch", "BAG"},
     {"Seed", "LB"},
     {"Hose", "EA"},
     {"Fertilizer", "BAG"},
     {"Edging", "FT"},
     {"Planter", "EA"}},
};
constexpr const char* kSizes[] = {"1/2 in", "3/4 in", "1 in", "2 in", "Small", "Medium", "Large", "Pro"};
constexpr ItemNoun kServiceNames[] = {
    {"Installation labor", "HR"}, {"Delivery charge", "EA"},     {"Design consultation", "HR"},
    {"Equipment rental", "DAY"},  {"Repair service call", "EA"}, {"Site survey", "EA"},
    {"Extended warranty", "EA"},  {"Training session", "HR"},    {"Disposal fee", "EA"},
    {"Rush handling", "EA"},
};

std::optional<std::string> Maybe(DemoRandom& random, int percent, std::string text) {
  if (random.Percent(percent)) return text;
  return std::nullopt;
}

void FillContact(DemoRandom& random, Party& party) {
  party.contact = Maybe(random, 85, PersonName(random));
  party.address = RandomAddress(random);
  party.phone1 = Maybe(random, 95, PhoneNumber(random, party.address.area_code));
  party.phone2 = Maybe(random, 30, PhoneNumber(random, party.address.area_code));
  const int fax = random.Int(0, 99);
  if (fax < 40) party.fax = PhoneNumber(random, party.address.area_code);
  if (fax >= 40 && fax < 70) party.fax = "";  // blank, not Null
}

void AddLocations(DemoRandom& random, Party& party, int percent) {
  if (!random.Percent(percent)) return;
  const int count = random.Int(1, 3);
  for (int i = 0; i < count; ++i) {
    Location location;
    location.location = kLocationNames[i + random.Int(0, 2)];
    location.name = party.name;
    location.contact = Maybe(random, 60, PersonName(random));
    location.address = RandomAddress(random);
    location.phone1 = Maybe(random, 90, PhoneNumber(random, location.address.area_code));
    location.phone2 = Maybe(random, 20, PhoneNumber(random, location.address.area_code));
    location.fax = Maybe(random, 30, PhoneNumber(random, location.address.area_code));
    party.locations.push_back(std::move(location));
  }
}

void PickTerms(DemoRandom& random, Party& party, bool is_vendor) {
  const int draw = random.Int(0, 99);
  const int term = is_vendor ? (draw < 60   ? 0
                                : draw < 85 ? 3
                                : draw < 95 ? 2
                                            : -1)
                             : (draw < 45   ? 0
                                : draw < 60 ? 1
                                : draw < 70 ? 3
                                : draw < 80 ? 2
                                : draw < 85 ? 5
                                : draw < 90 ? 4
                                            : -1);
  if (term < 0) return;  // no terms: documents without a due date
  party.term_code = kTerms[term].code;
  party.net_days = kTerms[term].net_days;
  party.has_discount_terms = term == 3;
}

void WriteLocations(RowSink& sink, TableId id, const Party& party) {
  // CustomersAlt and VendorsAlt share their layout but for the owner's column name.
  TableRow row(id);
  for (const Location& location : party.locations) {
    row[0] = party.id;
    row[Col(c::kCustomersAlt, "Location")] = location.location;
    row[Col(c::kCustomersAlt, "Name")] = location.name;
    row[Col(c::kCustomersAlt, "Address1")] = location.address.street;
    row[Col(c::kCustomersAlt, "Address2")] = TextOrNull(location.address.street2);
    row[Col(c::kCustomersAlt, "City")] = location.address.city;
    row[Col(c::kCustomersAlt, "State")] = location.address.state;
    row[Col(c::kCustomersAlt, "zipcode")] = location.address.zip;
    row[Col(c::kCustomersAlt, "Phone1")] = TextOrNull(location.phone1);
    row[Col(c::kCustomersAlt, "Phone2")] = TextOrNull(location.phone2);
    row[Col(c::kCustomersAlt, "Fax")] = TextOrNull(location.fax);
    row[Col(c::kCustomersAlt, "Contact")] = TextOrNull(location.contact);
    row.Emit(sink);
  }
}
static_assert(Col(c::kCustomersAlt, "Contact") == Col(c::kVendorsAlt, "Contact"));

Party NewVendor(DemoRandom& random, std::string name, int sequence, std::string group) {
  Party vendor;
  vendor.name = std::move(name);
  vendor.id = IdFromName(vendor.name, sequence);
  vendor.bill_group = std::move(group);
  FillContact(random, vendor);
  PickTerms(random, vendor, true);
  vendor.credit_limit = Cents(random.Int(1, 10) * 500000);
  vendor.sales_person = random.Pick(kTerritories);
  if (vendor.bill_group != "Inventory") vendor.tax_id = fmt::format("36-{:07}", random.Int(0, 9999999));
  return vendor;
}

}  // namespace

PostalAddress CompanyAddress() {
  return {"1200 Commerce Drive", "Suite 400", "Springfield", "IL", "627011234", "217"};
}

void WriteBillTo(TableRow& row, int name_column, const Party& party) {
  row[name_column] = party.name;
  row[name_column + 1] = TextOrNull(party.contact);
  row[name_column + 2] = party.address.street;
  row[name_column + 3] = TextOrNull(party.address.street2);
  row[name_column + 4] = party.address.city;
  row[name_column + 5] = party.address.state;
  row[name_column + 6] = party.address.zip;
}
static_assert(Col(c::kARInvoiceHeader, "zipcode") == Col(c::kARInvoiceHeader, "Name") + 6);
static_assert(Col(c::kSalesOrderHeader, "zipcode") == Col(c::kSalesOrderHeader, "Name") + 6);
static_assert(Col(c::kAPInvoiceHeader, "zipcode") == Col(c::kAPInvoiceHeader, "Name") + 6);
static_assert(Col(c::kPOHeader, "zipcode") == Col(c::kPOHeader, "Name") + 6);

void WriteShipTo(TableRow& row, int name_column, const std::string& name, const PostalAddress& address) {
  row[name_column] = name;
  row[name_column + 1] = address.street;
  row[name_column + 2] = TextOrNull(address.street2);
  row[name_column + 3] = address.city;
  row[name_column + 4] = address.state;
  row[name_column + 5] = address.zip;
}
static_assert(Col(c::kARInvoiceHeader, "Shiptozipcode") == Col(c::kARInvoiceHeader, "ShiptoName") + 5);
static_assert(Col(c::kSalesOrderHeader, "Shiptozipcode") == Col(c::kSalesOrderHeader, "ShiptoName") + 5);
static_assert(Col(c::kAPInvoiceHeader, "Shiptozipcode") == Col(c::kAPInvoiceHeader, "ShiptoName") + 5);

void CreateParties(DemoState& state) {
  DemoRandom& random = state.random;
  TableRow terms(TableId::kTerms);
  for (const TermDef& term : kTerms) {
    terms[Col(c::kTerms, "TermCode")] = term.code;
    terms[Col(c::kTerms, "Description")] = term.description;
    terms[Col(c::kTerms, "NetDays")] = term.net_days;
    terms.Emit(state.sink);
  }
  for (int i = 0; i < 4; ++i) state.sales_people.push_back(PersonName(random));
  for (int i = 0; i < 3; ++i) state.buyers.push_back(PersonName(random));

  const int customer_count = 40 * state.scale;
  for (int i = 0; i < customer_count; ++i) {
    Party customer;
    customer.name = random.Percent(15) ? PersonName(random) : CompanyName(random);
    customer.id = IdFromName(customer.name, i + 1);
    customer.bill_group = random.Pick(kCustomerGroups);
    FillContact(random, customer);
    PickTerms(random, customer, false);
    customer.is_tax_exempt = customer.bill_group == "Government" || random.Percent(10);
    customer.credit_limit = Cents(random.Pick({2500, 5000, 10000, 25000, 50000}) * int64_t{100});
    customer.sales_person = state.sales_people[static_cast<size_t>(random.Int(0, 3))];
    if (random.Percent(50)) customer.tax_id = fmt::format("41-{:07}", random.Int(0, 9999999));
    if (random.Percent(20)) customer.notes = random.Pick(kCustomerNotes);
    AddLocations(random, customer, 30);
    WriteLocations(state.sink, TableId::kCustomersAlt, customer);
    state.customers.push_back(std::move(customer));
  }

  // The payees of the monthly bills come first, then the suppliers.
  const std::pair<const char*, const char*> kPayees[] = {
      {"Commerce Park Properties LLC", "Occupancy"},
      {"Central Prairie Power Co.", "Utilities"},
      {"Prairie Telecom", "Utilities"},
      {"Heartland Mutual Insurance", "Insurance"},
      {"First Springfield Bank", "Finance"},
      {"Illinois Department of Revenue", "Government"},
      {"Commerce Bank Card Services", "Finance"},
  };
  int* const payee_slots[] = {&state.landlord, &state.power_company, &state.phone_company, &state.insurer,
                              &state.lender,   &state.tax_office,    &state.card_issuer};
  for (size_t i = 0; i < std::size(kPayees); ++i) {
    *payee_slots[i] = static_cast<int>(state.vendors.size());
    state.vendors.push_back(
        NewVendor(random, kPayees[i].first, static_cast<int>(state.vendors.size()) + 1, kPayees[i].second));
  }
  for (int i = 0; i < 18 * state.scale; ++i) {
    const bool is_merchandise = i % 3 != 2;
    const std::string name = CompanyName(random);
    Party vendor = NewVendor(random, name, static_cast<int>(state.vendors.size()) + 1,
                             is_merchandise ? "Inventory" : random.Pick({"Supplies", "Services"}));
    AddLocations(random, vendor, 20);
    (is_merchandise ? state.merchandise_vendors : state.expense_vendors)
        .push_back(static_cast<int>(state.vendors.size()));
    state.vendors.push_back(std::move(vendor));
  }
  for (const Party& vendor : state.vendors) WriteLocations(state.sink, TableId::kVendorsAlt, vendor);

  for (int i = 0; i < 8 * state.scale; ++i) {
    Employee employee;
    employee.id = fmt::format("EMP{:04}", i + 1);
    employee.name = PersonName(random);
    employee.net_pay = Cents(random.Int(90000, 160000));
    state.employees.push_back(std::move(employee));
  }
}

void CreateItems(DemoState& state) {
  DemoRandom& random = state.random;
  for (int i = 0; i < 60 * state.scale; ++i) {
    Item item;
    const int department = random.Int(0, 3);
    const ItemNoun& noun = kDepartmentNouns[department][random.Int(0, 5)];
    const int missing_department = random.Int(0, 99);
    if (missing_department >= 8) item.department = kDepartments[department];
    if (missing_department < 3) item.department = "";
    item.code = fmt::format("{}-{:04}", kDepartments[department], 1001 + i);
    item.description = Adjective(random) + " " + noun.noun;
    item.description += std::string(" ") + random.Pick(kSizes);
    item.measure = noun.measure;
    item.cost = Cents(random.Int(75, 3000) * 2);
    item.price = PercentOf(item.cost, random.Int(16000, 22000));
    const int taxable = random.Int(0, 99);
    if (taxable < 95) item.taxable = taxable < 80;
    item.vendor = state.merchandise_vendors[static_cast<size_t>(
        random.Between(0, static_cast<int64_t>(state.merchandise_vendors.size()) - 1))];
    state.vendors[static_cast<size_t>(item.vendor)].items.push_back(i);

    // Most products are stocked; the rest are bought for the order and charged to cost of goods at once,
    // so they carry neither stock nor a minimum.
    item.is_stocked = random.Int(0, 99) < 88;
    const int minimum = random.Int(5, 60);
    if (item.is_stocked) {
      item.minimum_halves = minimum * 2;
      const int stock = random.Int(0, 99);
      // A quarter of the products open below their minimum, a few exactly at it.
      item.on_hand_halves = stock < 25   ? random.Int(0, minimum * 2 - 1)
                            : stock < 28 ? minimum * 2
                                         : random.Int(minimum * 2, 1600);
    }
    TableRow& row = state.product_rows.emplace_back(TableId::kProducts);
    row[Col(c::kProducts, "Code")] = item.code;
    row[Col(c::kProducts, "Description")] = item.description;
    row[Col(c::kProducts, "SalesMeasure")] = item.measure;
    std::string bin = fmt::format("{}-{:02}", "ABCD"[department], random.Int(1, 24));
    bin += "-" + std::to_string(random.Int(1, 5));
    row[Col(c::kProducts, "Bin")] = bin;
    row[Col(c::kProducts, "DepartmentNo")] = TextOrNull(item.department);
    row[Col(c::kProducts, "VendorID")] = state.vendors[static_cast<size_t>(item.vendor)].id;
    row[Col(c::kProducts, "SalesPrice")] = item.price;
    if (item.taxable) row[Col(c::kProducts, "Taxable")] = *item.taxable;
    row[Col(c::kProducts, "AverageCost")] = item.cost;
    row[Col(c::kProducts, "StandardCost")] = PercentOf(item.cost, random.Int(9500, 10500));
    row[Col(c::kProducts, "LastPurchasePrice")] = PercentOf(item.cost, random.Int(9200, 10800));
    row[Col(c::kProducts, "MinimumQuantity")] = item.minimum_halves / 2.0;
    if (random.Percent(95))
      row[Col(c::kProducts, "ReorderQuantity")] = static_cast<double>(random.Int(10, 100));
    row[Col(c::kProducts, "InventoryTracking")] = item.is_stocked ? "Normal" : "None";
    state.products.push_back(std::move(item));
  }

  TableRow service_row(TableId::kServices);
  for (int i = 0; i < 15 * state.scale; ++i) {
    const ItemNoun& name = kServiceNames[static_cast<size_t>(i) % std::size(kServiceNames)];
    Item item;
    item.is_product = false;
    item.code = fmt::format("SV-{:04}", 1001 + i);
    item.description = i < 10 ? std::string(name.noun) : fmt::format("{}, level {}", name.noun, i / 10 + 1);
    item.measure = name.measure;
    if (random.Percent(70)) item.department = "SV";
    item.price = Cents(random.Int(25, 150) * 100);
    if (random.Percent(90)) item.taxable = random.Percent(20);
    service_row[Col(c::kServices, "Code")] = item.code;
    service_row[Col(c::kServices, "Description")] = item.description;
    service_row[Col(c::kServices, "SalesMeasure")] = item.measure;
    if (item.taxable) service_row[Col(c::kServices, "Taxable")] = *item.taxable;
    service_row[Col(c::kServices, "SalesPrice")] = item.price;
    service_row.Emit(state.sink);
    state.services.push_back(std::move(item));
  }
}

namespace {

Currency StockValue(const DemoState& state) {
  Currency value;
  for (const Item& item : state.products) value += LineAmount(item.cost, item.on_hand_halves, 0);
  return value;
}

}  // namespace

void PostOpeningBalances(DemoState& state) {
  using namespace account;
  const int64_t scale = state.scale;
  Posting lines[] = {
      {kCash, Cents(8500000 * scale)},
      {kPayrollCash, Cents(500000 * scale)},
      {kPettyCash, Cents(50000)},
      {kInventory, StockValue(state)},
      {kPrepaid, Cents(600000 * scale)},
      {kEquipment, Cents(8000000 * scale)},
      {kVehicles, Cents(4500000 * scale)},
      {kFurniture, Cents(1500000 * scale)},
      {kDepreciationAccumulated, Cents(-4000000 * scale)},
      {kLoan, Cents(-9000000 * scale)},
      {kCommonStock, Cents(-5000000 * scale)},
      {kRetainedEarnings, Currency()},
  };
  Currency sum;
  for (const Posting& line : lines) sum += line.amount;
  lines[std::size(lines) - 1].amount = -sum;
  state.ledger.Post(state.first_day, "GL", std::nullopt, "Opening balances", "OPEN", lines);
  for (std::string_view bank_account : {kCash, kPayrollCash}) {
    state.bank.Register(bank_account, state.first_day, "D", state.bank.NextDepositNo(), "Opening balance", "",
                        std::nullopt, Currency(), state.ledger.Balance(bank_account));
  }
}

void WriteItems(DemoState& state) {
  for (size_t i = 0; i < state.products.size(); ++i) {
    const Item& item = state.products[i];
    TableRow& row = state.product_rows[i];
    row[Col(c::kProducts, "OnHandFractions")] = item.on_hand_halves / 2.0;
    // Products short of their minimum are on order.
    row[Col(c::kProducts, "OnOrderFractions")] =
        item.on_hand_halves < item.minimum_halves ? static_cast<double>(state.random.Int(10, 50)) : 0.0;
    row.Emit(state.sink);
  }
}

void WriteParties(DemoState& state) {
  TableRow row(TableId::kCustomers);
  for (const Party& customer : state.customers) {
    row[Col(c::kCustomers, "CustomerID")] = customer.id;
    row[Col(c::kCustomers, "Name")] = customer.name;
    row[Col(c::kCustomers, "Contact")] = TextOrNull(customer.contact);
    row[Col(c::kCustomers, "Address1")] = customer.address.street;
    row[Col(c::kCustomers, "Address2")] = TextOrNull(customer.address.street2);
    row[Col(c::kCustomers, "City")] = customer.address.city;
    row[Col(c::kCustomers, "State")] = customer.address.state;
    row[Col(c::kCustomers, "ZipCode")] = customer.address.zip;
    row[Col(c::kCustomers, "Phone1")] = TextOrNull(customer.phone1);
    row[Col(c::kCustomers, "Phone2")] = TextOrNull(customer.phone2);
    row[Col(c::kCustomers, "Fax")] = TextOrNull(customer.fax);
    row[Col(c::kCustomers, "BillGroup")] = customer.bill_group;
    row[Col(c::kCustomers, "AccountType")] = customer.term_code == "COD" ? "Cash" : "Credit";
    row[Col(c::kCustomers, "TaxID")] = TextOrNull(customer.tax_id);
    row[Col(c::kCustomers, "TaxNo")] = customer.is_tax_exempt ? "EXEMPT" : "STD";
    row[Col(c::kCustomers, "SalesPerson")] = customer.sales_person;
    row[Col(c::kCustomers, "CreditLimit")] = customer.credit_limit;
    row[Col(c::kCustomers, "CurrentBalance")] = customer.balance;
    row[Col(c::kCustomers, "CurrentCredit")] = customer.credit_limit - customer.balance;
    if (customer.last_sale_date) {
      row[Col(c::kCustomers, "LastSalesAmount")] = customer.last_sale_amount;
      row[Col(c::kCustomers, "LastSaleDate")] = DateValue(*customer.last_sale_date);
    }
    if (customer.last_payment_date) {
      row[Col(c::kCustomers, "LastPaymentAmount")] = customer.last_payment_amount;
      row[Col(c::kCustomers, "LastPaymentDate")] = DateValue(*customer.last_payment_date);
    }
    row[Col(c::kCustomers, "Notes")] = TextOrNull(customer.notes);
    row.Emit(state.sink);
  }

  TableRow vendor_row(TableId::kVendors);
  for (const Party& vendor : state.vendors) {
    vendor_row[Col(c::kVendors, "VendorID")] = vendor.id;
    vendor_row[Col(c::kVendors, "Name")] = vendor.name;
    vendor_row[Col(c::kVendors, "Contact")] = TextOrNull(vendor.contact);
    vendor_row[Col(c::kVendors, "Address1")] = vendor.address.street;
    vendor_row[Col(c::kVendors, "Address2")] = TextOrNull(vendor.address.street2);
    vendor_row[Col(c::kVendors, "City")] = vendor.address.city;
    vendor_row[Col(c::kVendors, "State")] = vendor.address.state;
    vendor_row[Col(c::kVendors, "ZipCode")] = vendor.address.zip;
    vendor_row[Col(c::kVendors, "Phone1")] = TextOrNull(vendor.phone1);
    vendor_row[Col(c::kVendors, "Phone2")] = TextOrNull(vendor.phone2);
    vendor_row[Col(c::kVendors, "Fax")] = TextOrNull(vendor.fax);
    vendor_row[Col(c::kVendors, "BillGroup")] = vendor.bill_group;
    vendor_row[Col(c::kVendors, "AccountType")] = "Credit";
    vendor_row[Col(c::kVendors, "TaxID")] = TextOrNull(vendor.tax_id);
    vendor_row[Col(c::kVendors, "TaxNo")] = "STD";
    vendor_row[Col(c::kVendors, "Territory")] = vendor.sales_person;
    vendor_row[Col(c::kVendors, "CreditLimit")] = vendor.credit_limit;
    vendor_row[Col(c::kVendors, "CurrentBalance")] = vendor.balance;
    vendor_row[Col(c::kVendors, "CurrentCredit")] = vendor.credit_limit - vendor.balance;
    if (vendor.last_sale_date) {
      vendor_row[Col(c::kVendors, "LastPurchaseAmount")] = vendor.last_sale_amount;
      vendor_row[Col(c::kVendors, "LastPurchaseDate")] = DateValue(*vendor.last_sale_date);
    }
    if (vendor.last_payment_date) {
      vendor_row[Col(c::kVendors, "LastPaymentAmount")] = vendor.last_payment_amount;
      vendor_row[Col(c::kVendors, "LastPaymentDate")] = DateValue(*vendor.last_payment_date);
    }
    vendor_row.Emit(state.sink);
  }
}

}  // namespace vob::schema::demo
