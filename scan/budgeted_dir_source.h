#pragma once
// A DirSource that passes on the listings of another until a number of entries has been listed,
// then lists nothing more: a walk through it ends soon after its budget is spent, and spent()
// tells that its tree is not the folder's.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "scan/dir_source.h"

namespace kelvane {

class BudgetedDirSource : public DirSource {
 public:
  BudgetedDirSource(DirSource& source, uint64_t budget);

  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override;
  bool identity(const std::string& path, FolderId& id) override;

  // More than the budget was listed (the listings from then on were cut short or refused).
  bool spent() const { return spent_.load(); }

 private:
  DirSource& source_;
  const uint64_t budget_;
  std::atomic<uint64_t> listed_{0};  // the walk's readers list side by side
  std::atomic<bool> spent_{false};
};

}  // namespace kelvane
