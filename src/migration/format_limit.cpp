/*
** The table-format limit, checked before a run.
*/
#include "migration/format_limit.h"

#include <map>

#include "migration/fb/error.h"
#include "migration/packs/catalogue.h"
#include "migration/runner.h"
#include "platform/text_util.h"

namespace kv {
namespace {

std::int32_t FormatsAdded(packs::Op op) {
  switch (op) {
    case packs::Op::ColumnAdd: return 2;
    case packs::Op::ColumnDelete:
    case packs::Op::ColumnRename:
    case packs::Op::ColumnRetype: return 1;
    default: return 0;  // a new table starts with one; indexes and data change no format
  }
}

}  // namespace

std::optional<FormatExcess> LargestFormatForecast(MigrationServices& services) {
  using packs::Db;
  std::optional<FormatExcess> largest;
  for (Db db : {Db::Base, Db::Config, Db::Orders, Db::ServerOrders, Db::Director, Db::Price, Db::StockMan,
                Db::Optima, Db::System}) {
    const std::string& path = DatabasePath(services.installation.databases, db);
    if (path.empty()) continue;
    TDM1 dm(services);
    if (!dm.OpenDataBase(path)) continue;  // the run itself says what is wrong with it
    const std::int32_t level = dm.control_Version();
    if (level < 0) continue;  // not one of the installation's databases: no pack works on it
    std::map<std::string, std::int32_t> added;  // upper-case table name
    for (const packs::Pack* pack : packs::Catalogue()) {
      if (pack->required < level) continue;
      for (const packs::DatabaseWork& work : pack->databases)
        if (work.db == db)
          for (const packs::Step& step : work.steps)
            if (const std::int32_t n = FormatsAdded(step.op)) added[AsciiUpper(step.table)] += n;
    }
    try {
      for (const auto& [table, n] : added) {
        const std::int32_t formats =
            dm.ReadInt({"SELECT RDB$FORMAT", "FROM RDB$RELATIONS", "WHERE RDB$RELATION_NAME = :p0"}, {table});
        if (!largest || formats + n > largest->formats + largest->added)
          largest = FormatExcess{path, table, formats, n};
      }
      dm.CommitRead();
    } catch (const fb::Error&) {
      dm.RollbackRead();  // an unreadable database is the run's to report
    }
  }
  return largest;
}

std::optional<FormatExcess> FindFormatExcess(MigrationServices& services) {
  std::optional<FormatExcess> largest = LargestFormatForecast(services);
  if (largest && largest->formats + largest->added > kMaxTableFormats) return largest;
  return std::nullopt;
}

std::string FormatExcessMessage(const FormatExcess& e) {
  return "Установка невозможна\rТаблица " + e.table + " базы данных " + e.database + " имеет " +
         std::to_string(e.formats) + " форматов записи из " + std::to_string(kMaxTableFormats) +
         " возможных,\rа обновление добавит ещё до " + std::to_string(e.added) +
         ".\rСделайте резервную копию этой базы данных и восстановите её из копии (backup и restore):\r"
         "это сбрасывает счётчик форматов. Затем запустите обновление ещё раз.";
}

}  // namespace kv
