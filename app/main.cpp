// kelvane.exe: the entry point.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "app/mapp.h"

int main() {
  // An empty removable drive must not bring up the system's "no disk" box while drives are
  // listed or scanned.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  // Made before any window and destroyed at process exit, after the message loop has ended.
  static kelvane::mapp application;
  return application.run();
}
