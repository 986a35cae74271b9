// Names, street addresses, postal codes and phone numbers for the demo company's customers, vendors and
// staff. Every text comes from fixed word lists and the caller's DemoRandom, so the same draws give the same
// texts.
#pragma once

#include <optional>
#include <string>

#include "framework/schema/demo_random.h"

namespace vob::schema {

struct PostalAddress {
  std::string street;
  std::optional<std::string> street2;  // suite or floor, absent for most
  std::string city, state;
  std::string zip;        // five or nine digits
  std::string area_code;  // of the city, for the phone numbers
};

std::string CompanyName(DemoRandom& random);
std::string PersonName(DemoRandom& random);
PostalAddress RandomAddress(DemoRandom& random);
// A ten-digit number in the area (most), a seven-digit local number, or a text of another length.
std::string PhoneNumber(DemoRandom& random, const std::string& area_code);
// An id from the first word of a name and a sequence number: "SUMMIT0012".
std::string IdFromName(const std::string& name, int sequence);
// "Ace", "Blue Ridge": for product descriptions and job names.
std::string Adjective(DemoRandom& random);

}  // namespace vob::schema
