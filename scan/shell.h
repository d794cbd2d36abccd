#pragma once
// The one seam between the item actions and the system shell: deleting a path, finding the
// program associated with a file and starting a program. The program uses the platform's
// calls; tests put a recording fake in place, so that no test deletes or starts anything it
// did not mean to.
#include <string>

namespace kelvane {

// The shell's flags for a deletion.
enum ShellDeleteFlags : unsigned {
  kFofSilent = 0x0004,
  kFofNoConfirmation = 0x0010,
  kFofAllowUndo = 0x0040,
  kFofNoErrorUi = 0x0400,
  kFofWantNukeWarning = 0x4000,
};

// Results of the association lookup at or below 32 are errors (the platform's codes).
enum FindExecutableError : int {
  kFindFileNotFound = 2,
  kFindOutOfMemory = 8,
  kFindNoAssociation = 31,
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Deletes one file or folder (recursively); the shell's result, 0 on success. A question the
  // shell asks (whether to delete for good what the recycle bin cannot take) is owned by the
  // window owner (a window handle; nullptr for none), so that it shows above that window.
  virtual int delete_path(const std::string& path, unsigned flags, void* owner) = 0;
  // The program associated with file (UTF-8 paths). Returns the platform's code: above 32 on
  // success with program filled in (it may be empty), else an error as above.
  virtual int find_executable(const std::string& file, std::string& program) = 0;
  // Starts application with command_line, its window shown normally. False when it did not
  // start.
  virtual bool start_program(const std::string& application, const std::string& command_line) = 0;
  // The system folder, where rundll32.exe lives.
  virtual std::string system_folder() = 0;
  // The form of path that application, once start_program starts it, reads as the entry the
  // program listed (scan/sysnative_path.h: a 32-bit program of a redirected system gets the
  // Sysnative form of a path under the system folder). path itself where nothing differs.
  virtual std::string path_for_program(const std::string& path, const std::string& application) {
    (void)application;
    return path;
  }
};

// The shell in use: the platform's own unless a test replaced it.
Shell& shell();
// Replaces the shell (nullptr restores the platform's); returns the previous replacement.
Shell* set_shell(Shell* replacement);

}  // namespace kelvane
