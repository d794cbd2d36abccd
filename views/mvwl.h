#pragma once
// mvwl: the left pane of the splitter. This first version only paints its caption band and
// answers the frame's calls; the list of drives, files and folders comes with the real view.
//
// The frame relies on: OnEnumDir() (Enter/F5), OnCommandRange(id) for 199..205 (reached through
// on_command), OnToolTip(request) for the toolbar's tooltip requests of 199..205.
#include <windows.h>

#include "ui/view.h"

namespace kelvane {

class mvwl : public ui::view {
 public:
  mvwl();
  ~mvwl() override;

  void OnEnumDir();
  void OnCommandRange(int id);
  // A TTN_NEEDTEXT request of the toolbar; true when answered.
  bool OnToolTip(NMHDR* request);

  void OnDraw(HDC dc) override;
  bool on_command(int id) override;
};

}  // namespace kelvane
