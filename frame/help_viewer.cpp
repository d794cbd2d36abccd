#include "frame/help_viewer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "base/message_box.h"
#include "base/utf8_path.h"
#include "frame/help_rules.h"
#include "scan/shell.h"

namespace kelvane {
namespace {

bool readable(const std::string& path) {
  std::FILE* file = open_utf8_file(path, "rt");
  if (!file) return false;
  std::fclose(file);
  return true;
}

}  // namespace

void show_help(const std::string& program_path) {
  // The wide environment, so that a Windows folder outside the ANSI code page is found too.
  const wchar_t* windir = _wgetenv(L"WINDIR");
  const std::string viewer = viewer_path(windir ? narrow(windir) : std::string());
  if (viewer.empty() || !readable(viewer)) {
    show_message(kNoViewerMessage, kMessageStop);
    return;
  }
  const std::string help_file = help_file_path(program_path);
  if (!readable(help_file)) {
    show_message(kNoHelpFileMessage, kMessageStop);
    return;
  }
  shell().start_program(kViewerName, help_command_line(help_file));
}

}  // namespace kelvane
