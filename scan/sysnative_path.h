#pragma once
// The Sysnative form of a path under the system folder.
//
// A 32-bit program on 64-bit Windows is redirected: "<windows>\System32\x" opens
// "<windows>\SysWOW64\x" (base/redirection_off.h). Where the program cannot turn that off
// because the call may load DLLs (the shell's deletion, the association lookup, a 32-bit
// program it starts), it names the real folder as "<windows>\Sysnative", an alias that such a
// process alone sees (a 64-bit program, and a 32-bit one on 32-bit Windows, has no Sysnative).
#include <string>

namespace kelvane {

// path with its "<windows_folder>\System32" part (in any case of letters, plain or in the
// extended form "\\?\D:\...") written "<windows_folder>\Sysnative"; any other path as it is,
// among them one whose component merely starts with the same letters ("System32x").
std::string sysnative_form(const std::string& path, const std::string& windows_folder);

}  // namespace kelvane
