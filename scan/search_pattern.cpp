#include "scan/search_pattern.h"

namespace kelvane {

std::string folder_pattern(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\') return folder + "*.*";
  return folder + "\\*.*";
}

std::string pattern_folder(const std::string& pattern) {
  const size_t slash = pattern.rfind('\\');
  // "\\DATA" lives in the root of the current drive; an empty folder would make its path
  // relative to the current folder instead.
  if (slash == 0) return "\\";
  if (slash != std::string::npos) return pattern.substr(0, slash);
  // "D:X" is drive-relative: its entries live in the drive.
  if (pattern.size() >= 2 && pattern[1] == ':') return pattern.substr(0, 2);
  return std::string();
}

std::string join_path(const std::string& folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += name;
  return path;
}

}  // namespace kelvane
