/*
** crash_child DATABASE OPERATION N: runs one operation of the crash test on
** DATABASE and kills itself right after its N-th changing commit. Exits 0 when
** the operation had fewer commits than N and ended by itself.
*/
#include <iostream>
#include <string>

#include "support/crash_ops.h"
#include "support/fb_test_db.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: crash_child DATABASE OPERATION N\n";
    return 64;
  }
  kv::test::MigrationHarness harness;
  kv::test::KillAfterCommit killer(std::stoi(argv[3]));
  kv::test::ObservableTestClient().SetObserver(&killer);
  std::unique_ptr<kv::TDM1> dm = harness.NewContext();
  if (!dm->OpenDataBase(argv[1])) return 2;
  kv::test::RunCrashOperation(*dm, argv[2]);
  return 0;
}
