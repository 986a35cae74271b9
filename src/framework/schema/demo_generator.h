// The demo company: a small wholesale business with two years of books, generated from a fixed seed.
// The same options give the same rows in the same order on every platform; only the options vary the data.
#pragma once

#include "framework/schema/row_sink.h"

namespace vob::schema {

// Changes whenever the generator writes other rows for the same options, so that a database written by an
// earlier generator is recognised (SQLite keeps it as the file's user_version) and not reused.
inline constexpr int kDemoGeneratorVersion = 2;

struct DemoOptions {
  // Multiplies customers, vendors, products, documents, payments and journal entries; 1 gives each report a
  // few pages, 100 from 200,000 (books up to early January) to 420,000 (up to December) receivable documents.
  int scale = 1;
  // The day the books run up to (a whole serial date). Due dates are spread around it so that every aging
  // bucket holds documents; the periods cover its year and the year before.
  double generation_date = 0;
};

// Sends every row of the demo company to the sink. Throws SchemaError for a scale below 1 or a date before
// 1901.
void GenerateDemoCompany(const DemoOptions& options, RowSink& sink);

}  // namespace vob::schema
