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
  const int code = application.run();
  // A deletion the shell still carries out when the windows have gone (the recycle bin's, which
  // cannot be stopped) would hold the process as long as it runs: the process ends here, and
  // with it that deletion, after what the shell has already moved.
  if (application.mdir.delete_thread_running()) {
    application.CGUI.flog.write("main () ends with the deletion unfinished\n");
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  }
  return code;
}
