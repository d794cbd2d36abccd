#include "scan/root_state.h"

#include "base/strf.h"

namespace kelvane {

RootState root_state(bool recorded, const FolderId& scanned, bool readable, const FolderId& now) {
  if (!recorded) return RootState::kNotRecorded;
  if (!readable) return RootState::kUnreachable;
  const bool places_agree = now.place.empty() || scanned.place.empty() || now.place == scanned.place;
  const bool same = now == scanned && places_agree && now.mapping == scanned.mapping;
  return same ? RootState::kSame : RootState::kOther;
}

std::string gone_text(const std::string& path) {
  return strf("%s\nGONE DURING THE SCAN, SCAN AGAIN !", path.c_str());
}

}  // namespace kelvane
