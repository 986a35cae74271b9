// The run entry point: the document's tables, the fill, and the sink's Begin and End around it.
#include "platform/engine/run.h"

#include "platform/engine/document_tables.h"
#include "platform/engine/report_fill.h"

namespace vob::engine {

namespace {

void RunWith(ActiveReport& report, const RunContext& context, RecordSink* records) {
  DocumentTables tables(context.report_key, context.title);
  context.sink.Begin(tables.info());
  ReportFill fill(report, tables, context.measurer, &context.sink);
  fill.set_records(records);
  fill.set_cancel_flag(context.cancel_requested);
  fill.Execute();
  DocumentEnd end;
  end.page_count = fill.page_count();
  end.toc = std::move(fill.toc());
  end.deferred_texts = tables.DeferredTexts(end.page_count);
  context.sink.End(tables.info(), end);
}

}  // namespace

void Run(ActiveReport& report, const RunContext& context) {
  RunWith(report, context, nullptr);
}

void Run(ActiveReport& report, const RunContext& context, RecordSink& records) {
  RunWith(report, context, &records);
}

}  // namespace vob::engine
