#pragma once
// The input side of the pie chart, kept out of the window code: a click or a context-menu
// request becomes a slice of the left view's table and an action on its entry (Properties,
// Open, Delete), and a resting pointer the tooltip's text. The view answers through PieHost,
// so tests drive the decisions with a fake.
#include <atomic>
#include <string>

#include "base/settings.h"
#include "scan/mdir.h"
#include "views/go_to_folder.h"
#include "views/pie_painter.h"
#include "views/slice_table.h"

namespace kelvane {

// What the actions need of the left view and its list.
class PieHost {
 public:
  virtual ~PieHost() = default;
  // The left view's slice table, or nullptr when there is no left view.
  virtual const SliceTable* slice_table() = 0;
  // The left view, which shows a folder opened on the pie; nullptr when there is none.
  virtual FolderHost* folder_host() = 0;
  // The list's selection becomes this one row and nothing else.
  virtual void select_only_row(int row) = 0;
  // The list's own Delete, with its question.
  virtual void delete_selection() = 0;
};

enum PieAction : int { kPieProperties = 0, kPieOpen = 1, kPieDelete = 2 };

class PieActions {
 public:
  PieActions(mdir& dir, const Settings& settings, const std::atomic<int>& busy, PieHost& host)
      : dir_(dir), settings_(settings), busy_(busy), host_(host) {}

  // The last click relative to the centre (y upwards), the centre and the radius of the last
  // pie drawn.
  int dx = 0;
  int dy = 0;
  int xo = 0;
  int yo = 0;
  int rd = 0;

  // Takes what a paint left: the centre always, the radius when a pie fitted, and whether
  // it drew a disc for the tree that exists now.
  void painted(const PieDrawn& drawn);

  // Client coordinates. The click is stored unless a scan runs; on a slice it opens it.
  void OnLButtonDown(int x, int y);
  // Stores the point; true when the menu of files and folders is to be shown for it.
  bool OnContextMenu(int x, int y);
  // Acts on the slice under the stored click.
  void OnSlice(int action);

  // The record under a client point, or -1: off the disc, no pie drawn for this tree, or a
  // scan running.
  int slice_under(int x, int y) const;
  // "name: size, share %" for the slice under a client point, or "" when there is none.
  std::string tip_text(int x, int y) const;

 private:
  // A pie of the tree that exists now was drawn by the last paint, and no scan runs.
  bool pie_shown() const;
  int record_at(int rx, int ry) const;

  mdir& dir_;
  const Settings& settings_;
  const std::atomic<int>& busy_;
  PieHost& host_;
  bool disc_ = false;
  const lobj* painted_tree_ = nullptr;
};

// The tooltip's text for an entry of a folder of folder_size bytes, size in the unit.
std::string pie_tip_text(const lobj& node, int64_t folder_size, int unit);

}  // namespace kelvane
