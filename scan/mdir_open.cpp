// mdir opening a file of the tree with its associated program, through the Shell seam
// (scan/shell.h).
#include "base/message_box.h"
#include "base/strf.h"
#include "scan/disk_probe.h"
#include "scan/exact_path.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"
#include "scan/shell.h"

namespace kelvane {

int mdir::open_lobj(lobj* p) {
  if (p == nullptr || p->parent == nullptr) return 1;
  // A path formed with such a name would open another file, or none.
  if (const char* name = unnamable_name(*p)) {
    show_message(strf("INVALID NAME: %s !", name), kMessageOk);
    return 1;
  }
  const std::string file = item_path(*p);

  std::string program;
  const int found = shell().find_executable(file, program);
  if (found == kFindFileNotFound) {
    show_message("File not found !", kMessageOk);
    return 2;
  }
  if (found == kFindOutOfMemory) {
    show_message("System out of memory/resources !", kMessageOk);
    return 1;
  }
  if (found == kFindNoAssociation) {
    show_message("No association with this file type !", kMessageOk);
    return 3;
  }
  if (found <= 32 || program.empty()) return 0;

  // The program gets a path it reads as this very file: the plain one where that is exact,
  // else the short form (which programs that take only plain paths still open), else the
  // extended one.
  const std::string argument =
      plain_path_is_exact(file) ? file : program_argument(file, disk_probe().short_path(file));
  const std::string system_folder = shell().system_folder();
  // The program started may see the system folder otherwise than this one does (a 32-bit
  // program on 64-bit Windows): it gets the form of the path it reads as this very file.
  const std::string application = launch_command(program, argument, settings_.iv, system_folder).application;
  const LaunchCommand command =
      launch_command(program, shell().path_for_program(argument, application), settings_.iv, system_folder);
  shell().start_program(command.application, command.command_line);
  return 0;
}

}  // namespace kelvane
