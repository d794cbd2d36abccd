#include "frame/help_rules.h"

namespace kelvane {

const char kNoViewerMessage[] = "Could not show help,\nbecause hh.exe is missing !\n";
const char kNoHelpFileMessage[] = "Could not show help,\nbecause *.chm in Programdirectory is missing !\n";
const char kViewerName[] = "hh.exe";
const char kBrowserKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

namespace {

// A path as one argument of a command line.
std::string argument(const std::string& path) {
  if (path.find(' ') == std::string::npos) return path;
  return "\"" + path + "\"";
}

}  // namespace

std::string viewer_path(const std::string& windir) {
  if (windir.empty()) return std::string();
  return windir + "\\hh.exe";
}

std::string help_file_path(const std::string& program_path) {
  const size_t keep = program_path.size() >= 3 ? program_path.size() - 3 : 0;
  return program_path.substr(0, keep) + "chm";
}

std::string help_command_line(const std::string& help_file) {
  return std::string(kViewerName) + " " + argument(help_file);
}

bool in_link_zone(int x, int y, Dpi dpi) {
  return x > dpi.px(68) && x < dpi.px(182) && y > dpi.px(48) && y < dpi.px(54);
}

InfoLines info_lines(int highdrive) {
  InfoLines lines{
      {5, 5, 20, 90, false, "Kelvane, Version 1.01"},
      {5, 25, 45, 85, false, "Development & Design"},
      {5, 40, 60, 85, true, "www.example.com/kelvane"},
  };
  if (highdrive) {
    lines.contact.text = "author@example.org";
    lines.link.text = "www.example.org/author";
  }
  return lines;
}

std::optional<ProgramStart> browser_start(const std::optional<std::string>& registered,
                                          const std::string& address) {
  if (!registered || registered->empty()) return std::nullopt;
  std::string program = *registered;
  if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
    program = program.substr(1, program.size() - 2);
  if (program.empty()) return std::nullopt;
  return ProgramStart{program, argument(program) + " " + address};
}

}  // namespace kelvane
