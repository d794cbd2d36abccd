#pragma once
// A remover for the tests: every place is the path itself, so an entry is where it is named.
// It records every request; an entry is removed (and leaves the attached disk) unless it is
// failing, or a link (reported as opening elsewhere).
#include <set>
#include <string>
#include <vector>

#include "removal/entry_remover.h"
#include "tests/support/fake_disk_probe.h"

namespace kelvane::testing_fakes {

class FakeEntryRemover : public EntryRemover {
 public:
  std::vector<std::string> removed;  // every request, in order
  std::set<std::string> failing;
  std::set<std::string> links;
  FakeDiskProbe* disk = nullptr;

  std::string place(const std::string& path) override { return path; }
  RemoveResult remove(const std::string& path, const std::string& expected, bool) override {
    removed.push_back(path);
    if (expected != path || links.count(path)) return RemoveResult::kElsewhere;
    if (failing.count(path)) return RemoveResult::kFailed;
    if (disk) disk->entries.erase(path);
    return RemoveResult::kRemoved;
  }
};

}  // namespace kelvane::testing_fakes
