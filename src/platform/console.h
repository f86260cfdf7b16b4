/*
** The console the unattended mode writes to.
*/
#pragma once

namespace kv {

/* Makes the console show the program's UTF-8 output as text (on Windows it
** expects the OEM code page unless told otherwise); nothing to do on POSIX. */
void PrepareConsoleForUtf8();

}  // namespace kv
