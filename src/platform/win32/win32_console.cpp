/*
** The console on Windows.
*/
#include "platform/console.h"
#include "platform/win32/wide.h"

namespace kv {

void PrepareConsoleForUtf8() { ::SetConsoleOutputCP(CP_UTF8); }

}  // namespace kv
