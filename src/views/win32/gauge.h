/*
** The gauge: a sunken white box filled from the left in one colour, without
** text. Drawn by hand because a standard progress bar draws in the theme's
** colour whatever it is told.
*/
#pragma once

#include "platform/win32/wide.h"

#include "platform/form_description.h"

namespace kv::win32 {

inline constexpr const wchar_t* kGaugeClass = L"KvGauge";

/* Registers the window class once per process. */
void RegisterGaugeClass();

/* Creates a gauge child window with its bar colour and maximum. */
HWND CreateGauge(HWND parent, form::Colour bar, int maximum);

int GaugeMaximum(HWND gauge);
/* Keeps the progress within 0 and the new maximum. */
void SetGaugeMaximum(HWND gauge, int maximum);
int GaugeProgress(HWND gauge);
/* Kept within 0 and the maximum; the gauge repaints at once. */
void SetGaugeProgress(HWND gauge, int progress);

}  // namespace kv::win32
