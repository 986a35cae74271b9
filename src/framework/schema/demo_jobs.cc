// The demo company's jobs and the charges posted to them: revenue above zero, costs at or below zero.
// The first job has no charges and one job has no Closed flag, the cases the job reports treat specially.
#include <algorithm>

#include <fmt/format.h>

#include "framework/schema/demo_internal.h"
#include "platform/vb/date.h"

namespace vob::schema::demo {
namespace {

namespace c = columns;

constexpr const char* kJobKinds[] = {
    "Office remodel", "Warehouse lighting", "Clinic plumbing", "Retail fit-out",
    "Garden center",  "School renovation",  "Loading dock",    "Parking lot lighting",
};
constexpr const char* kJobNotes[] = {
    "Customer supplies the fixtures.",
    "Work after hours only.",
    "Permit filed with the city.",
    "Retainage of 10% until final inspection.",
};

struct ChargeKind {
  const char* ledger_type;
  const char* reference_prefix;
  const char* line_description;
  int sign;
};
constexpr ChargeKind kChargeKinds[] = {
    {"AR", "INV", "Progress billing", 1},  {"AP", "MR", "Materials", -1},     {"PR", "PAY", "Crew labor", -1},
    {"AP", "PUR", "Equipment rental", -1}, {"GL", "JE", "Cost transfer", -1},
};

}  // namespace

void WriteJobs(DemoState& state) {
  DemoRandom& random = state.random;
  TableRow header(TableId::kJobCostHeader), detail(TableId::kJobCostDetail);
  const int job_count = 12 * state.scale;
  for (int j = 0; j < job_count; ++j) {
    const Party& customer = state.customers[static_cast<size_t>(
        random.Between(0, static_cast<int64_t>(state.customers.size()) - 1))];
    const double start =
        state.first_day + random.Int(0, static_cast<int>(state.generation_date - state.first_day) - 5);
    const vb::CivilDateTime civil = vb::SplitSerial(start);
    const bool is_old = start < state.generation_date - 240;
    const bool is_closed = is_old && random.Percent(85);
    std::optional<double> end;
    if (is_closed) end = std::min(start + random.Int(20, 200), state.generation_date);
    if (!is_closed && random.Percent(50)) end = start + random.Int(30, 300);
    const Currency revenue = Cents(random.Int(50, 1200) * int64_t{10000});
    const std::string contact = PersonName(random);
    std::string email = contact;
    std::replace(email.begin(), email.end(), ' ', '.');
    std::transform(email.begin(), email.end(), email.begin(),
                   [](unsigned char ch) { return std::tolower(ch); });

    const std::string job_id = fmt::format("J{}-{:03}", civil.year, j + 1);
    header[Col(c::kJobCostHeader, "JobID")] = job_id;
    std::string job_name = Adjective(random);
    job_name += std::string(" ") + random.Pick(kJobKinds);
    header[Col(c::kJobCostHeader, "JobName")] = job_name;
    header[Col(c::kJobCostHeader, "CustomerID")] = customer.id;
    header[Col(c::kJobCostHeader, "Contact")] = contact;
    header[Col(c::kJobCostHeader, "ContactPhn")] = PhoneNumber(random, customer.address.area_code);
    header[Col(c::kJobCostHeader, "ContactEMail")] = email + "@example.com";
    if (random.Percent(30)) header[Col(c::kJobCostHeader, "Notes")] = random.Pick(kJobNotes);
    header[Col(c::kJobCostHeader, "StartDate")] = DateValue(start);
    header[Col(c::kJobCostHeader, "EndDate")] = OptionalDate(end);
    if (j != 2) header[Col(c::kJobCostHeader, "Closed")] = is_closed ? 1 : 0;
    header[Col(c::kJobCostHeader, "EstimatedRevenue")] = revenue;
    header[Col(c::kJobCostHeader, "EstimatedCost")] = PercentOf(revenue, random.Int(6000, 8500));
    header.Emit(state.sink);

    const int charge_count = j == 0 ? 0 : random.Int(3, 20);
    const double last_day = std::min(end.value_or(state.generation_date), state.generation_date);
    for (int line = 1; line <= charge_count; ++line) {
      const ChargeKind& kind = random.Pick(kChargeKinds);
      const int number = random.Int(10001, 99999);
      const Currency amount = random.Percent(5) ? Currency() : Cents(kind.sign * random.Int(5000, 2000000));
      detail[Col(c::kJobCostDetail, "JobID")] = job_id;
      detail[Col(c::kJobCostDetail, "JobCharges")] = amount;
      detail[Col(c::kJobCostDetail, "LedgerType")] = kind.ledger_type;
      detail[Col(c::kJobCostDetail, "LedgerReference")] = fmt::format("{} {}", kind.reference_prefix, number);
      detail[Col(c::kJobCostDetail, "JournalRefNo")] = std::to_string(number);
      detail[Col(c::kJobCostDetail, "ItemDescription")] =
          kind.sign > 0 ? job_id
                        : state.products[static_cast<size_t>(line) % state.products.size()].description;
      detail[Col(c::kJobCostDetail, "LineDescription")] = kind.line_description;
      detail[Col(c::kJobCostDetail, "TransDate")] =
          DateValue(start + random.Int(0, std::max(0, static_cast<int>(last_day - start))));
      detail[Col(c::kJobCostDetail, "TransLineNo")] = line;
      detail.Emit(state.sink);
    }
  }
}

}  // namespace vob::schema::demo
