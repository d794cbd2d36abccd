#include "removal/delete_run.h"

#include "base/redirection_off.h"
#include "base/strf.h"
#include "removal/entry_probe.h"
#include "removal/entry_remover.h"
#include "removal/recycle_reach.h"
#include "removal/shell_delete.h"
#include "scan/disk_probe.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <objbase.h>
#endif

namespace kelvane {
namespace {

const char* verdict_name(DeleteVerdict verdict) {
  if (verdict == DeleteVerdict::kChanged) return "changed since the scan";
  if (verdict == DeleteVerdict::kBehindLink) return "behind a link";
  return verdict == DeleteVerdict::kLink ? "a link" : "out of reach";
}

}  // namespace

bool start_delete_run(mdir& dir, std::shared_ptr<DeleteRun> run, std::shared_ptr<DeleteClient> client) {
  return dir.start_delete([run, client](const std::atomic<bool>& stop) {
#ifdef _WIN32
    // A drive without a medium must fail quietly, not stop the deletion with a system box; the
    // shell's deletion may use COM objects of its own, which need the thread's apartment.
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
#endif
    run->run(stop, [client](const std::string& path) {
      if (client) client->delete_progress(path);
    });
#ifdef _WIN32
    if (SUCCEEDED(com)) CoUninitialize();
#endif
    if (client) client->delete_finished(run);
  });
}

DeleteRun::DeleteRun(mdir& dir, const std::vector<lobj*>& nodes, void* owner)
    : log_(dir.log()), recycle_bin_(dir.settings().ud != 0), owner_(owner) {
  if (const lobj* top = dir.ptop.load()) root_path_ = top->root_path;
  root_recorded_ = dir.scan_root_identity(root_id_);
  targets_.reserve(nodes.size());
  for (lobj* node : nodes) {
    DeleteTarget t;
    t.node = node;
    t.path = item_path(*node);
    t.folder_node = node->parent;
    if (node->parent != nullptr) t.folder = node->parent->fpath();
    t.listed.is_dir = node->isdir != 0;
    t.listed.size = node->size.load();
    t.listed.stamp = node->stamp;
    t.way = scanned_folders(*node, &dir.entered_links());
    t.entries = TreeRemover::listing(node);
    total_ += t.entries.size();
    targets_.push_back(std::move(t));
  }
}

void DeleteRun::restamp_after(size_t k) {
  const DeleteTarget& t = targets_[k];
  EntryProbe& probe = entry_probe();
  const auto restamp = [&](lobj* node, const std::string& path, uint32_t listed, uint32_t held) {
    if (node == nullptr || listed == 0) return;  // a folder the scan gave no stamp is compared by none
    uint32_t stamp = held;
    if (recycle_bin_) {
      const DiskEntry now = probe.entry(path);
      if (now.presence == Presence::kPresent && now.is_dir) stamp = now.stamp;
    }
    if (stamp == 0) return;
    restamped_.emplace_back(node, stamp);
    for (size_t later = k + 1; later < targets_.size(); ++later) {
      for (ScannedFolder& folder : targets_[later].way)
        if (folder.path == path) folder.stamp = stamp;
    }
  };
  // The scanned folder itself is known by its identity, which holds no time; so is a link the
  // scan entered, whose path would give its target's stamp rather than its own.
  if (!t.way.empty() && !t.way.back().entered_link)
    restamp(t.folder_node, t.folder, t.way.back().stamp, t.folder_stamp_after);
  std::vector<bool> emptied(t.entries.size(), false);
  for (const RemovalEntry& e : t.entries)
    if (e.removed && e.parent >= 0) emptied[static_cast<size_t>(e.parent)] = true;
  for (size_t i = 0; i < t.entries.size(); ++i) {
    const RemovalEntry& e = t.entries[i];
    if (emptied[i] && !e.removed) restamp(e.node, listed_path(t.entries, i, t.path), e.stamp, e.stamp_after);
  }
}

void DeleteRun::run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& progress) {
  // Every check and removal reads the real entry, never the 32-bit program's redirected view
  // of the system folder; the shell's deletion, which loads DLLs, runs redirected on the
  // path's Sysnative form (scan/shell.cpp).
  RedirectionOff real;
  for (size_t k = 0; k < targets_.size(); ++k) {
    DeleteTarget& t = targets_[k];
    if (stop.load()) return;
    const auto tell = [&] {
      if (progress) progress(deleting_text(t.path, done_, total_));
    };
    tell();
    // Asked again for every entry: a long run gives the drive time to change under it.
    FolderId now;
    const bool readable = root_recorded_ && disk_probe().folder_identity(root_path_, now);
    const DeleteOutcome outcome = delete_entry(
        t, root_state(root_recorded_, root_id_, readable, now), stop,
        [&](size_t n) {
          done_ += n;
          tell();
        },
        [&](const std::string& folder) {
          if (progress) progress(deleting_text(folder, done_, total_));
        });
    bool removed_some = outcome == DeleteOutcome::kDeleted;
    for (const RemovalEntry& e : t.entries) removed_some = removed_some || e.removed;
    if (removed_some) restamp_after(k);
    if (outcome == DeleteOutcome::kDeleted) {
      ++deleted_;
      continue;
    }
    if (outcome == DeleteOutcome::kStopped) return;
    const std::string& named = kept_path_.empty() ? t.path : kept_path_;
    if (outcome == DeleteOutcome::kChanged) {
      message_ = changed_text(named);
    } else if (outcome == DeleteOutcome::kBehindLink) {
      message_ = behind_link_text(t.path);
    } else if (outcome == DeleteOutcome::kNoBin) {
      message_ = no_bin_text(t.path);
    } else if (outcome == DeleteOutcome::kLink || outcome == DeleteOutcome::kHoldsLink) {
      message_ = link_text(t.path, outcome == DeleteOutcome::kHoldsLink, removed_some);
    } else if (outcome == DeleteOutcome::kHoldsVolume) {
      message_ = volume_text(t.path, removed_some);
    } else {
      message_ = strf("Could not delete %s !", named.c_str());
    }
    return;
  }
}

