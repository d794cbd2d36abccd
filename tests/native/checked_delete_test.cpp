// Deletion and opening as the disk sees them: the shell's word is checked against the entry
// on disk, and long paths are opened through their short form.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/fake_system.h"
#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

// The disk knows only its entries; the shell reports success for each deletion, as the
// platform's shell does, also when it leaves a stuck entry (a read-only folder) behind.
struct CheckedDelete : ::testing::Test {
  testing_tree::TreeFixture t;
  testing_fakes::FakeSystem fakes;
  testing_fakes::FakeShell& shell = fakes.shell;
  testing_fakes::FakeDiskProbe& disk = fakes.disk;

  CheckedDelete() {
    disk.otherwise = Presence::kAbsent;
    shell.find_result = 42;
    shell.program = "C:\\ed.exe";
  }
};

TEST_F(CheckedDelete, EntryTheShellLeftOnDiskIsAFailureWithEitherBin) {
  const std::string log_path = ::testing::TempDir() + "checked_delete_log.txt";
  ASSERT_TRUE(t.log.open(log_path));
  disk.entries = {{"C:\\KTEST\\D1\\F2", Presence::kPresent}, {"C:\\KTEST\\D1\\S", Presence::kPresent}};
  shell.stuck = {"C:\\KTEST\\D1\\F2"};
  for (int ud : {0, 1}) {
    t.settings.ud = ud;
    EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\D1\\F2"), 1) << ud;
  }
  EXPECT_EQ(shell.deleted.size(), 2u);
  EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\D1\\S"), 0);
  EXPECT_EQ(disk.entries.count("C:\\KTEST\\D1\\S"), 0u);
  std::ifstream in(log_path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("mdir::SHFileOperation () returned 0, but C:\\KTEST\\D1\\F2 is still there\n"),
            std::string::npos)
      << text.str();
}

TEST_F(CheckedDelete, EntryGoneBeforeTheDeletionIsDeletedWithoutAskingTheShell) {
  EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\F4"), 0);
  EXPECT_TRUE(shell.deleted.empty());
  // When the disk cannot tell, the shell is asked and its answer stands.
  disk.entries = {{"C:\\KTEST\\F5", Presence::kUnknown}};
  EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\F5"), 0);
  EXPECT_EQ(shell.deleted, (std::vector<std::string>{"C:\\KTEST\\F5"}));
  EXPECT_TRUE(fakes.messages.texts.empty());
}

TEST_F(CheckedDelete, LongPathOpensThroughItsShortForm) {
  lobj* root = t.folder(nullptr, "C:\\" + std::string(250, 'd'));
  lobj* file = t.file(root, "notes.txt", 1);  // 263 characters in all
  disk.short_form = "C:\\DDDDDD~1\\NOTES.TXT";
  EXPECT_EQ(t.dir.open_lobj(file), 0);
  EXPECT_EQ(shell.lookups, (std::vector<std::string>{"C:\\DDDDDD~1\\NOTES.TXT"}));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].second, "C:\\ed.exe \"C:\\DDDDDD~1\\NOTES.TXT\"");
  // Without a short form the platform's lookup gets the long path (it asks by type then).
  disk.short_form.clear();
  t.dir.open_lobj(file);
  EXPECT_EQ(shell.lookups.back().size(), 263u);
  EXPECT_TRUE(fakes.messages.texts.empty());
}

}  // namespace
}  // namespace kelvane
