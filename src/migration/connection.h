/*
** One connection of a context: an attachment to one database file and the
** statements on system tables prepared on it so far.
**
** The toolkit asks the system tables the same few questions (is this column,
** table, index, generator or trigger there?) hundreds of times in a run;
** each question is prepared once per attachment and then only executed.
** Only statements that read system tables are kept: a statement prepared on a
** user table holds that table, and the engine refuses a later change of it as
** "object in use".
**
** Heap-allocated and never moved: its transactions and statements point at
** its attachment.
*/
#pragma once

#include <map>
#include <string>
#include <vector>

#include "migration/fb/attachment.h"
#include "migration/fb/statement.h"
#include "migration/fb/transaction.h"

namespace kv {

class Connection {
 public:
  /* Attaches to path; params and charset as fb::Attachment takes them.
  ** Throws fb::Error. */
  Connection(const fb::Client& client, const std::string& path, const std::vector<std::string>& params,
             const std::string& charset);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  fb::Attachment& attachment() { return attachment_; }
  const std::string& path() const { return attachment_.path(); }

  /* The statement of text, prepared within tr the first time it is asked
  ** for. text must read system tables only (see above). Throws fb::Error;
  ** a statement that fails to prepare is not kept. */
  fb::Statement& SystemQuery(fb::Transaction& tr, const std::string& text);

  /* Statements kept so far. */
  std::size_t Prepared() const { return prepared_.size(); }

 private:
  fb::Attachment attachment_;
  std::map<std::string, fb::Statement> prepared_;  // after attachment_: dropped before it detaches
};

}  // namespace kv
