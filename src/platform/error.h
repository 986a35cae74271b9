// The root of every error the library throws; each layer derives its own type from it.
// Messages name what failed (report, handler, SQL text) so that nobody needs a debugger.
#pragma once

#include <stdexcept>
#include <string>

namespace vob {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vob
