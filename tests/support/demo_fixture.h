/*
** A demo installation per test, in its own temporary folder, with the
** surroundings a database context needs. The databases are copied from a
** template made once per test program and level (forced writes off), so each
** test starts from the same state quickly.
*/
#pragma once

#include <string>

#include "demo_installation.h"
#include "migration/context.h"
#include "support/fakes.h"
#include "support/fb_test_db.h"
#include "support/temp_dir.h"

namespace kv::test {

class DemoFixture : public ContextSurroundings {
 public:
  /* A demo at level; installation number and numbered flag as given. */
  explicit DemoFixture(int level = 0, int installation = 1, bool numbered = false);

  MigrationServices& services() { return services_; }
  Installation& installation() { return demo.installation; }
  const DatabasePaths& paths() const { return demo.installation.databases; }

  /* ServicePack/Build of a database, e.g. "6/2". */
  std::string Level(const std::string& path) const;
  /* Schema snapshots of all nine databases, one after the other. */
  std::string Snapshot() const;
  /* The schema and every row of all nine databases. */
  std::string Contents() const;

  TempDir dir;
  demo::DemoOptions options;
  demo::DemoInstallation demo;

 private:
  MigrationServices services_;
};

}  // namespace kv::test
