#pragma once
// Reading the program's own resources.
#include <windows.h>

#include <string>

namespace kelvane::ui {

// The module whose resources the program uses (the executable).
HINSTANCE instance();
// A string-table entry as UTF-8; empty when missing.
std::string load_string(UINT id);
// The status prompt of a command: its string up to the first line end.
std::string command_prompt(UINT id);

}  // namespace kelvane::ui
