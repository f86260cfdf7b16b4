/*
** The data steps of the catalogue and the index creation of z_SP_12_2, each
** with what the program runs (the step's own function on an open context)
** and what a database administrator would run instead: the same statement, or
** its set-based equivalent where the program works row by row.
*/
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "migration/context.h"
#include "migration/packs/catalogue.h"
#include "scale/scale_load.h"

namespace kv::bench {

struct ScaleStep {
  std::string name;                  // pack and step, e.g. "z_SP_05 payment kind"
  packs::Db db;
  std::int64_t rows;                 // rows of the table the step works on
  std::function<void(TDM1&)> ours;   // on a context whose database is open
  std::string baseline;              // isql-fb statements, each ended by "^"
  std::string check;                 // a query whose one value both must agree on
};

std::vector<ScaleStep> ScaleSteps(const ScaleRows& rows);

}  // namespace kv::bench
