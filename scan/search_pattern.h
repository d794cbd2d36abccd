#pragma once
// The paths a scan forms: the search pattern that lists a folder, the folder a pattern's
// entries live in, and an entry's full path. The walk and its read-ahead readers both use them.
#include <string>
#include <string_view>

namespace kelvane {

// "%s\\*.*" for a folder, without doubling a backslash the folder path already ends in.
std::string folder_pattern(const std::string& folder);
// The folder that a pattern's entries live in, as full paths of entries are formed from it.
std::string pattern_folder(const std::string& pattern);
// folder, one backslash, name.
std::string join_path(const std::string& folder, std::string_view name);

}  // namespace kelvane
