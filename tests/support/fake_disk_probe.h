#pragma once
// A disk probe for the tests: it knows the entries it is given and answers `otherwise` for the
// rest, so by default (unknown) the shell's word on a deletion stands.
#include <map>
#include <string>

#include "scan/disk_probe.h"

namespace kelvane::testing_fakes {

class FakeDiskProbe : public DiskProbe {
 public:
  std::map<std::string, Presence> entries;
  Presence otherwise = Presence::kUnknown;
  std::string unknown_drives;  // letters the system does not know
  std::string short_form;      // every path's short form; empty: none

  Presence presence(const std::string& path) override {
    const auto found = entries.find(path);
    return found == entries.end() ? otherwise : found->second;
  }
  bool drive_known(char letter) override { return unknown_drives.find(letter) == std::string::npos; }
  std::string short_path(const std::string&) override { return short_form; }
};

}  // namespace kelvane::testing_fakes
