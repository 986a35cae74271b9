// Runs handler statements "with errors ignored": each statement that fails is skipped and the next one runs.
// Write each statement as its own lambda, so that what a failure skips is exactly one statement.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

namespace vob::vb {

// Runs every statement in order; an exception from one statement ends that statement only.
// Whatever the failed statement would have set keeps its previous value. Lambdas are called in place
// (no std::function, no allocation), so this costs nothing when nothing fails.
template <typename... Statements>
void ResumeNext(Statements&&... statements) {
  static_assert((std::is_invocable_v<Statements&> && ...), "each statement is a callable without arguments");
  auto run_one = [](auto& statement) {
    try {
      statement();
    } catch (const std::exception&) {
      // Ignored by design: the caller asked for this statement to be skipped on failure.
    }
  };
  (run_one(statements), ...);
}

}  // namespace vob::vb
