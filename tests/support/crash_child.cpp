/*
** crash_child DATABASE OPERATION N [K]: runs one operation of the crash test on
** DATABASE and kills itself right after its N-th changing commit, or, with K,
** before the K-th database write after the changing commit before the N-th
** (inside the N-th commit; needs the preload library kv_kill_at_write). Exits
** 0 when the operation ended by itself. N 0 kills nowhere and prints the
** database writes up to each of its changing commits on one line.
*/
#include <iostream>
#include <string>

#include "support/crash_ops.h"
#include "support/fb_test_db.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: crash_child DATABASE OPERATION N [K]\n";
    return 64;
  }
  kv::test::MigrationHarness harness;
  kv::test::CommitKiller killer = argc == 5 ? kv::test::CommitKiller(std::stoi(argv[3]), std::stol(argv[4]))
                                            : kv::test::CommitKiller(std::stoi(argv[3]));
  kv::test::ObservableTestClient().SetObserver(&killer);
  std::unique_ptr<kv::TDM1> dm = harness.NewContext();
  if (!dm->OpenDataBase(argv[1])) return 2;
  kv::test::RunCrashOperation(*dm, argv[2]);
  if (std::string(argv[3]) == "0") {
    for (long writes : killer.WritesPerCommit()) std::cout << writes << " ";
    std::cout << "\n";
  }
  return 0;
}
