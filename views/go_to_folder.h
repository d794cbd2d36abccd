#pragma once
// The one way to a folder. A row of the list, a slice of the pie, "..", "\\" and the path field
// all name the folder to show the same way, as a node of the scanned tree or only as a path;
// ask_folder is the one place outside the scan that sets cdir.
#include <string>

#include "scan/mdir.h"

namespace kelvane {

// What going to a folder needs of the left view.
class FolderHost {
 public:
  virtual ~FolderHost() = default;
  virtual void set_path_field(const std::string& text) = 0;
  // Shows cdir: from the tree when it lies inside it (pcur is then the folder), else by a scan.
  virtual void OnDirs() = 0;
};

// The folder asked for: folder, a node of the scanned tree, becomes pcur (nullptr leaves pcur as
// it is) and path becomes cdir. Nothing is shown yet.
void ask_folder(mdir& dir, lobj* folder, const std::string& path);

// Asks for the folder, puts its path into the path field and has the left view show it. host
// nullptr only asks (a list without a view around it).
void go_to_folder(mdir& dir, FolderHost* host, lobj* folder, const std::string& path);

}  // namespace kelvane
