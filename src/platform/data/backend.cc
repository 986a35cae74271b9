// Translation caching shared by both backends: per-row lookups repeat the same text many times.
// The cache is bounded; a report's statements fit many times over.
#include "platform/data/backend.h"

#include "platform/data/connection.h"

namespace vob::data {
namespace {

constexpr size_t kMaxCachedTranslations = 512;

StatementLog& TheStatementLog() {
  static StatementLog log;
  return log;
}

}  // namespace

void SetStatementLog(StatementLog log) {
  TheStatementLog() = std::move(log);
}

std::unique_ptr<RowCursor> Backend::Open(std::string_view jet_sql, int command_timeout_seconds,
                                         std::vector<TableName>* tables) {
  if (const StatementLog& log = TheStatementLog()) log(jet_sql);
  const std::string key(jet_sql);
  auto found = translations_.find(key);
  if (found == translations_.end()) {
    TranslatedStatement statement = TranslateJet(jet_sql, dialect(), catalog());
    if (translations_.size() >= kMaxCachedTranslations) translations_.clear();
    found = translations_.emplace(key, std::move(statement)).first;
  }
  if (tables != nullptr) *tables = found->second.tables;
  return Execute(found->second, jet_sql, command_timeout_seconds);
}

}  // namespace vob::data
