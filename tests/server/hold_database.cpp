// Another client of a database: attaches through the server as kv5.N, reads a
// table in a transaction it keeps open, says "ready", and holds until its
// standard input closes. The transaction is read-committed, as the shop's
// programs read; with "consistency" it is table-stability, which keeps the
// table from being changed by anyone else until it ends.
//
//   kv_hold_database PATH N TABLE [consistency]
#include <iostream>
#include <string>

#include "migration/fb/attachment.h"
#include "migration/fb/client.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"
#include "startup/database_paths.h"

int main(int argc, char** argv) {
  const bool consistency = argc == 5 && std::string(argv[4]) == "consistency";
  if (argc != 4 && !consistency) {
    std::cerr << "usage: kv_hold_database PATH N TABLE [consistency]\n";
    return 64;
  }
  try {
    const int n = std::stoi(argv[2]);
    auto client = kv::fb::Client::Load();
    kv::fb::Attachment att(*client, argv[1],
                           {"user_name=kv5." + std::to_string(n), "password=" + kv::InstallationPassword(n)}, "UTF8");
    kv::fb::Transaction tr(att, consistency ? kv::fb::Isolation::WriteConsistency
                                            : kv::fb::Isolation::ReadCommittedNoWait);
    kv::fb::Statement st(tr, std::string("SELECT COUNT(*) FROM ") + argv[3]);
    st.Execute(tr);
    st.Fetch();
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "kv_hold_database: " << e.what() << std::endl;
    return 1;
  }
}
