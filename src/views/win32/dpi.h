/*
** The screen's dots per inch as the program, aware of each monitor's DPI,
** sees them. The forms are described in pixels of a 96-dpi screen; the
** windows scale them by Dpi / 96.
*/
#pragma once

#include "platform/win32/wide.h"

namespace kv::win32 {

inline constexpr int kDesignDpi = 96;

/* The DPI of the monitor the window is on (GetDpiForWindow where the system
** has it, else the screen's LOGPIXELSY). */
int WindowDpi(HWND w);
/* The DPI new windows are laid out for before they know their monitor. */
int SystemDpi();

/* A length of the 96-dpi design at dpi, and back. */
inline int ToDpi(int length, int dpi) { return ::MulDiv(length, dpi, kDesignDpi); }
inline int FromDpi(int length, int dpi) { return ::MulDiv(length, kDesignDpi, dpi); }

}  // namespace kv::win32
