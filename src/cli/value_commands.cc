// `vobreports keys`, `format` and `words`: the key table, the value formatter and amounts in words.
// Handy for report authors checking a pattern, and the tests drive them too.
#include <iostream>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "common/amount_in_words.h"
#include "manager/report_keys.h"
#include "platform/vb/conversions.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"

namespace vob::cli {
namespace {

vb::Variant ValueOfType(const std::string& text, const std::string& type) {
  if (type == "string") return vb::Variant(text);
  if (type == "number") return vb::Variant(vb::CDbl(vb::Variant(text)));
  if (type == "currency") return vb::Variant(vb::CCur(vb::Variant(text)));
  if (type == "date") return vb::Variant::Date(vb::CDate(vb::Variant(text)));
  if (type == "bool") return vb::Variant(vb::CBool(vb::Variant(text)));
  // auto: a text that reads as a number is a number, else as a date a date, else text.
  if (std::optional<double> number = vb::ParseNumber(text)) return vb::Variant(*number);
  if (std::optional<double> date = vb::ParseDate(text)) return vb::Variant::Date(*date);
  return vb::Variant(text);
}

}  // namespace

void RegisterKeysCommand(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("keys", "List the report keys and their report classes, in table order");
  command->callback([] {
    for (const ReportKey& entry : ReportKeys()) std::cout << entry.key << '\t' << entry.class_name << '\n';
  });
}

void RegisterFormatCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand("format", "Print Format(VALUE, PATTERN), as reports format values");
  auto type = std::make_shared<std::string>("auto");
  auto value = std::make_shared<std::string>();
  auto pattern = std::make_shared<std::string>();
  command->add_option("--type", *type, "How to read VALUE")
      ->check(CLI::IsMember({"auto", "number", "currency", "date", "string", "bool"}))
      ->capture_default_str();
  command->add_option("VALUE", *value, "The value, as text")->required();
  command->add_option("PATTERN", *pattern, "The format pattern (empty: general format)")->required();
  command->callback([=] { std::cout << vb::Format(ValueOfType(*value, *type), *pattern) << '\n'; });
}

void RegisterWordsCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand("words", "Print an amount in words, as checks print it");
  auto amount = std::make_shared<std::string>();
  auto decimals = std::make_shared<int>(2);
  command->add_option("AMOUNT", *amount, "The amount")->required();
  command->add_option("DECIMALS", *decimals, "Decimal places of the fraction")
      ->check(CLI::Range(0, 9))
      ->capture_default_str();
  command->callback([=] {
    const std::optional<double> value = vb::ParseNumber(*amount);
    if (!value) throw vob::Error("words: \"" + *amount + "\" is not a number");
    std::cout << AmountInWords(*value, static_cast<int16_t>(*decimals)) << '\n';
  });
}

}  // namespace vob::cli
