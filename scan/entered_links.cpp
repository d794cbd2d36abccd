#include "scan/entered_links.h"

namespace kelvane {

void EnteredLinks::note(const lobj* link, const FolderId& target) {
  // Only what tells the folder apart is kept: its place and its drive's mapping are the walk's.
  FolderId& kept = targets_[link];
  kept.volume = target.volume;
  kept.file = target.file;
  kept.file_high = target.file_high;
}

const FolderId* EnteredLinks::target(const lobj* link) const {
  const auto found = targets_.find(link);
  return found == targets_.end() ? nullptr : &found->second;
}

}  // namespace kelvane
