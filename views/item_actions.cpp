#include "views/item_actions.h"

#include "base/message_box.h"
#include "base/strf.h"
#include "scan/item_texts.h"
#include "views/list_geometry.h"

namespace kelvane {

int ItemActions::lead() const { return lead_rows(dir_.isdrv); }

int ItemActions::first_selected() {
  const std::vector<int> rows = host_.selected_rows();
  return rows.empty() ? -1 : rows.front();
}

lobj* ItemActions::node_of_row(int row) {
  if (host_.list_mode() != kListFiles || dir_.ptop.load() == nullptr) return nullptr;
  if (row < 0 || row >= host_.row_count()) return nullptr;
  return slices_.node(item_of_row(row, lead()));
}

void ItemActions::OnProp() {
  if (busy_.load() != 0) return;
  const int row = first_selected();
  if (row < 0) return;
  if (host_.list_mode() == kListDrives) {
    if (row >= host_.row_count() || row >= 26) return;
    show_message(drive_properties_text(drives_.drives[row], settings_.un), kMessageInfo);
    return;
  }
  lobj* node = node_of_row(row);
  if (node == nullptr) return;
  show_message(item_properties_text(*node, settings_.un), kMessageInfo);
}

void ItemActions::OnOpen() { open_row(first_selected()); }

void ItemActions::OnUp() {
  if (host_.list_mode() == kListFiles && lead() == 2) open_row(1);
}

void ItemActions::open_row(int row) {
  if (busy_.load() != 0) return;
  if (row < 0) return;

  if (host_.list_mode() == kListDrives) {
    go_to_folder(dir_, owner_, nullptr, host_.row_text(row));
    return;
  }
  lobj* top = dir_.ptop.load();
  if (top == nullptr) return;  // the rows name entries of a tree that is gone
  if (row == 0) {
    go_to_folder(dir_, owner_, top, strf("%c:", top->root_path[0]));
    return;
  }
  if (row == 1 && dir_.isdrv == 0) {
    lobj* cur = dir_.pcur.load();
    if (cur != nullptr && cur->parent != nullptr) {
      go_to_folder(dir_, owner_, cur->parent, cur->parent->fpath());
      return;
    }
    // A path typed with '/' separators is scanned as the same folder; its parent is found at
    // either separator.
    std::string parent = dir_.cdir;
    const size_t cut = parent.find_last_of("\\/");
    if (cut != std::string::npos) parent.erase(cut);
    if (settings_.db) show_message(parent, kMessageOk);
    go_to_folder(dir_, owner_, nullptr, parent);
    return;
  }
  lobj* node = node_of_row(row);
  if (node != nullptr && !node->isdir) {
    dir_.open_lobj(node);
    return;
  }
  // A row whose entry has gone shows the folder asked for before.
  if (node == nullptr) {
    go_to_folder(dir_, owner_, nullptr, dir_.cdir);
  } else {
    go_to_folder(dir_, owner_, node, node->fpath());
  }
}

void ItemActions::remove_entry(lobj* node) {
  dir_.take_off_ancestors(node);
  host_.wait_cursor();
  if (settings_.db) show_message("START remv_lobj ()", kMessageOk);
  // The record must not point at the node once it is freed, even before the refill.
  slices_.forget(node);
  dir_.remv_lobj(node, 0);
  if (settings_.db) show_message("ENDE  remv_lobj ()", kMessageOk);
}

void ItemActions::OnDelete() {
  if (busy_.load() != 0) return;
  if (host_.list_mode() == kListDrives) {
    show_message("INVALID OPERATION !", kMessageOk);
    return;
  }
  const std::vector<int> rows = host_.selected_rows();
  if (rows.empty() || item_of_row(rows.front(), lead()) < 0) {
    show_message("INVALID SELECTION !", kMessageOk);
    return;
  }
  // Exactly the selected entries: rows between them that are not selected stay.
  std::vector<lobj*> targets;
  for (int row : rows) {
    lobj* node = node_of_row(row);
    if (node != nullptr) targets.push_back(node);
  }
  if (targets.empty()) {
    show_message("INVALID SELECTION !", kMessageOk);
    return;
  }
  const std::string question =
      delete_question(targets.front()->name, targets.back()->name, targets.size() > 1);
  if (show_message(question, kMessageYesNo) != kAnswerYes) return;

  for (lobj* node : targets) {
    const std::string target = item_path(*node);
    if (dir_.SHFileOperation(target) != 0) {
      // The entry is still on disk: it stays in the tree and in both panes, and nothing after
      // it is attempted.
      show_message(strf("Could not delete %s !", target.c_str()), kMessageOk);
      break;
    }
    remove_entry(node);
  }

  if (owner_ != nullptr) owner_->OnFill();
}

}  // namespace kelvane
