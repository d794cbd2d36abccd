#include "tests/support/memory_dir_source.h"

#include "base/ascii_case.h"

namespace kelvane {
namespace {

// Links may point at links; a chain longer than this is taken as a loop and names nothing.
constexpr int kMaxHops = 32;

}  // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
  // Windows lets "*.*" match names without a dot too.
  if (pattern == "*.*") return true;
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || ascii_upper(pattern[p]) == ascii_upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

MemoryDirSource::MemoryDirSource() {
  nodes_.emplace_back();
  nodes_[0].is_dir = true;
}

std::vector<std::string_view> MemoryDirSource::split(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

int MemoryDirSource::child(int folder, std::string_view name) const {
  for (int c : nodes_[static_cast<size_t>(folder)].children)
    if (same_ascii_letters(nodes_[static_cast<size_t>(c)].name, name)) return c;
  return -1;
}

int MemoryDirSource::resolve(int node, int hops) const {
  while (node >= 0 && nodes_[static_cast<size_t>(node)].is_link && nodes_[static_cast<size_t>(node)].is_dir) {
    if (hops++ > kMaxHops) return -1;
    const std::string& target = nodes_[static_cast<size_t>(node)].target;
    int at = 0;
    for (std::string_view part : split(target)) {
      at = resolve(at, hops);
      if (at < 0) return -1;
      at = child(at, part);
      if (at < 0) return -1;
    }
    node = at;
  }
  return node;
}

int MemoryDirSource::find(std::string_view path, bool follow_last) const {
  const std::vector<std::string_view> parts = split(path);
  if (parts.empty()) return -1;
  int at = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    at = resolve(at, 0);
    if (at < 0 || !nodes_[static_cast<size_t>(at)].is_dir) return -1;
    at = child(at, parts[i]);
    if (at < 0) return -1;
  }
  return follow_last ? resolve(at, 0) : at;
}

int MemoryDirSource::make(const std::string& path) {
  int at = 0;
  for (std::string_view part : split(path)) {
    int next = child(at, part);
    if (next < 0) {
      next = static_cast<int>(nodes_.size());
      Node n;
      n.name = std::string(part);
      n.is_dir = true;
      n.parent = at;
      nodes_.push_back(std::move(n));
      nodes_[static_cast<size_t>(at)].children.push_back(next);
    }
    at = next;
  }
  return at;
}

int MemoryDirSource::add_folder(const std::string& path) {
  const int at = make(path);
  Node& n = nodes_[static_cast<size_t>(at)];
  n.is_dir = true;
  n.is_link = false;
  n.size = 0;
  return at;
}

void MemoryDirSource::add_file(const std::string& path, uint64_t size) {
  Node& n = nodes_[static_cast<size_t>(make(path))];
  n.is_dir = false;
  n.is_link = false;
  n.size = size;
  n.children.clear();
}

void MemoryDirSource::add_link(const std::string& path, const std::string& target) {
  Node& n = nodes_[static_cast<size_t>(make(path))];
  n.is_dir = true;
  n.is_link = true;
  n.size = 0;
  n.target = target;
  n.children.clear();
}

void MemoryDirSource::add_file_link(const std::string& path) {
  Node& n = nodes_[static_cast<size_t>(make(path))];
  n.is_dir = false;
  n.is_link = true;
  n.size = 0;
  n.children.clear();
}

int MemoryDirSource::append(int folder, std::string_view name, bool is_dir, uint64_t size) {
  const int at = static_cast<int>(nodes_.size());
  Node n;
  n.name = std::string(name);
  n.is_dir = is_dir;
  n.size = size;
  n.parent = folder;
  nodes_.push_back(std::move(n));
  nodes_[static_cast<size_t>(folder)].children.push_back(at);
  return at;
}

void MemoryDirSource::set_unreadable(const std::string& path) {
  nodes_[static_cast<size_t>(make(path))].unreadable = true;
}

DirEntry MemoryDirSource::entry_of(const Node& n) const {
  DirEntry e;
  e.name = n.name;
  e.is_dir = n.is_dir;
  e.is_link = n.is_link;
  e.size = n.size;
  return e;
}

bool MemoryDirSource::list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) {
  ++list_calls_;
  const size_t slash = pattern.rfind('\\');
  if (slash == std::string::npos) return false;  // drive-relative forms name no known folder
  const std::string_view folder_path(pattern.data(), slash);
  const std::string_view last(pattern.data() + slash + 1, pattern.size() - slash - 1);
  const bool wild = last.find_first_of("*?") != std::string_view::npos;

  const int folder = find(folder_path, true);
  if (folder < 0 || !nodes_[static_cast<size_t>(folder)].is_dir) return false;
  if (!wild) {
    if (last.empty()) return false;
    const int at = child(folder, last);
    if (at < 0) return false;
    sink(entry_of(nodes_[static_cast<size_t>(at)]));
    return true;
  }
  if (nodes_[static_cast<size_t>(folder)].unreadable) return false;

  const std::vector<int>& children = nodes_[static_cast<size_t>(folder)].children;
  std::vector<DirEntry> found;
  DirEntry dot;
  dot.is_dir = true;
  if (wildcard_match(last, ".")) {
    dot.name = ".";
    found.push_back(dot);
  }
  if (wildcard_match(last, "..")) {
    dot.name = "..";
    found.push_back(dot);
  }
  for (int c : children)
    if (wildcard_match(last, nodes_[static_cast<size_t>(c)].name))
      found.push_back(entry_of(nodes_[static_cast<size_t>(c)]));
  if (found.empty()) return false;
  for (const DirEntry& e : found)
    if (!sink(e)) break;
  return true;
}

bool MemoryDirSource::identity(const std::string& path, FolderId& id) {
  const int at = find(path, true);
  if (at < 0) return false;
  id.volume = 1;
  id.file = static_cast<uint64_t>(at) + 1;
  id.place = place_of(at);
  return true;
}

std::string MemoryDirSource::place_of(int node) const {
  std::string place;
  for (int at = node; at > 0; at = nodes_[static_cast<size_t>(at)].parent)
    place = place.empty() ? nodes_[static_cast<size_t>(at)].name
                          : nodes_[static_cast<size_t>(at)].name + "\\" + place;
  return place;
}

}  // namespace kelvane
