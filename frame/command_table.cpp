#include "frame/command_table.h"

#include <windows.h>

#include <array>

#include "app/mapp.h"
#include "res/resource_ids.h"
#include "ui/frame_window.h"
#include "views/mvwl.h"
#include "views/mvwr.h"
#include "views/pie_actions.h"

namespace kelvane {
namespace {

void enum_drives(CommandTarget& frame) {
  if (mvwl* left = frame.left_view()) left->OnDrives();
}

void enum_dir(CommandTarget& frame) { frame.scan_path_field(); }

// Sizes shown in bytes (0), KB, MB, GB or TB (4); the setting un names the unit shown.
template <int unit>
void show_unit(CommandTarget& frame) {
  if (mvwl* left = frame.left_view()) left->set_unit(unit);
}

template <int unit>
bool unit_shown(CommandTarget&) {
  return pa->CGUI.un == unit;
}

// Properties, Open and Delete act on the pie's slice when the command came from the pie's
// menu (the pie is the active view then), else on the list's selection.
template <PieAction on_slice, void (mbox::*on_rows)()>
void item_command(CommandTarget& frame) {
  mvwr* pie = frame.right_view();
  if (pie != nullptr && ui::view::active() == pie) {
    pie->OnSlice(on_slice);
  } else if (mvwl* left = frame.left_view()) {
    (left->list().*on_rows)();
  }
}

void exit_program(CommandTarget& frame) { PostMessageW(frame.window().hwnd(), WM_CLOSE, 0, 0); }

void toggle_toolbar(CommandTarget& frame) { frame.window().toggle_bar(ID_CMD_TOOLBAR); }
bool toolbar_shown(CommandTarget& frame) { return frame.window().bar_visible(ID_CMD_TOOLBAR); }
void toggle_status_bar(CommandTarget& frame) { frame.window().toggle_bar(ID_CMD_STATUS_BAR); }
bool status_bar_shown(CommandTarget& frame) { return frame.window().bar_visible(ID_CMD_STATUS_BAR); }

constexpr std::array kCommands{
    Command{ID_CMD_ENUM_DRIVES, enum_drives, nullptr},
    Command{ID_CMD_ENUM_DIR, enum_dir, nullptr},
    Command{ID_CMD_EXIT, exit_program, nullptr},
    Command{ID_CMD_UNIT_BYTES, show_unit<0>, unit_shown<0>},
    Command{ID_CMD_UNIT_KB, show_unit<1>, unit_shown<1>},
    Command{ID_CMD_UNIT_MB, show_unit<2>, unit_shown<2>},
    Command{ID_CMD_UNIT_GB, show_unit<3>, unit_shown<3>},
    Command{ID_CMD_UNIT_TB, show_unit<4>, unit_shown<4>},
    Command{ID_CMD_TOOLBAR, toggle_toolbar, toolbar_shown},
    Command{ID_CMD_STATUS_BAR, toggle_status_bar, status_bar_shown},
    Command{ID_CMD_PROPERTIES, item_command<kPieProperties, &mbox::OnProp>, nullptr},
    Command{ID_CMD_OPEN, item_command<kPieOpen, &mbox::OnOpen>, nullptr},
    Command{ID_CMD_DELETE, item_command<kPieDelete, &mbox::OnDelete>, nullptr},
};

}  // namespace

std::span<const Command> command_table() { return kCommands; }

const Command* find_command(int id) {
  for (const Command& command : kCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

}  // namespace kelvane
