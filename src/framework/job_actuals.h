// A job's actual cost and revenue, summed from the charges posted to it: the job list and the job
// information report print them. Charges above zero are revenue; zero and below are cost, negated.
#pragma once

#include <string_view>

#include "platform/vb/currency.h"

namespace vob::reports {

struct JobActuals {
  vb::Currency cost;     // the negated sum of the charges at or below zero: normally positive
  vb::Currency revenue;  // the sum of the charges above zero
};

// Reads JobCostDetail over a recordset of its own on ConnString, closed before it returns. A Null charge
// counts as neither cost nor revenue. The id goes between quotes as given: one with a quote fails the query,
// and that error (data::SqlError naming the SQL) propagates.
JobActuals GetJobActuals(std::string_view job_id);

}  // namespace vob::reports
