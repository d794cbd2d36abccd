#pragma once
// Properties, Open and Delete on the left list's selection, kept out of the window code: the
// list answers through ItemHost, so tests drive the decisions with a fake list.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "removal/delete_run.h"
#include "scan/mdir.h"
#include "scan/mdrv.h"
#include "views/go_to_folder.h"
#include "views/list_geometry.h"
#include "views/slice_table.h"

namespace kelvane {

// What the list and its actions read and change, all owned elsewhere.
struct ListContext {
  mdir& dir;
  mdrv& drives;
  SliceTable& slices;
  const Settings& settings;
  std::atomic<int>& busy;  // the actions hold it while their question is up
  Log& log;
};

// What the actions need of the list control.
class ItemHost {
 public:
  virtual ~ItemHost() = default;
  virtual int list_mode() = 0;  // kListDrives or kListFiles
  virtual int row_count() = 0;
  virtual std::vector<int> selected_rows() = 0;  // ascending
  virtual std::string row_text(int row) = 0;
  virtual void wait_cursor() = 0;
  // The main window (a window handle), which owns what the shell asks during a deletion;
  // nullptr for none.
  virtual void* owner_window() { return nullptr; }
};

// The view around the list, which takes over after Open (the folder opened) and Delete (OnFill).
class ListOwner : public FolderHost {
 public:
  virtual void OnFill() = 0;
  // Takes over a confirmed run of deletions: starts it away from the user-interface thread
  // and hands it back to ItemActions::finish_delete when it is over. False when the owner
  // does not: the run is then carried out at once.
  virtual bool start_deletion(std::shared_ptr<DeleteRun>) { return false; }
};

class ItemActions {
 public:
  // owner: the view around the list, or nullptr (then Open and Delete refill nothing).
  ItemActions(const ListContext& context, ItemHost& host, ListOwner* owner)
      : dir_(context.dir),
        drives_(context.drives),
        slices_(context.slices),
        settings_(context.settings),
        busy_(context.busy),
        host_(host),
        owner_(owner) {}

  void OnProp();
  void OnOpen();
  // Up one level, as the ".." row; nothing where there is no such row.
  void OnUp();
  void OnDelete();
  // After a run of deletions: the entries gone from disk leave the tree and both panes, and
  // the run's message, if any, is shown. On the user-interface thread, while busy is still set.
  void finish_delete(const DeleteRun& run);

  // The node a row of the file list stands for, or nullptr (navigation rows, rows beyond the
  // table, entries that have gone, no tree, drive mode).
  lobj* node_of_row(int row);
  int lead() const;

 private:
  int first_selected();
  // What a double-click on the row does.
  void open_row(int row);
  // Removes a deleted entry from the tree, taking its sizes and counts off its ancestors.
  void remove_entry(lobj* node);
  // Asks the Yes/No question with busy held, so that nothing else starts while it is up (keys,
  // clicks and commands posted meanwhile are refused); true for Yes.
  bool ask(const std::string& question);

  mdir& dir_;
  mdrv& drives_;
  SliceTable& slices_;
  const Settings& settings_;
  std::atomic<int>& busy_;
  ItemHost& host_;
  ListOwner* owner_;
};

}  // namespace kelvane
