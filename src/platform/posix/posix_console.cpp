/*
** The console on POSIX: terminals take UTF-8 as it is.
*/
#include "platform/console.h"

namespace kv {

void PrepareConsoleForUtf8() {}

}  // namespace kv
