#include "removal/tree_remover.h"

#include <algorithm>

namespace kelvane {

std::vector<RemovalEntry> TreeRemover::listing(lobj* node) {
  std::vector<RemovalEntry> entries;
  if (node == nullptr) return entries;
  const auto entry = [](lobj* n, int parent) {
    return RemovalEntry{n, n->name, parent, n->isdir != 0, n->isdir ? 0 : n->size.load(), n->stamp};
  };
  entries.push_back(entry(node, -1));
  if (!node->isdir) return entries;
  // The folders beneath the node form one unbroken run after it in the folder list, in
  // pre-order: a folder's own folder is always among the ones met before it.
  std::vector<std::pair<const lobj*, int>> open{{node, 0}};
  for (lobj* folder = node;; folder = folder->next) {
    int index = 0;
    if (folder != node) {
      while (open.size() > 1 && open.back().first != folder->parent) open.pop_back();
      index = static_cast<int>(entries.size());
      entries.push_back(entry(folder, open.back().second));
      open.emplace_back(folder, index);
    }
    for (lobj* file = folder->first; file != nullptr; file = file->next)
      entries.push_back(entry(file, index));
    if (folder->next == nullptr || folder->next->depth <= node->depth) break;
  }
  return entries;
}

std::string listed_path(const std::vector<RemovalEntry>& entries, size_t index, const std::string& path) {
  std::vector<const char*> names;
  for (size_t i = index; i != 0 && i < entries.size(); i = static_cast<size_t>(entries[i].parent))
    names.push_back(entries[i].name);
  std::string full = path;
  for (auto n = names.rbegin(); n != names.rend(); ++n) full += std::string("\\") + *n;
  return full;
}

void TreeRemover::mark_removed(RemovalEntry& e) {
  e.removed = true;
  if (removed_one_) removed_one_();
}

void TreeRemover::keep(std::vector<RemovalEntry>& entries, size_t index, OpenResult why) {
  RemovalEntry& e = entries[index];
  if (e.parent >= 0) entries[static_cast<size_t>(e.parent)].keeps = true;
  if (why == OpenResult::kLink) link_ = true;
  if (why == OpenResult::kOtherVolume) volume_ = true;
  // A folder kept only for what it keeps is no reason of its own.
  if (stuck_ < 0 && !e.keeps && why != OpenResult::kLink && why != OpenResult::kOtherVolume) {
    stuck_ = static_cast<int>(index);
    stuck_changed_ = why == OpenResult::kChanged;
  }
}

void TreeRemover::recount(std::vector<RemovalEntry>& entries, const OpenEntry& dir, size_t folder) {
  std::vector<std::string> names;
  if (!platform_.names(dir, names)) return;
  std::sort(names.begin(), names.end());
  std::vector<std::string> listed;
  for (size_t child : children_[folder]) {
    RemovalEntry& e = entries[child];
    listed.emplace_back(e.name);
    if (e.removed && std::binary_search(names.begin(), names.end(), listed.back())) {
      e.removed = false;
      keep(entries, child, OpenResult::kFailed);
    }
  }
  // Where a folder's stamp does not follow what it holds (on Windows its creation time stays),
  // an entry made in it since the scan shows only here.
  std::sort(listed.begin(), listed.end());
  for (const std::string& name : names) {
    if (!std::binary_search(listed.begin(), listed.end(), name)) {
      keep(entries, folder, OpenResult::kChanged);
      return;
    }
  }
}

void TreeRemover::mark_beneath_removed(std::vector<RemovalEntry>& entries, size_t index) {
  for (size_t child : children_[index]) {
    mark_removed(entries[child]);
    mark_beneath_removed(entries, child);
  }
}

bool TreeRemover::remove_opened(std::vector<RemovalEntry>& entries, OpenEntry& opened, size_t index) {
  RemovalEntry& e = entries[index];
  // A link opened as itself is never gone into: its removal takes the link alone (a junction's
  // own folder is empty), so what it names stays where it is.
  const bool descend = e.is_dir && !opened.link_itself;
  if (descend) remove_below(entries, opened, index);
  if (!e.keeps && !stopping() && platform_.remove(opened, e.is_dir) == RemoveResult::kRemoved) return true;
  if (descend) {
    recount(entries, opened, index);
    e.stamp_after = platform_.stamp(opened);
  }
  return false;
}

void TreeRemover::remove_below(std::vector<RemovalEntry>& entries, OpenEntry& dir, size_t folder) {
  const std::vector<size_t>& below = children_[folder];
  for (auto at = below.rbegin(); at != below.rend(); ++at) {
    if (stopping()) return;
    const size_t k = *at;
    RemovalEntry& e = entries[k];
    OpenEntry opened;
    const OpenResult found =
        platform_.open(dir, e.name, ListedEntry{e.is_dir, e.size, e.stamp}, false, opened);
    if (found == OpenResult::kGone) {
      mark_removed(e);
      continue;
    }
    if (found != OpenResult::kOpened) {
      keep(entries, k, found);
      continue;
    }
    if (remove_opened(entries, opened, k)) {
      mark_removed(e);
      if (opened.link_itself) mark_beneath_removed(entries, k);
    } else {
      keep(entries, k, OpenResult::kFailed);
    }
    platform_.close(opened);
    if (stopped_) return;
  }
}

RemovalEnd TreeRemover::remove(std::vector<RemovalEntry>& entries, const RemovalPlace& place) {
  if (entries.empty()) return RemovalEnd::kKeepsOther;
  children_.assign(entries.size(), {});
  for (size_t i = 1; i < entries.size(); ++i) children_[static_cast<size_t>(entries[i].parent)].push_back(i);

  std::vector<OpenEntry> held(1);
  OpenResult step = platform_.open_root(place.root, place.root_recorded ? &place.root_id : nullptr, held[0]);
  RemovalEnd end = step == OpenResult::kOpened    ? RemovalEnd::kRemoved
                   : step == OpenResult::kChanged ? RemovalEnd::kMoved
                                                  : RemovalEnd::kUnreachable;
  if (end != RemovalEnd::kRemoved) return end;
  // The way down, each folder inside the one above it: the entry's place is where the scan
  // found it, or nothing is touched. A link the scan entered is followed, to the folder it
  // entered or nowhere; any other link on the way is a way the scan did not take.
  for (const ScannedFolder& folder : place.way) {
    OpenEntry next;
    step = folder.entered_link
               ? platform_.open_through(held.back(), folder.name, folder.target, next)
               : platform_.open(held.back(), folder.name, ListedEntry{true, 0, folder.stamp}, true, next);
    if (step != OpenResult::kOpened) {
      end = step == OpenResult::kGone || step == OpenResult::kFailed ? RemovalEnd::kUnreachable
            : step == OpenResult::kLink                              ? RemovalEnd::kBehindLink
                                                                     : RemovalEnd::kMoved;
      break;
    }
    held.push_back(std::move(next));
  }
  if (end == RemovalEnd::kRemoved) {
    RemovalEntry& top = entries[0];
    OpenEntry opened;
    step = platform_.open(held.back(), top.name, ListedEntry{top.is_dir, top.size, top.stamp}, false, opened);
    if (step == OpenResult::kGone) {
      // Gone from a folder that is there: so is everything that was beneath it.
      for (RemovalEntry& e : entries) mark_removed(e);
    } else if (step == OpenResult::kChanged) {
      end = RemovalEnd::kChanged;
    } else if (step == OpenResult::kLink) {
      end = RemovalEnd::kLink;
    } else if (step != OpenResult::kOpened) {
      keep(entries, 0, step);
      end = step == OpenResult::kOtherVolume ? RemovalEnd::kKeepsVolume : RemovalEnd::kKeepsOther;
    } else {
      bool removed = remove_opened(entries, opened, 0);
      platform_.close(opened);
      // The entry goes as its last handle closes: it is asked for once more, by its exact name,
      // as the file system may refuse that last step without a word (Wine does, for a folder
      // that may not be written).
      if (removed && platform_.find(held.back(), top.name) != Presence::kAbsent) removed = false;
      if (removed) {
        mark_removed(top);
        if (opened.link_itself) mark_beneath_removed(entries, 0);
      } else if (stopped_) {
        end = RemovalEnd::kStopped;
      } else {
        keep(entries, 0, OpenResult::kFailed);
        end = volume_ ? RemovalEnd::kKeepsVolume : link_ ? RemovalEnd::kKeepsLink : RemovalEnd::kKeepsOther;
      }
    }
    folder_stamp_after_ = platform_.stamp(held.back());
  }
  for (auto h = held.rbegin(); h != held.rend(); ++h) platform_.close(*h);
  return end;
}

}  // namespace kelvane
