#include "scan/lobj.h"

#include <vector>

namespace kelvane {

std::string lobj::fpath() const {
  std::vector<const char*> names;
  const lobj* root = this;
  for (; root->parent; root = root->parent) names.push_back(root->name);
  std::string path = root->root_path;
  for (size_t i = names.size(); i-- > 0;) {
    // A drive's root ends in its separator already ("C:\\").
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += names[i];
  }
  return path;
}

}  // namespace kelvane