DeleteOutcome DeleteRun::delete_entry(DeleteTarget& target, RootState root, const std::atomic<bool>& stop,
                                      const std::function<void(size_t)>& removed,
                                      const std::function<void(const std::string&)>& looking) {
  if (names_no_single_entry(target.path)) {
    shell_delete(target.path, recycle_bin_, owner_, log_);  // refuses it and logs why
    return DeleteOutcome::kFailed;
  }
  // For good, the program removes the entries itself: the shell's own walk would follow links
  // made while it runs, and cannot be stopped or followed. Every check is made there, on the
  // handles that the removal then acts through.
  if (!recycle_bin_) {
    if (root == RootState::kOther) return DeleteOutcome::kChanged;
    if (root == RootState::kUnreachable) return DeleteOutcome::kFailed;
    return remove_for_good(target, stop, removed);
  }
  // Where the bin cannot take the entry, the shell would ask in a box of its own and then
  // delete it for good its own way, following links: the user asked for the bin.
  if (!recycle_bin_takes(target.path)) {
    if (log_.is_open())
      log_.write("mdir::delete_entry () the recycle bin cannot take: %s\n", target.path.c_str());
    return DeleteOutcome::kNoBin;
  }
  EntryProbe& probe = entry_probe();
  // The way down first: through a folder that is now a link, or another folder, the entry's
  // path names what was never scanned.
  const auto check = [&] {
    DeleteVerdict verdict = DeleteVerdict::kDelete;
    if (root == RootState::kSame || root == RootState::kNotRecorded) verdict = way_verdict(probe, target.way);
    if (verdict == DeleteVerdict::kDelete) {
      const DiskEntry now = probe.entry(target.path);
      DiskEntry folder;
      if (now.presence == Presence::kAbsent) folder = probe.entry(target.folder);
      verdict = delete_verdict(target.listed, root, now, folder);
    }
    return verdict;
  };
  DeleteVerdict verdict = check();
  // The shell takes a folder with everything beneath it, links included, and may take what a
  // link names along with it (Wine's shell does, for every kind of link). That walk may take
  // long: the checks are made again after it, so that nothing slow stands between them and the
  // shell.
  // Windows' shell deletes a link as itself: there the walk is not made.
  if (verdict == DeleteVerdict::kDelete && target.listed.is_dir && probe.shell_follows_links()) {
    const bool link = probe.holds_link(target.path, stop, looking);
    if (stop.load()) {
      if (log_.is_open())
        log_.write("mdir::delete_entry () stopped before the shell: %s\n", target.path.c_str());
      return DeleteOutcome::kStopped;
    }
    if (link) {
      if (log_.is_open()) log_.write("mdir::delete_entry () holds a link: %s\n", target.path.c_str());
      return DeleteOutcome::kHoldsLink;
    }
    verdict = check();
  }
  switch (verdict) {
    case DeleteVerdict::kDelete:
      if (!shell_delete(target.path, recycle_bin_, owner_, log_)) return DeleteOutcome::kFailed;
      if (removed) removed(target.entries.size());
      return DeleteOutcome::kDeleted;
    case DeleteVerdict::kGone:
      // Removed since the scan, as the user wanted: the shell would only fail on it.
      return DeleteOutcome::kDeleted;
    case DeleteVerdict::kChanged:
    case DeleteVerdict::kUnreachable:
    case DeleteVerdict::kLink:
    case DeleteVerdict::kBehindLink:
      break;
  }
  if (log_.is_open())
    log_.write("mdir::delete_entry () %s: %s\n", verdict_name(verdict), target.path.c_str());
  if (verdict == DeleteVerdict::kChanged) return DeleteOutcome::kChanged;
  if (verdict == DeleteVerdict::kBehindLink) return DeleteOutcome::kBehindLink;
  return verdict == DeleteVerdict::kLink ? DeleteOutcome::kLink : DeleteOutcome::kFailed;
}

