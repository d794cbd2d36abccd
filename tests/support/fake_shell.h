#pragma once
// A shell for the tests: it records every request and deletes or starts nothing. A deletion
// succeeds unless its path is failing; with a disk attached, the entry leaves that disk unless
// it is stuck (the platform's shell reports success and leaves a read-only folder behind).
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "scan/shell.h"
#include "tests/support/fake_disk_probe.h"

namespace kelvane::testing_fakes {

class FakeShell : public Shell {
 public:
  std::vector<std::string> deleted;
  std::vector<unsigned> delete_flags;
  std::vector<void*> delete_owners;
  std::set<std::string> failing;
  std::set<std::string> stuck;
  FakeDiskProbe* disk = nullptr;

  int find_result = kFindNoAssociation;
  std::string program;  // what the association lookup gives
  std::vector<std::string> lookups;
  std::vector<std::pair<std::string, std::string>> started;  // application, command line

  int delete_path(const std::string& path, unsigned flags, void* owner) override {
    deleted.push_back(path);
    delete_flags.push_back(flags);
    delete_owners.push_back(owner);
    if (failing.count(path)) return 0x7c;
    if (disk && !stuck.count(path)) disk->entries.erase(path);
    return 0;
  }
  int find_executable(const std::string& file, std::string& out) override {
    lookups.push_back(file);
    out = program;
    return find_result;
  }
  bool start_program(const std::string& application, const std::string& command_line) override {
    started.emplace_back(application, command_line);
    return true;
  }
  std::string system_folder() override { return "C:\\windows\\system32"; }
};

}  // namespace kelvane::testing_fakes
