// Client libraries that only some runs need (the PostgreSQL client, the print system's) are loaded on first
// use instead of at process start: each brings dozens of libraries of its own (TLS, Kerberos, LDAP, D-Bus),
// and binding them all made up most of the start-up of a one-page run on SQLite.
#pragma once

#include "platform/error.h"

namespace vob::vb {

// The address of `symbol` in the shared library `library` (a SONAME such as "libpq.so.5"), loading the
// library on the first call. Throws vob::Error naming both when either cannot be found.
void* LazySymbol(const char* library, const char* symbol);

}  // namespace vob::vb

// Forwards the call to the loaded library's function of the same name; used as the body of a definition
// that has the library header's signature. The look-up happens once per function.
#define VOB_LAZY_CALL(library, name, ...)                                                              \
  static const auto loaded = reinterpret_cast<decltype(&name)>(::vob::vb::LazySymbol(library, #name)); \
  return loaded(__VA_ARGS__)
