#pragma once
// The keys of the left list that act on its rows, decided apart from the window code.
#include "views/list_geometry.h"

namespace kelvane {

enum class ListKeyAction { kNone, kOpen, kUp };

// What a key pressed in the left list does: Enter opens the selected row as a double-click
// does; Backspace goes up as the ".." row does, which only a folder below a drive root has.
// Nothing while a scan runs. Every other key keeps its old meaning (kNone).
ListKeyAction list_key_action(unsigned virtual_key, int mode, bool busy, bool has_selection, int isdrv);

}  // namespace kelvane
