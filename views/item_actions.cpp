#include "views/item_actions.h"

#include "base/message_box.h"
#include "base/strf.h"
#include "scan/exact_path.h"
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
    go_to_folder(dir_, owner_, {nullptr, host_.row_text(row)});
    return;
  }
  lobj* top = dir_.ptop.load();
  if (top == nullptr) return;  // the rows name entries of a tree that is gone
  if (row == 0) {
    go_to_folder(dir_, owner_, {top, strf("%c:", top->root_path[0])});
    return;
  }
  if (row == 1 && dir_.isdrv == 0) {
    lobj* cur = dir_.pcur.load();
    if (cur != nullptr && cur->parent != nullptr) {
      go_to_folder(dir_, owner_, {cur->parent, cur->parent->fpath()});
      return;
    }
    // A path typed with '/' separators is scanned as the same folder; its parent is found at
    // either separator.
    std::string parent = dir_.cdir;
    const size_t cut = parent.find_last_of("\\/");
    if (cut != std::string::npos) parent.erase(cut);
    if (settings_.db) show_message(parent, kMessageOk);
    go_to_folder(dir_, owner_, {nullptr, parent});
    return;
  }
  lobj* node = node_of_row(row);
  if (node != nullptr && !node->isdir) {
    dir_.open_lobj(node);
    return;
  }
  // A row whose entry has gone shows the folder asked for before.
  if (node == nullptr) {
    go_to_folder(dir_, owner_, {nullptr, dir_.cdir});
  } else {
    go_to_folder(dir_, owner_, {node, node->fpath()});
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
  std::vector<int> target_rows;
  for (int row : rows) {
    lobj* node = node_of_row(row);
    if (node == nullptr) continue;
    targets.push_back(node);
    target_rows.push_back(row);
  }
  if (targets.empty()) {
    show_message("INVALID SELECTION !", kMessageOk);
    return;
  }
  // A path formed with such a name would delete another entry, or none: nothing is deleted.
  for (lobj* node : targets) {
    if (const char* name = unnamable_name(*node)) {
      show_message(strf("INVALID NAME: %s !", name), kMessageOk);
      return;
    }
  }
  const std::string question =
      delete_question(targets.front()->name, targets.back()->name, targets.size() > 1);
  const lobj* top = dir_.ptop.load();
  if (!ask(question)) return;
  // The answer is about these entries of this tree: if anything moved under the question,
  // nothing is deleted.
  bool same = dir_.ptop.load() == top;
  for (size_t k = 0; same && k < targets.size(); ++k) same = node_of_row(target_rows[k]) == targets[k];
  if (!same) {
    show_message("INVALID SELECTION !", kMessageOk);
    return;
  }

  auto run = std::make_shared<DeleteRun>(dir_, targets, host_.owner_window());
  if (owner_ != nullptr && owner_->start_deletion(run)) return;
  host_.wait_cursor();
  const std::atomic<bool> no_stop{false};
  run->run(no_stop, nullptr);
  finish_delete(*run);
}

bool ItemActions::ask(const std::string& question) {
  int idle = kIdle;
  if (!busy_.compare_exchange_strong(idle, kBusyAsk)) return false;
  const int answer = show_message(question, kMessageYesNo);
  busy_.store(kIdle);
  return answer == kAnswerYes;
}

void ItemActions::finish_delete(const DeleteRun& run) {
  // The entries still on disk stay in the tree and in both panes; nothing after the first of
  // them was attempted, and of that one only what left the disk goes (the topmost of it: a
  // folder takes what it holds along).
  if (dir_.ptop.load() != nullptr) {
    const std::vector<DeleteTarget>& targets = run.targets();
    for (const auto& [folder, stamp] : run.restamped()) folder->stamp = stamp;
    for (size_t k = 0; k < run.deleted() && k < targets.size(); ++k) remove_entry(targets[k].node);
    if (run.deleted() < targets.size()) {
      const std::vector<RemovalEntry>& entries = targets[run.deleted()].entries;
      for (const RemovalEntry& e : entries) {
        if (e.removed && (e.parent < 0 || !entries[static_cast<size_t>(e.parent)].removed))
          remove_entry(e.node);
      }
    }
  }
  if (!run.message().empty()) show_message(run.message(), kMessageOk);
  if (owner_ != nullptr) owner_->OnFill();
}

}  // namespace kelvane
