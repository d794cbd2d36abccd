#include "scan/sysnative_path.h"

#include <string_view>

#include "base/ascii_case.h"

namespace kelvane {

std::string sysnative_form(const std::string& path, const std::string& windows_folder) {
  std::string_view folder = windows_folder;
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  if (folder.empty()) return path;
  // The extended prefix is kept as it came; the rest is compared as a plain path.
  constexpr std::string_view kExtended = "\\\\?\\";
  const size_t start = path.compare(0, kExtended.size(), kExtended) == 0 ? kExtended.size() : 0;
  const std::string_view rest = std::string_view(path).substr(start);
  constexpr std::string_view kSystem = "\\System32";
  const size_t length = folder.size() + kSystem.size();
  if (rest.size() < length) return path;
  if (!same_ascii_letters(rest.substr(0, folder.size()), folder)) return path;
  if (!same_ascii_letters(rest.substr(folder.size(), kSystem.size()), kSystem)) return path;
  // The whole component, not a longer name that begins with it.
  if (rest.size() > length && rest[length] != '\\') return path;
  return path.substr(0, start + folder.size()) + "\\Sysnative" + path.substr(start + length);
}

}  // namespace kelvane
