#pragma once
// The left view's decisions about a requested folder: whether it lies inside the tree already
// scanned (then the views are refilled, not rescanned) and whether it is worth a scan.
#include <string>

namespace kelvane {

// ASCII letters upper-cased; every other byte (UTF-8 included) as it is.
std::string upper_case(const std::string& text);

// Whether the upper-cased folder lies inside the tree scanned from the upper-cased scan_path:
// it begins with it at a component boundary. A scan path typed as a drive root with its
// backslash ("D:\\") also contains "D:" itself.
bool inside_tree(const std::string& upper, const std::string& scan_path);

// Only a text longer than one character (not byte) is worth a scan.
bool path_starts_scan(const std::string& text);

}  // namespace kelvane
