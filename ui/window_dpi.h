#pragma once
// The display scale of a window, and the system metrics at a scale. The per-monitor functions
// came with Windows 10 (1607); they are looked up at run time, so that the program still
// starts on Windows 7, where the screen's LOGPIXELSY (the system scale) stands in for them.
#include <windows.h>

#include "base/dpi.h"

namespace kelvane::ui {

// The scale the system gives programs started now (the screen's LOGPIXELSY; 96 without one).
int system_dpi();
// The window's scale: its monitor's under per-monitor awareness, else the system's.
int window_dpi(HWND hwnd);
inline Dpi dpi_of_window(HWND hwnd) { return dpi_of(window_dpi(hwnd)); }
// GetSystemMetrics at a scale (GetSystemMetricsForDpi, or the system value scaled).
int metric_for_dpi(int index, int dpi);

}  // namespace kelvane::ui
