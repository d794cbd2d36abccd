#pragma once
// The texts of the item actions: Properties, the delete question, the full path of an entry
// and the command line that opens a file. Portable, so that every form can be checked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scan/lobj.h"
#include "scan/mdrv.h"

namespace kelvane {

// "D:\nSize:  ... B\nUsed: ...\nFree: ..." in the size unit.
std::string drive_properties_text(const drive_record& drive, int unit);
// A folder: its path, recursive counts and size. A file: its full path and size.
std::string item_properties_text(const lobj& node, int unit);

// The entry's full path: a folder's own path, a file's folder path and name.
std::string item_path(const lobj& node);

// The question before a deletion: "Delete %s ?" for one entry, "Delete from %s to %s ?" for
// several (the first and the last of them).
std::string delete_question(const std::string& first, const std::string& last, bool several);

// The status bar's message while the entry at path is being deleted: done of total entries
// are gone.
std::string deleting_text(const std::string& path, size_t done, size_t total);

// True when a path holds a wildcard: the shell's deletion would take it as a pattern and
// delete entries the user never chose.
bool has_wildcard(const std::string& path);

// The two data panes of the status bar: the current folder, "D:\\Data Files: 12, Folders: 3"
// (reading the node's counters atomically, so it may run while the scan thread is adding to
// them), and a size, " 1.50 KB" (note the leading blank).
std::string status_folder_text(const lobj& folder);
std::string status_size_text(int64_t bytes, int unit);

// How a file is opened: the program to start and its command line.
struct LaunchCommand {
  std::string application;
  std::string command_line;
};
// program: the associated program's full path; viewer: the picture viewer setting (may be
// empty); system_folder: where rundll32.exe lives.
LaunchCommand launch_command(const std::string& program, const std::string& file, const std::string& viewer,
                             const std::string& system_folder);

}  // namespace kelvane
