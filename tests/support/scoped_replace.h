#pragma once
// Replacing the program's seams for the life of one object: the shell, the disk probe and the
// message handler come back as they were however the test ends.
#include <utility>

#include "base/message_box.h"
#include "scan/disk_probe.h"
#include "scan/shell.h"

namespace kelvane::testing_fakes {

class ScopedShell {
 public:
  explicit ScopedShell(Shell& replacement) : old_(set_shell(&replacement)) {}
  ~ScopedShell() { set_shell(old_); }
  ScopedShell(const ScopedShell&) = delete;
  ScopedShell& operator=(const ScopedShell&) = delete;

 private:
  Shell* old_;
};

class ScopedDiskProbe {
 public:
  explicit ScopedDiskProbe(DiskProbe& replacement) : old_(set_disk_probe(&replacement)) {}
  ~ScopedDiskProbe() { set_disk_probe(old_); }
  ScopedDiskProbe(const ScopedDiskProbe&) = delete;
  ScopedDiskProbe& operator=(const ScopedDiskProbe&) = delete;

 private:
  DiskProbe* old_;
};

class ScopedMessageHandler {
 public:
  explicit ScopedMessageHandler(MessageHandler handler) : old_(set_message_handler(std::move(handler))) {}
  ~ScopedMessageHandler() { set_message_handler(std::move(old_)); }
  ScopedMessageHandler(const ScopedMessageHandler&) = delete;
  ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

 private:
  MessageHandler old_;
};

}  // namespace kelvane::testing_fakes
