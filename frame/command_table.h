#pragma once
// Every command of the menus, the toolbar and the context menus that the main frame carries out,
// declared once: what it does and, for the five units and the two bars, whether its menu item
// is checked and its toolbar button pressed. The frame routes these and sets every mark from
// here; Help and Info pass on to the application object, which handles them.
#include <span>

#include "frame/command_target.h"

namespace kelvane {

struct Command {
  int id;
  void (*run)(CommandTarget& frame);
  // Whether the menu item is checked and the button pressed; nullptr: the command has no mark.
  bool (*marked)(CommandTarget& frame);
};

// Every command, in the order of the menus.
std::span<const Command> command_table();

// The command with the id, or nullptr.
const Command* find_command(int id);

}  // namespace kelvane
