// Reads the receivable aging query through the data layer, every field of every row, and reports the rate.
// `aging_read CONNECTION` prints rows, seconds and rows per second; compared with the bare clients by
// bench/aging_read.sh.
#include <chrono>
#include <cstdio>
#include <exception>

#include "platform/data/recordset.h"
#include "platform/vb/variant.h"

namespace {

// The statement the receivable aging report builds for all customers, as that report writes it.
constexpr const char* kAgingSql =
    "SELECT ARInvoiceHeader.*, Customers.*  FROM ARInvoiceHeader INNER JOIN Customers ON "
    "ARInvoiceHeader.CustomerID = Customers.CustomerId  order by ARInvoiceheader.Customerid, "
    "originalinvoiceno, "
    "originalinvoicetype, invoicedate;";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: aging_read CONNECTION\n");
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    vob::data::Recordset recordset;
    recordset.Open(kAgingSql, argv[1]);
    const int fields = recordset.FieldCount();
    long rows = 0;
    long non_null = 0;
    for (; !recordset.eof(); recordset.MoveNext(), ++rows) {
      for (int i = 0; i < fields; ++i) non_null += !recordset.Value(i).is_null();
    }
    recordset.Close();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rows == 0 || non_null == 0) {
      std::fprintf(stderr, "aging_read: the query returned no data\n");
      return 1;
    }
    std::printf("%ld rows, %d fields, %.3f s, %.0f rows/s\n", rows, fields, seconds, rows / seconds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "aging_read: %s\n", error.what());
    return 1;
  }
  return 0;
}
