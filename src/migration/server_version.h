/*
** The Firebird server version as the program judges it: the last word of the
** server's version text read as a decimal number, times ten, rounded half to
** even ("WI-V2.5.2.26540 Firebird 2.5" gives 25).
*/
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dialog.h"

namespace kv {

/* What the program keeps of the server for the whole run. */
struct FirebirdVersionState {
  /* 0 not yet known, -1 unreadable, otherwise the version times ten, rounded. */
  std::int32_t FirebirdVersion = 0;
  /* Connections the server refused for good (a login it does not accept, a
  ** server it cannot reach), by database path ("" for the service manager),
  ** with the engine's reason. They are not tried again in the run: the server
  ** delays every login from an address after repeated failures. */
  std::map<std::string, std::string> refusedForGood;
};

/* The version times ten; nullopt when the last word is not a number.
** Throws std::out_of_range when it does not fit a 32-bit integer. */
std::optional<std::int32_t> ParseFirebirdVersion(std::string_view versionText);

/* The warning shown for a server older than 2.5 (version 1 to 24). */
std::string OldFirebirdWarning(std::int32_t firebirdVersion);

/* Stores the version judged from the server's text; for a server older than
** 2.5 shows the warning and asks whether to go on. False for the answer No.
** Throws std::out_of_range for a number beyond 32 bits (nothing is stored). */
bool AcceptServerVersion(const std::string& versionText, FirebirdVersionState& state, OperatorDialog& dialog);

}  // namespace kv
