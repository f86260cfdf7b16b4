/*
** The database part of the install run, timed: the working level read in a
** fresh context, then the pack table walked from its first row to its last,
** each row's packs run when the working level meets its gate (the level read
** again after a main pack), a skipped row advancing the gauge by its weight,
** and the temporary Orders file removed before the rows that ask for it.
*/
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "migration/context.h"
#include "migration/fb/client_stats.h"
#include "support/measure.h"

namespace kv::bench {

struct TimedUnit {
  std::string name;      // a pack's name, or "level read"
  Nanos wall{0};
  fb::ClientStats calls;  // the client library calls it made
};

struct WalkResult {
  std::vector<TimedUnit> units;  // in the order they ran
  Nanos wall{0};
  fb::ClientStats calls;
  std::string failure;  // the failing row's message; empty when every pack succeeded
};

/* Walks the pack table on the installation of services, as the install run
** does; pauses go to services' progress clock and to pause. */
WalkResult WalkCatalogue(MigrationServices& services, Gauge& gauge, Clock& pause);

}  // namespace kv::bench
