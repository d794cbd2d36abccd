#pragma once
// CGUI: the settings and log holder, the first member of the application object.
// Its constructor opens the log, reads the registry (writing defaults back), makes the font
// and reads the colour file, all before any window exists.
#include <windows.h>

#include <string>

#include "base/log.h"
#include "base/settings.h"
#include "ui/dc.h"

namespace kelvane {

// Where a CGUI takes its inputs from. The program uses the defaults; tests point them at a
// key, a program path and a TEMP folder of their own.
struct CguiSources {
  std::string key = "Software\\Tarnwick\\Kelvane";  // under HKEY_CURRENT_USER
  std::string program_path;                         // empty: this process's own file
  bool use_environment_temp = true;                 // read TEMP; false: use temp below
  std::string temp;                                 // empty: no log
};

class CGUI : public Settings {
 public:
  CGUI();
  explicit CGUI(const CguiSources& sources);
  ~CGUI();
  CGUI(const CGUI&) = delete;
  CGUI& operator=(const CGUI&) = delete;

  // Reads the colour file beside the program: 0 read, 1 not opened (greys and a message).
  int read_cfg();
  // The program's own file (or the one the sources name).
  std::string program_path() const;
  // Makes the program font anew for a display scale (dots per inch; 0: the screen's), when
  // the main window goes to a monitor of another scale. The old font is deleted.
  void make_font(int dpi);

  Log flog;
  HFONT font = nullptr;  // owned by font_owner_

 private:
  CguiSources sources_;
  ui::font font_owner_;
};

}  // namespace kelvane
