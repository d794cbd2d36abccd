#pragma once
// The one way to a folder. A row of the list, a slice of the pie, "..", "\\" and the path field
// each ask for a folder as a FolderRequest, and go_to_folder carries it out: it sets cdir, pcur
// and isdrv, and has the left view show the folder from the tree when it lies inside it, or
// scan it.
#include <string>

#include "scan/mdir.h"

namespace kelvane {

struct FolderRequest {
  // The folder as a node of the scanned tree; nullptr when the path alone names it (a drive, a
  // typed path, the folder above the scanned one, a row whose entry has gone): pcur stays.
  lobj* folder = nullptr;
  std::string path;
  // The path field's own text (Enter, F5, the path command): scanned afresh even inside the
  // tree; the field keeps the text as typed unless it resolves to another.
  bool typed = false;
};

// What carrying out a request needs of the left view.
class FolderHost {
 public:
  virtual ~FolderHost() = default;
  virtual void set_path_field(const std::string& text) = 0;
  // The document's title: the folder being shown.
  virtual void show_folder_title(const std::string& folder) = 0;
  // Both panes show pcur's entries from the tree, without a scan.
  virtual void show_from_tree() = 0;
  // The drives are listed again (a path that names no folder was refused).
  virtual void show_drives() = 0;
  // The tree goes and path is scanned; the panes show it when the scan is over.
  virtual void scan(const std::string& path) = 0;
};

// Takes the user to the folder asked for. Only while busy is 0. host nullptr: a list without
// a view around it, where nothing is shown and nothing changes.
void go_to_folder(mdir& dir, FolderHost* host, const FolderRequest& request);

}  // namespace kelvane
