#include "views/dir_request.h"

#include "base/ascii_case.h"

namespace kelvane {

std::string upper_case(const std::string& text) {
  std::string u = text;
  for (char& c : u) c = ascii_upper(c);
  return u;
}

bool inside_tree(const std::string& upper, const std::string& scan_path) {
  std::string root = scan_path;
  // "D:\\" names the same folder as "D:"; the tree's own paths are written without it.
  if (root.size() == 3 && root[1] == ':' && root[2] == '\\') root.pop_back();
  if (root.empty()) return false;
  if (upper.compare(0, root.size(), root) != 0) return false;
  // "D:\\DATA2" is not inside a tree of "D:\\DATA".
  return upper.size() == root.size() || upper[root.size()] == '\\' || root.back() == '\\';
}

bool path_starts_scan(const std::string& text) {
  // Characters, not bytes: the field's text is UTF-8, and one accented letter is two bytes.
  size_t characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++characters > 1) return true;
  }
  return false;
}

}  // namespace kelvane
