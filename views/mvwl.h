#pragma once
// mvwl: the left pane of the splitter. It owns the list control and the slice table, shows
// what the list holds (the drives, or the current folder of the scanned tree), starts the scans
// and deletions go_to_folder and the list's actions ask for, and turns a finished scan into
// rows. The frame's commands reach it through OnEnumDir, OnDrives and set_unit.
#include <windows.h>

#include <memory>
#include <string>

#include "removal/delete_run.h"
#include "res/resource_ids.h"
#include "scan/mdir.h"
#include "ui/view.h"
#include "views/mbox.h"
#include "views/slice_table.h"
#include "views/view_host.h"

namespace kelvane {

class mvwl : public ui::view, public ScanClient, private ListOwner {
 public:
  static constexpr int kListId = ID_CTL_LIST;

  // host: the frame around the view (its status bar, title, unit marks); may be nullptr.
  explicit mvwl(ViewHost* host);
  ~mvwl() override;

  // The path field's request (Enter, F5, the path command): path, as typed, is scanned afresh.
  void OnEnumDir(const std::string& path);
  // Sizes are shown in the unit (0 bytes ... 4 TB) from now on.
  void set_unit(int unit);

  int OnCreate(CREATESTRUCTW* cs) override;
  void OnSize(UINT type, int cx, int cy) override;
  bool waiting() const override;
  void OnDraw(HDC dc) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

  void OnDrives();
  void OnFill() override;
  // The view as the pie's way to a folder.
  FolderHost& folder_host() { return *this; }

  mbox& list() { return list_; }
  // The current folder's entries in list order, for the pie chart. Valid only while the list
  // is in file mode, a tree exists and no scan runs.
  const SliceTable& slices() const { return slices_; }

  // ScanClient: both arrive on the scan thread and are handed to the user-interface thread.
  void scan_progress(const std::string& pattern) override;
  void scan_finished(bool ok, const std::string& message) override;
  // What a deletion run started for this view tells (both calls arrive on the deletion thread
  // and are handed to the user-interface thread). It outlives the view: a run the shell still
  // carries out when the program closes may call it after the view has gone.
  std::shared_ptr<DeleteClient> delete_client();
  // The user's Stop (Esc) during a deletion: the run ends after the entry at hand.
  void stop_deletion();

  struct Relay;  // what the posted calls share with the view

 private:
  // FolderHost
  void set_path_field(const std::string& text) override;
  void show_folder_title(const std::string& folder) override;
  void show_from_tree() override;
  void show_drives() override { list_drives(); }
  void scan(const std::string& path) override;

  bool start_deletion(std::shared_ptr<DeleteRun> run) override;
  void finish_delete(const DeleteRun& run);
  // The tree goes, and with it every record that pointed into it.
  void drop_tree();
  void list_drives();
  void reset_columns(int new_mode);
  void resize_to_client();
  void finish_scan(bool ok, const std::string& message);
  // The status shows the folder the scan reads now (the progress timer's tick).
  void show_progress();
  void invalidate_frame();

  ViewHost* host_;
  SliceTable slices_;
  mbox list_;
  std::shared_ptr<Relay> relay_;
};

}  // namespace kelvane