DeleteOutcome DeleteRun::remove_for_good(DeleteTarget& target, const std::atomic<bool>& stop,
                                         const std::function<void(size_t)>& removed) {
  TreeRemover remover(entry_remover(), stop, [&removed] {
    if (removed) removed(1);
  });
  const RemovalPlace place{root_path_, root_recorded_, root_id_, target.way};
  const RemovalEnd end = remover.remove(target.entries, place);
  target.folder_stamp_after = remover.folder_stamp_after();
  if (end == RemovalEnd::kRemoved) return DeleteOutcome::kDeleted;
  if (log_.is_open()) {
    size_t gone = 0;
    for (const RemovalEntry& e : target.entries) gone += e.removed ? 1 : 0;
    const char* why = end == RemovalEnd::kStopped       ? "stopped"
                      : end == RemovalEnd::kMoved       ? "moved"
                      : end == RemovalEnd::kBehindLink  ? "behind a link"
                      : end == RemovalEnd::kChanged     ? "changed since the scan"
                      : end == RemovalEnd::kLink        ? "a link"
                      : end == RemovalEnd::kUnreachable ? "out of reach"
                      : end == RemovalEnd::kKeepsVolume ? "kept another volume"
                      : end == RemovalEnd::kKeepsLink   ? "kept a link"
                                                        : "kept some";
    log_.write("mdir::delete_entry () %s after %llu of %llu entries: %s\n", why,
               static_cast<unsigned long long>(gone), static_cast<unsigned long long>(target.entries.size()),
               target.path.c_str());
  }
  switch (end) {
    case RemovalEnd::kStopped:
      return DeleteOutcome::kStopped;
    case RemovalEnd::kMoved:
    case RemovalEnd::kChanged:
      return DeleteOutcome::kChanged;
    case RemovalEnd::kBehindLink:
      return DeleteOutcome::kBehindLink;
    case RemovalEnd::kLink:
      return DeleteOutcome::kLink;
    case RemovalEnd::kKeepsLink:
      return DeleteOutcome::kHoldsLink;
    case RemovalEnd::kKeepsVolume:
      return DeleteOutcome::kHoldsVolume;
    case RemovalEnd::kKeepsOther:
      // The entry that stuck is named, not the one chosen: the rest of it may be gone.
      if (remover.stuck() >= 0) {
        if (remover.stuck() > 0)
          kept_path_ = listed_path(target.entries, static_cast<size_t>(remover.stuck()), target.path);
        if (remover.stuck_changed()) return DeleteOutcome::kChanged;
      }
      return DeleteOutcome::kFailed;
    case RemovalEnd::kRemoved:
    case RemovalEnd::kUnreachable:
      break;
  }
  return DeleteOutcome::kFailed;
}

}  // namespace kelvane
