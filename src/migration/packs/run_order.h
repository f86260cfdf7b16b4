/*
** The order in which the wizard runs the catalogue: steps gated by the working
** level, with the labels shown while a pack runs or is skipped, the message of
** a failing pack, and the gauge weight of a skipped step.
*/
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "migration/packs/catalogue.h"

namespace kv::packs {

struct RunPack {
  const Pack* pack;
  std::string_view label;    // set just before the pack runs
  std::string_view failure;  // shown when the pack returns false
};

struct RunStep {
  int number;
  std::int32_t gate;           // runs when the working level equals it
  bool reread;                 // read the working level again after success (main packs)
  bool removeTemporaryOrders;  // the temporary Orders file goes first
  std::string_view skipLabel;
  std::int32_t skipWeight;     // the gauge advance of a skipped step
  std::span<const RunPack> packs;
};

/* Steps 1 to 19 in order. */
std::span<const RunStep> RunOrder();

/* The gauge budget of a run: the skip weights of the run order plus one unit
** for each of the six program-file steps. */
extern const std::int32_t kGaugeBudget;

}  // namespace kv::packs
