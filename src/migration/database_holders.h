/*
** Idle attachments that keep the installation's databases open in the engine
** while a run walks them.
**
** The embedded engine closes a database file when its last attachment ends, so
** every fresh context would otherwise read the header, rebuild the caches and
** load the metadata again. A holder is one attachment per file that starts no
** transaction and prepares no statement: it holds no lock a pack's DDL could
** meet, and it is not a context (the rule of one context at a time is about
** contexts).
**
** States: empty -> holding some files -> empty again (ReleaseAll or the
** destructor). A file is held from the first time a context opens it; a file
** that cannot be attached simply has no holder.
*/
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "migration/fb/attachment.h"

namespace kv {

class DatabaseHolders {
 public:
  /* params and charset as the contexts attach with; never holds a path of
  ** excluded (the temporary Orders files, which are deleted during the run). */
  DatabaseHolders(const fb::Client& client, std::vector<std::string> params, std::string charset,
                  std::set<std::string> excluded);
  ~DatabaseHolders() { ReleaseAll(); }
  DatabaseHolders(const DatabaseHolders&) = delete;
  DatabaseHolders& operator=(const DatabaseHolders&) = delete;

  /* Holds path open unless it is held already, excluded or cannot be attached. */
  void Hold(const std::string& path) noexcept;
  /* Detaches every holder. */
  void ReleaseAll() noexcept;

  std::size_t Count() const { return held_.size(); }

 private:
  const fb::Client& client_;
  std::vector<std::string> params_;
  std::string charset_;
  std::set<std::string> excluded_;
  std::set<std::string> refused_;  // tried once and failed: not tried again in this run
  std::map<std::string, fb::Attachment> held_;
};

}  // namespace kv
