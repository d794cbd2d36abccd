#pragma once
// Everything a test puts in place of the system, for the life of one object: a fake shell and
// a fake remover deleting from a fake disk, and a capture of the message boxes.
#include "tests/support/fake_disk_probe.h"
#include "tests/support/fake_entry_remover.h"
#include "tests/support/fake_shell.h"
#include "tests/support/message_capture.h"
#include "tests/support/scoped_replace.h"

namespace kelvane::testing_fakes {

struct FakeSystem {
  FakeDiskProbe disk;
  FakeShell shell;
  FakeEntryRemover remover;
  MessageCapture messages;
  ScopedShell shell_scope{shell};
  ScopedDiskProbe disk_scope{disk};
  ScopedEntryProbe entry_scope{disk};
  ScopedEntryRemover remover_scope{remover};

  FakeSystem() {
    shell.disk = &disk;
    remover.disk = &disk;
  }
};

}  // namespace kelvane::testing_fakes
