/*
** The other clients connected to the installation's databases.
*/
#include "migration/other_connections.h"

#include "platform/text_util.h"

namespace kv {
namespace {

/* The host part of an address the server reports as host/port. */
std::string Host(const std::string& address) { return address.substr(0, address.rfind('/')); }

}  // namespace

std::vector<OtherConnection> FindOtherConnections(MigrationServices& services,
                                                  const std::vector<std::string>& databases) {
  std::vector<OtherConnection> out;
  for (const std::string& db : databases) {
    TDM1 dm(services);
    if (!dm.OpenDataBase(db)) continue;
    try {
      // The owner of a database sees every attachment to it; the rows of this
      // connection tell which process and host are the program's own.
      OtherConnection own;
      std::vector<OtherConnection> all;
      {
        // The statement ends before its transaction does.
        fb::Statement st = dm.Prepare(
            dm.ReadTransaction(),
            {"SELECT IIF(MON$ATTACHMENT_ID = CURRENT_CONNECTION, 1, 0), MON$USER, MON$REMOTE_ADDRESS,",
             "       MON$REMOTE_PROCESS, MON$REMOTE_PID", "FROM MON$ATTACHMENTS", "WHERE MON$SYSTEM_FLAG = 0"});
        st.Execute(dm.ReadTransaction());
        while (st.Fetch()) {
          OtherConnection c{db, std::string(TrimBlanks(st.AsText(1))), st.IsNull(2) ? "" : st.AsText(2),
                            st.IsNull(3) ? "" : st.AsText(3), st.IsNull(4) ? 0 : st.AsInt32(4)};
          if (st.AsInt32(0) == 1)
            own = c;
          else
            all.push_back(c);
        }
      }
      dm.CommitRead();
      for (const OtherConnection& c : all)
        if (c.pid != own.pid || c.process != own.process || Host(c.address) != Host(own.address)) out.push_back(c);
    } catch (const fb::Error& e) {
      dm.RollbackRead();
      dm.NoteFailure(e);
    }
  }
  return out;
}

std::string OtherConnectionsMessage(const std::vector<OtherConnection>& connections) {
  std::string text = "С базами данных установки работают другие программы:";
  for (const OtherConnection& c : connections) {
    text += "\r" + c.database + ": " + (c.address.empty() ? std::string("этот компьютер") : Host(c.address)) +
            ", программа " + (c.process.empty() ? std::string("(неизвестна)") : c.process);
    if (c.pid) text += " (процесс " + std::to_string(c.pid) + ")";
    text += ", пользователь " + c.user;
  }
  text += "\rЗакройте эти программы на всех компьютерах: обновление меняет структуру баз данных, "
          "а сервер не даёт менять таблицы, с которыми работают другие.";
  return text;
}

}  // namespace kv
