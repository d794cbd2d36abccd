#pragma once
// Help and the Info dialog as plain rules, so they are tested without a window: where the
// viewer and the help file are looked for, the viewer's command line, the dialog's link zone,
// the texts of the two variants and how the browser is started.
#include <optional>
#include <string>

#include "base/dpi.h"

namespace kelvane {

// The two stop messages of the Help command.
extern const char kNoViewerMessage[];
extern const char kNoHelpFileMessage[];
// The viewer is started by its bare name, found by the system's program search.
extern const char kViewerName[];

// The viewer whose presence Help checks: WINDIR followed by "\hh.exe"; empty when WINDIR is
// empty (an empty value counts as unset: it would name hh.exe in the root of the current drive).
std::string viewer_path(const std::string& windir);

// The help file: the program's path with its last three characters replaced by "chm"
// (D:\Tools\kelvane.exe gives D:\Tools\kelvane.chm), whatever the length of its extension.
std::string help_file_path(const std::string& program_path);

// "hh.exe " and the help file. A path with a blank is put in quotes, so that the viewer gets
// the whole path as one argument.
std::string help_command_line(const std::string& help_file);

// The link of the Info dialog, in the dialog's client pixels: 68 < x < 182 and 48 < y < 54 at
// 96 DPI, each bound taken to the dialog's display scale.
bool in_link_zone(int x, int y, Dpi dpi = {});

// One line of the Info box: its rectangle in the box's client pixels (the right edge is the
// box's), its font in tenths of a point, whether it is drawn in blue, and its text.
struct InfoLine {
  int left;
  int top;
  int bottom;
  int tenths;
  bool blue;
  std::string text;
};
struct InfoLines {
  InfoLine title;
  InfoLine contact;
  InfoLine link;
};
// The three lines for a program on drive H: or later (highdrive 1: the author's addresses)
// or on an earlier drive (highdrive 0: the maker's).
InfoLines info_lines(int highdrive);

// Where the browser is registered: the default value of this key under HKEY_LOCAL_MACHINE.
extern const char kBrowserKey[];

// A program to start: the program file and its whole command line.
struct ProgramStart {
  std::string application;
  std::string command_line;
};
// The browser's start for an address: the registered path as the application (quotes around
// the registered value are dropped), and the command line of that path, quoted when it holds a
// blank, a blank and the address. Nothing when no browser is registered.
std::optional<ProgramStart> browser_start(const std::optional<std::string>& registered,
                                          const std::string& address);

}  // namespace kelvane
