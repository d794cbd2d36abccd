#pragma once
// Replacing the program's seams for the life of one object: the shell, the disk probe and the
// message handler come back as they were however the test ends.
#include <utility>

#include "base/message_box.h"
#include "removal/entry_probe.h"
#include "removal/entry_remover.h"
#include "scan/disk_probe.h"
#include "scan/shell.h"

namespace kelvane::testing_fakes {

template <class Seam, Seam* (*Set)(Seam*)>
class ScopedSeam {
 public:
  explicit ScopedSeam(Seam& replacement) : old_(Set(&replacement)) {}
  ~ScopedSeam() { Set(old_); }
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;

 private:
  Seam* old_;
};
using ScopedShell = ScopedSeam<Shell, set_shell>;
using ScopedDiskProbe = ScopedSeam<DiskProbe, set_disk_probe>;
using ScopedEntryProbe = ScopedSeam<EntryProbe, set_entry_probe>;
using ScopedEntryRemover = ScopedSeam<EntryRemover, set_entry_remover>;

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
