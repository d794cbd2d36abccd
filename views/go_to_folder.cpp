#include "views/go_to_folder.h"

namespace kelvane {

void ask_folder(mdir& dir, lobj* folder, const std::string& path) {
  if (folder != nullptr) dir.pcur = folder;
  dir.cdir = path;
}

void go_to_folder(mdir& dir, FolderHost* host, lobj* folder, const std::string& path) {
  ask_folder(dir, folder, path);
  if (host == nullptr) return;
  host->set_path_field(dir.cdir);
  host->OnDirs();
}

}  // namespace kelvane
