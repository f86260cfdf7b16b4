/*
** Walking the run order: each step whose gate equals the working level runs
** its packs, each in a fresh context; the working level is read again after a
** main pack; a step whose gate does not hold is skipped. The first pack that
** fails ends the walk. What the operator sees of it is the observer's.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "migration/context.h"
#include "migration/packs/run_order.h"

namespace kv {

class RunObserver {
 public:
  virtual ~RunObserver() = default;
  virtual void StepSkipped(const packs::RunStep& step) = 0;
  /* Before the packs of a step that removes the temporary Orders file first. */
  virtual void RemoveTemporaryOrders(const packs::RunStep& step) = 0;
  virtual void PackStarting(const packs::RunStep& step, const packs::RunPack& pack) = 0;
  /* After a pack, with its result; nothing to do for most observers. */
  virtual void PackFinished(const packs::RunStep&, const packs::RunPack&, bool /*succeeded*/) {}
};

struct WalkResult {
  const packs::RunPack* failed = nullptr;  // the pack that returned false, if any
  std::int32_t workingLevel = 0;           // as last read
  /* No database of the installation opened: nothing was walked. */
  bool noDatabase = false;
  /* Databases the installation has that the engine refused when the walk
  ** ended without a failed pack: they were not upgraded. */
  std::vector<std::string> unopenable;
};

/* The gate logic alone, over a level source and a pack runner: steps 1 to 19
** from the level readLevel gives, each step whose gate equals it running its
** packs through runPack until one returns false. The real run and the plan
** of a run both walk with it. */
WalkResult WalkSteps(const std::function<std::int32_t()>& readLevel,
                     const std::function<bool(const packs::RunPack&)>& runPack, RunObserver& observer);

/* Surveys the databases in a fresh context; when one opens, walks steps 1 to
** 19 with the real packs, each in a fresh context, then surveys again for
** databases that could not be opened. The contexts borrow their connections
** from a pool for the walk's length (or from the caller's, when it lends). */
WalkResult WalkRunOrder(MigrationServices& services, RunObserver& observer);

}  // namespace kv
