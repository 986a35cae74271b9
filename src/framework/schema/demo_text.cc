// Word lists of the demo company's world: a handful of Midwestern towns, their area codes and ZIP prefixes.
// Lists only grow at the end, so that the draws of an existing demo database keep their meaning.
#include "framework/schema/demo_text.h"

#include <cctype>

#include <fmt/format.h>

namespace vob::schema {
namespace {

constexpr const char* kNameStarts[] = {
    "Acme",      "Blue Ridge", "Cedar",    "Summit",   "Prairie",   "Lakeside", "Northstar", "Redwood",
    "Keystone",  "Harbor",     "Pioneer",  "Granite",  "Riverbend", "Maple",    "Ironwood",  "Silver Creek",
    "Heartland", "Oakmont",    "Bluestem", "Crescent", "Evergreen", "Frontier", "Golden",    "Highland",
};
constexpr const char* kNameTrades[] = {
    "Supply",       "Builders",    "Electric",    "Hardware",    "Plumbing",
    "Construction", "Design",      "Contractors", "Home Center", "Mechanical",
    "Roofing",      "Landscaping", "Properties",  "Industries",  "Services",
};
constexpr const char* kNameSuffixes[] = {"Inc.", "LLC", "Co.", "Corp.", "", ""};
constexpr const char* kFirstNames[] = {
    "James",   "Mary",      "Robert",  "Patricia", "John",    "Jennifer", "Michael", "Linda",
    "David",   "Elizabeth", "William", "Barbara",  "Richard", "Susan",    "Joseph",  "Jessica",
    "Thomas",  "Sarah",     "Carlos",  "Karen",    "Daniel",  "Nancy",    "Matthew", "Lisa",
    "Anthony", "Betty",     "Mark",    "Sandra",   "Kevin",   "Ashley",
};
constexpr const char* kLastNames[] = {
    "Smith",     "Johnson",  "Williams",  "Brown", "Jones",    "Garcia",   "Miller", "Davis",
    "Rodriguez", "Martinez", "Hernandez", "Lopez", "Wilson",   "Anderson", "Thomas", "Taylor",
    "Moore",     "Jackson",  "Martin",    "Lee",   "Thompson", "White",    "Harris", "Clark",
    "Lewis",     "Walker",   "Young",     "Allen", "King",     "Nguyen",
};
constexpr const char* kStreets[] = {
    "Main",    "Oak",    "Elm",   "Commerce", "Industrial", "Lincoln", "Washington",
    "Park",    "Lake",   "Hill",  "Market",   "Mill",       "River",   "Church",
    "Prairie", "Center", "Maple", "Cedar",    "Jackson",    "Madison",
};
constexpr const char* kStreetKinds[] = {"St", "Ave", "Blvd", "Dr", "Rd", "Way", "Pkwy", "Ln"};
constexpr const char* kSecondLines[] = {"Suite 100", "Suite 210", "Unit B",
                                        "Floor 3",   "PO Box 88", "Building 4"};
constexpr const char* kAdjectives[] = {
    "Ace",      "Blue Ridge", "Central", "Delta", "Eastside", "Falcon",   "Grand",
    "Heritage", "Lakeview",   "Metro",   "North", "Orchard",  "Pine",     "Quarry",
    "Ridgeway", "Sunset",     "Tower",   "Union", "Valley",   "Westgate",
};

struct Town {
  const char* city;
  const char* state;
  const char* area_code;
  const char* zip_prefix;  // the first three ZIP digits
};
constexpr Town kTowns[] = {
    {"Springfield", "IL", "217", "627"},  {"Peoria", "IL", "309", "616"},
    {"Madison", "WI", "608", "537"},      {"Minneapolis", "MN", "612", "554"},
    {"Des Moines", "IA", "515", "503"},   {"Omaha", "NE", "402", "681"},
    {"Kansas City", "MO", "816", "641"},  {"Fort Wayne", "IN", "260", "468"},
    {"Toledo", "OH", "419", "436"},       {"Rockford", "IL", "815", "611"},
    {"Duluth", "MN", "218", "558"},       {"Green Bay", "WI", "920", "543"},
    {"Cedar Rapids", "IA", "319", "524"}, {"Lincoln", "NE", "402", "685"},
    {"St. Louis", "MO", "314", "631"},
};

std::string Digits(DemoRandom& random, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + random.Int(0, 9));
  return digits;
}

}  // namespace

std::string CompanyName(DemoRandom& random) {
  // One draw per statement: the order of evaluation within an expression differs between compilers.
  const std::string start = random.Pick(kNameStarts);
  const std::string name = start + " " + random.Pick(kNameTrades);
  const std::string suffix = random.Pick(kNameSuffixes);
  return suffix.empty() ? name : name + " " + suffix;
}

std::string PersonName(DemoRandom& random) {
  const std::string first = random.Pick(kFirstNames);
  return first + " " + random.Pick(kLastNames);
}

PostalAddress RandomAddress(DemoRandom& random) {
  const Town& town = random.Pick(kTowns);
  PostalAddress address;
  address.street = std::to_string(random.Int(10, 9899));
  address.street += std::string(" ") + random.Pick(kStreets);
  address.street += std::string(" ") + random.Pick(kStreetKinds);
  if (random.Percent(20)) address.street2 = random.Pick(kSecondLines);
  address.city = town.city;
  address.state = town.state;
  address.zip = town.zip_prefix + Digits(random, 2);
  if (random.Percent(40)) address.zip += Digits(random, 4);
  address.area_code = town.area_code;
  return address;
}

std::string PhoneNumber(DemoRandom& random, const std::string& area_code) {
  const int kind = random.Int(0, 99);
  std::string local = std::to_string(random.Int(200, 999));
  local += Digits(random, 4);
  if (kind < 75) return area_code + local;
  if (kind < 95) return local;
  return "1" + area_code + local;  // eleven digits print unformatted
}

std::string IdFromName(const std::string& name, int sequence) {
  std::string id;
  for (char c : name) {
    if (c == ' ') break;
    if (std::isalnum(static_cast<unsigned char>(c)) && id.size() < 6) {
      id += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return fmt::format("{}{:04}", id, sequence);
}

std::string Adjective(DemoRandom& random) {
  return random.Pick(kAdjectives);
}

}  // namespace vob::schema
