#include "ui/window_dpi.h"

#include "ui/dc.h"

namespace kelvane::ui {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// One look-up per process: the answer cannot change while it runs.
template <typename Fn>
Fn user32_function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

GetDpiForWindowFn get_dpi_for_window() {
  static const GetDpiForWindowFn fn = user32_function<GetDpiForWindowFn>("GetDpiForWindow");
  return fn;
}

GetSystemMetricsForDpiFn get_system_metrics_for_dpi() {
  static const GetSystemMetricsForDpiFn fn =
      user32_function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  return fn;
}

}  // namespace

int system_dpi() {
  const window_dc screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

int window_dpi(HWND hwnd) {
  if (hwnd != nullptr) {
    if (GetDpiForWindowFn fn = get_dpi_for_window()) {
      const UINT dpi = fn(hwnd);
      if (dpi > 0) return static_cast<int>(dpi);
    }
  }
  return system_dpi();
}

int metric_for_dpi(int index, int dpi) {
  if (GetSystemMetricsForDpiFn fn = get_system_metrics_for_dpi()) return fn(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, system_dpi());
}

}  // namespace kelvane::ui
