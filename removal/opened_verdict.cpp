#include "removal/opened_verdict.h"

#include "scan/entry_stamp.h"

namespace kelvane {

OpenResult opened_verdict(const ListedEntry& listed, const OpenedFacts& facts, bool on_way) {
  if (facts.name == NameMatch::kElsewhere) return OpenResult::kLink;
  if (facts.name_surrogate && on_way) return OpenResult::kLink;
  if (facts.other_volume && facts.is_dir && !on_way) return OpenResult::kOtherVolume;
  if (facts.is_dir != listed.is_dir || facts.name == NameMatch::kCaseOnly) return OpenResult::kChanged;
  if (listed.stamp == 0)
    return facts.is_dir || facts.size == listed.size ? OpenResult::kOpened : OpenResult::kChanged;
  if (facts.is_dir)
    return listed.stamp == folder_stamp(facts.file_id, facts.creation) ? OpenResult::kOpened
                                                                       : OpenResult::kChanged;
  if (facts.size != listed.size) return OpenResult::kChanged;
  const bool same = listed.stamp == file_stamp(facts.creation, facts.last_write, facts.file_id) ||
                    listed.stamp == file_stamp(facts.creation, facts.last_write, 0);
  return same ? OpenResult::kOpened : OpenResult::kChanged;
}

}  // namespace kelvane
