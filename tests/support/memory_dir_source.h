#pragma once
// An in-memory file system behind the DirSource seam, for tests and benchmarks.
//
// Paths are Windows-style ("D:\\DATA\\x.txt"); the first component is the drive or volume.
// Names match without regard to ASCII case, as on Windows, and are reported as added.
// Listing "X\\*.*" reports "." and ".." first, then X's entries in the order they were added;
// a bare path reports the one entry it names; '*' and '?' in the last component match as
// wildcards.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scan/dir_source.h"

namespace kelvane {

class MemoryDirSource : public DirSource {
 public:
  MemoryDirSource();

  // Each makes the missing folders above the new entry. An entry that exists is replaced in
  // kind and size but keeps its place. add_folder returns the folder's number (for append).
  int add_folder(const std::string& path);
  void add_file(const std::string& path, uint64_t size);
  // A link entry to a folder: listed as a folder flagged as a link, entered as its target,
  // and of its target's identity. The target need not exist yet.
  void add_link(const std::string& path, const std::string& target);
  // A file that is a symbolic link: its own length is 0, whatever its target's.
  void add_file_link(const std::string& path);
  // Fast building of large trees: a new entry at the end of a folder known by its number
  // (0: the machine, whose children are drives), no check for an entry of the same name.
  // Returns the new entry's number.
  int append(int folder, std::string_view name, bool is_dir, uint64_t size);
  void reserve(size_t entries) { nodes_.reserve(entries + 1); }
  // The folder exists but cannot be enumerated.
  void set_unreadable(const std::string& path);

  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override;
  bool identity(const std::string& path, FolderId& id) override;

  // How often list was called (benchmarks and tests check that every folder is read once).
  size_t list_calls() const { return list_calls_.load(); }

 private:
  struct Node {
    std::string name;
    bool is_dir = false;
    bool is_link = false;
    bool unreadable = false;
    uint64_t size = 0;
    std::string target;  // links: the full path of the folder they stand for
    int parent = 0;
    std::vector<int> children;
  };
  std::vector<Node> nodes_;  // node 0: the machine, whose children are the drives
  std::atomic<size_t> list_calls_{0};

  static std::vector<std::string_view> split(std::string_view path);
  int child(int folder, std::string_view name) const;
  int make(const std::string& path);  // the node at path, made with its folders if missing
  // The node that path names, links followed (also the last one when follow_last).
  int find(std::string_view path, bool follow_last) const;
  int resolve(int node, int hops) const;
  DirEntry entry_of(const Node& n) const;
  std::string place_of(int node) const;  // the names from the drive down, joined
};

// Case-insensitive match of name against a pattern of '*' and '?' ("*.*" matches every name,
// as on Windows).
bool wildcard_match(std::string_view pattern, std::string_view name);

}  // namespace kelvane
