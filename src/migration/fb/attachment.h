/*
** One attachment to a database: opened by the constructor, detached by the
** destructor. Move-only.
*/
#pragma once

#include <string>
#include <vector>

#include "migration/fb/client.h"
#include "migration/fb/handle.h"

namespace kv::fb {

class Attachment {
 public:
  /* Attaches to the database at path. params are "name=value" lines
  ** (user_name, password; unknown names are refused); charset is the connection
  ** character set. Throws fb::Error. */
  Attachment(const Client& client, const std::string& path, const std::vector<std::string>& params,
             const std::string& charset);
  Attachment(Attachment&&) noexcept = default;
  Attachment& operator=(Attachment&&) noexcept = default;
  Attachment(const Attachment&) = delete;
  Attachment& operator=(const Attachment&) = delete;

  /* A real information request to the engine; false when the connection is gone. */
  bool Ping();

  /* Detaches now; throws fb::Error when the engine refuses. */
  void Detach();

  const Client& client() const { return *client_; }
  /* The path the attachment was opened with. */
  const std::string& path() const { return path_; }
  ApiHandle* handle() { return handle_.Addr(); }

 private:
  const Client* client_;
  std::string path_;
  AttachmentHandle handle_;
};

/* Builds a database parameter block from "name=value" lines, marking the
** file name as UTF-8. Exposed for tests. */
std::string BuildDpb(const std::vector<std::string>& params, const std::string& charset);

}  // namespace kv::fb
