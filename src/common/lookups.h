// Single-value lookups in the terms and message tables, the default check style, and the shared connection.
// Lookups open a connection of their own on ConnString; failures to connect propagate, later ones are
// ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/data/recordset.h"

namespace vob {

// The description of a terms code; "" for an empty code (no database access), an unknown code or a Null.
std::string GetTermsDescription(std::string code);
// The text of a message number; "" for 0 (no database access), an unknown number or a Null.
std::string GetMessageText(int32_t n);
// An open recordset of the default check styles, standing on the first (or at EOF). The caller closes it.
std::unique_ptr<data::Recordset> GetDefaultCheckStyle();
// (Re)opens Settings().SharedConnection on ConnString followed by "Persist Security Info=False;" (after a
// ";" when ConnString does not end in one).
void OpenSharedConnection();

}  // namespace vob
