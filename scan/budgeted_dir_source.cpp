#include "scan/budgeted_dir_source.h"

namespace kelvane {

BudgetedDirSource::BudgetedDirSource(DirSource& source, uint64_t budget) : source_(source), budget_(budget) {}

bool BudgetedDirSource::list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) {
  if (spent_.load()) return false;
  return source_.list(pattern, [&](const DirEntry& e) {
    if (listed_.fetch_add(1) >= budget_) {
      spent_.store(true);
      return false;
    }
    return sink(e);
  });
}

bool BudgetedDirSource::identity(const std::string& path, FolderId& id) { return source_.identity(path, id); }

}  // namespace kelvane
