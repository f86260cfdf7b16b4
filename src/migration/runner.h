/*
** Running service packs: the frame every pack follows, the fresh context each
** unit of work gets, and the lowest level across the databases.
*/
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "migration/context.h"
#include "migration/packs/catalogue.h"

namespace kv {

/* Path of a pack's database in the installation ("" for an unknown server Orders). */
const std::string& DatabasePath(const DatabasePaths& paths, packs::Db db);

/* Runs pack on the context: visits its databases, counts, checks the total.
** True when KolvoOperation reaches the pack's expected total. */
bool RunPack(TDM1& dm, const packs::Pack& pack);

/* KolvoOperation set to 0, a fresh context, the pack, the context destroyed
** (also when an error escapes, which then goes on to the caller). */
bool RunPackFresh(MigrationServices& services, const packs::Pack& pack);

/* The version-only body: ServicePack newLevel in every database at required. */
void install_SP(TDM1& dm, std::int32_t newLevel, std::int32_t required);

/* One database of the installation as the level query finds it. */
struct SurveyedDatabase {
  packs::Db db;
  std::string path;
  OpenResult open = OpenResult::Absent;
  std::int32_t level = -1;  // control_Version, when opened
};

/* Every database of the installation in the level query's order, Config last;
** without readLevels only whether each opens. */
std::vector<SurveyedDatabase> SurveyDatabases(TDM1& dm, bool readLevels = true);

/* The lowest level of the opened databases of a survey; the largest 32-bit
** integer when none opened. */
std::int32_t LowestLevel(const std::vector<SurveyedDatabase>& survey);

/* Lowest level across the databases; the largest 32-bit integer when none opens. */
std::int32_t f_miniServicePack(TDM1& dm);

/* SurveyDatabases in a context of its own. */
std::vector<SurveyedDatabase> SurveyDatabasesFresh(MigrationServices& services, bool readLevels = true);

/* f_miniServicePack in a context of its own. */
std::int32_t MinimumLevelFresh(MigrationServices& services);

/* aaRead_ServicePack in a context of its own. */
bool ReadVersionRecordFresh(MigrationServices& services, const std::string& path, std::int32_t& version,
                            std::int32_t& servicePack, std::int32_t& build);

}  // namespace kv
