#include "scan/delete_run.h"

#include "base/strf.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"

namespace kelvane {

DeleteRun::DeleteRun(mdir& dir, const std::vector<lobj*>& nodes) : dir_(dir) {
  if (const lobj* top = dir.ptop.load()) root_path_ = top->root_path;
  root_recorded_ = dir.scan_root_identity(root_id_);
  targets_.reserve(nodes.size());
  for (lobj* node : nodes) {
    DeleteTarget t;
    t.node = node;
    t.path = item_path(*node);
    if (node->parent != nullptr) t.folder = node->parent->fpath();
    t.listed.is_dir = node->isdir != 0;
    t.listed.size = node->size.load();
    t.entries = TreeRemover::listing(node);
    total_ += t.entries.size();
    targets_.push_back(std::move(t));
  }
}

void DeleteRun::run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& progress) {
  for (DeleteTarget& t : targets_) {
    if (stop.load()) return;
    const auto tell = [&] {
      if (progress) progress(deleting_text(t.path, done_, total_));
    };
    tell();
    // Asked again for every entry: a long run gives the drive time to change under it.
    FolderId now;
    const bool readable = root_recorded_ && disk_probe().folder_identity(root_path_, now);
    const DeleteOutcome outcome =
        dir_.delete_entry(t, root_state(root_recorded_, root_id_, readable, now), stop, [&](size_t n) {
          done_ += n;
          tell();
        });
    if (outcome == DeleteOutcome::kDeleted) {
      ++deleted_;
      continue;
    }
    if (outcome == DeleteOutcome::kStopped) return;
    if (outcome == DeleteOutcome::kChanged) {
      message_ = changed_text(t.path);
    } else if (outcome == DeleteOutcome::kLink || outcome == DeleteOutcome::kHoldsLink) {
      message_ = link_text(t.path, outcome == DeleteOutcome::kHoldsLink);
    } else {
      message_ = strf("Could not delete %s !", t.path.c_str());
    }
    return;
  }
}

}  // namespace kelvane
