#include "removal/tree_remover.h"

namespace kelvane {

std::vector<RemovalEntry> TreeRemover::listing(lobj* node) {
  std::vector<RemovalEntry> entries;
  if (node == nullptr) return entries;
  entries.push_back(RemovalEntry{node, node->name, -1, node->isdir != 0});
  if (!node->isdir) return entries;
  // The folders beneath the node form one unbroken run after it in the folder list, in
  // pre-order: a folder's own folder is always among the ones met before it.
  std::vector<std::pair<const lobj*, int>> open{{node, 0}};
  for (lobj* folder = node;; folder = folder->next) {
    int index = 0;
    if (folder != node) {
      while (open.size() > 1 && open.back().first != folder->parent) open.pop_back();
      index = static_cast<int>(entries.size());
      entries.push_back(RemovalEntry{folder, folder->name, open.back().second, true});
      open.emplace_back(folder, index);
    }
    for (lobj* file = folder->first; file != nullptr; file = file->next)
      entries.push_back(RemovalEntry{file, file->name, index, false});
    if (folder->next == nullptr || folder->next->depth <= node->depth) break;
  }
  return entries;
}

std::string TreeRemover::folder_place(const std::string& folder, const std::string& root) {
  // The names below the scanned folder as the tree gives them ("D:\\" + "X", "C:\\A" + "\\B").
  if (root.empty() || folder.compare(0, root.size(), root) != 0) return std::string();
  std::string below = folder.substr(root.size());
  if (!below.empty() && below.front() != '\\') below.insert(below.begin(), '\\');
  const std::string top = platform_.place(root);
  return top.empty() ? top : top + below;
}

RemovalEnd TreeRemover::remove(std::vector<RemovalEntry>& entries, const std::string& path,
                               const std::string& folder, const std::string& root) {
  if (entries.empty()) return RemovalEnd::kKeepsOther;
  // Where the chosen entry must be found: in its folder's place under its own name. Each entry
  // beneath must then be found at that place followed by the names the scan listed.
  const std::string base = folder_place(folder, root);
  if (base.empty()) return RemovalEnd::kKeepsOther;
  std::vector<std::string> paths(entries.size());
  std::vector<std::string> places(entries.size());
  paths[0] = path;
  places[0] = base + "\\" + entries[0].name;
  for (size_t i = 1; i < entries.size(); ++i) {
    if (!entries[i].is_dir) continue;
    const auto p = static_cast<size_t>(entries[i].parent);
    paths[i] = paths[p] + "\\" + entries[i].name;
    places[i] = places[p] + "\\" + entries[i].name;
  }
  // Through a folder on the way that is now a link, the entry opens elsewhere: nothing of it
  // is touched.
  if (platform_.place(path) != places[0]) return RemovalEnd::kMoved;
  bool link = false;
  for (size_t k = entries.size(); k-- > 0;) {
    if (stop_.load()) return RemovalEnd::kStopped;
    RemovalEntry& e = entries[k];
    RemoveResult result = RemoveResult::kFailed;
    if (!e.keeps) {
      if (e.is_dir || k == 0) {
        result = platform_.remove(paths[k], places[k], e.is_dir);
      } else {
        const auto p = static_cast<size_t>(e.parent);
        result = platform_.remove(paths[p] + "\\" + e.name, places[p] + "\\" + e.name, false);
      }
    }
    if (result == RemoveResult::kRemoved || result == RemoveResult::kGone) {
      e.removed = true;
      if (removed_one_) removed_one_();
      continue;
    }
    if (result == RemoveResult::kElsewhere) link = true;
    if (e.parent >= 0) entries[static_cast<size_t>(e.parent)].keeps = true;
  }
  if (entries[0].removed) return RemovalEnd::kRemoved;
  return link ? RemovalEnd::kKeepsLink : RemovalEnd::kKeepsOther;
}

}  // namespace kelvane
