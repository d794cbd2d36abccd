#include "views/go_to_folder.h"

#include "base/message_box.h"
#include "scan/disk_probe.h"
#include "scan/typed_path.h"
#include "views/dir_request.h"

namespace kelvane {

void go_to_folder(mdir& dir, FolderHost* host, const FolderRequest& request) {
  if (host == nullptr) return;
  if (!request.typed) host->set_path_field(request.path);
  if (request.folder != nullptr) dir.pcur = request.folder;
  // Whether a folder lies inside the tree is a question of names, which the platform compares
  // without regard to case; the folder itself is scanned and kept with the case it was typed,
  // since on a case-sensitive folder "data" and "DATA" are two folders.
  const bool inside = !request.typed && dir.ptop.load() != nullptr && dir.pcur.load() != nullptr &&
                      inside_tree(upper_case(request.path), upper_case(dir.path));
  // A typed path names the folder it resolves to; paths from the tree are exact already.
  const TypedPath typed = inside ? TypedPath{} : resolve_typed_path(request.path);
  dir.cdir = typed.valid ? typed.path : request.path;
  host->show_folder_title(dir.cdir);
  dir.isdrv = is_drive_root(dir.cdir) ? 1 : 0;
  if (dir.settings().vl > 0) {
    dir.log().write("  mvwl::OnDirs () pa->mdir.path:%s, pa->mdir.cdir:%s\n", dir.path.c_str(),
                    dir.cdir.c_str());
  }
  if (inside) {
    host->show_from_tree();
    return;
  }
  // A path that names no folder, or a drive the system does not know, is refused before a
  // scan could list an empty root for it; the drives are listed again, as after a failed scan.
  if (!typed.valid || (typed.drive != 0 && !disk_probe().drive_known(typed.drive))) {
    show_message("INVALID PATH !");
    host->show_drives();
    return;
  }
  if (typed.path != request.path) host->set_path_field(typed.path);
  host->scan(typed.path);
}

}  // namespace kelvane
