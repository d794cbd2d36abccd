// Deletion and opening as the disk sees them: the shell's word is checked against the entry
// on disk, and long paths are opened through their short form.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "scan/disk_probe.h"
#include "scan/shell.h"
#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

// A disk of named entries: the shell deletes an entry unless it is stuck (a read-only folder)
// and reports success either way, as the platform's shell does.
struct FakeDisk : Shell, DiskProbe {
  std::set<std::string> entries;
  std::set<std::string> stuck;
  std::set<std::string> unknown;
  std::vector<std::string> deleted;
  std::string short_form;
  std::vector<std::string> lookups;
  std::vector<std::string> lines;

  int delete_path(const std::string& path, unsigned) override {
    deleted.push_back(path);
    if (!stuck.count(path)) entries.erase(path);
    return 0;
  }
  int find_executable(const std::string& file, std::string& program) override {
    lookups.push_back(file);
    program = "C:\\ed.exe";
    return 42;
  }
  bool start_program(const std::string&, const std::string& line) override {
    lines.push_back(line);
    return true;
  }
  std::string system_folder() override { return "C:\\windows\\system32"; }
  Presence presence(const std::string& path) override {
    if (unknown.count(path)) return Presence::kUnknown;
    return entries.count(path) ? Presence::kPresent : Presence::kAbsent;
  }
  bool drive_known(char) override { return true; }
  std::string short_path(const std::string&) override { return short_form; }
};

struct CheckedDelete : ::testing::Test {
  testing_tree::TreeFixture t;
  FakeDisk disk;
  Shell* old_shell = nullptr;
  DiskProbe* old_probe = nullptr;
  MessageHandler old_handler;
  std::vector<std::string> shown;

  void SetUp() override {
    old_shell = set_shell(&disk);
    old_probe = set_disk_probe(&disk);
    old_handler = set_message_handler([this](const std::string& text, unsigned) {
      shown.push_back(text);
      return kAnswerOk;
    });
  }
  void TearDown() override {
    set_shell(old_shell);
    set_disk_probe(old_probe);
    set_message_handler(old_handler);
  }
};

TEST_F(CheckedDelete, EntryTheShellLeftOnDiskIsAFailureWithEitherBin) {
  const std::string log_path = ::testing::TempDir() + "checked_delete_log.txt";
  ASSERT_TRUE(t.log.open(log_path));
  disk.entries = {"C:\\KTEST\\D1\\F2", "C:\\KTEST\\D1\\S"};
  disk.stuck = {"C:\\KTEST\\D1\\F2"};
  for (int ud : {0, 1}) {
    t.settings.ud = ud;
    EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\D1\\F2"), 1) << ud;
  }
  EXPECT_EQ(disk.deleted.size(), 2u);
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
  EXPECT_TRUE(disk.deleted.empty());
  // When the disk cannot tell, the shell is asked and its answer stands.
  disk.unknown = {"C:\\KTEST\\F5"};
  EXPECT_EQ(t.dir.SHFileOperation("C:\\KTEST\\F5"), 0);
  EXPECT_EQ(disk.deleted, (std::vector<std::string>{"C:\\KTEST\\F5"}));
  EXPECT_TRUE(shown.empty());
}

// The lookup gets the file's own path (the platform's shell finds a long one by its type); the
// program gets the short form, or without one the extended form.
TEST_F(CheckedDelete, LongPathOpensThroughItsShortForm) {
  lobj* root = t.folder(nullptr, "C:\\" + std::string(250, 'd'));
  lobj* file = t.file(root, "notes.txt", 1);  // 263 characters in all
  const std::string path = "C:\\" + std::string(250, 'd') + "\\notes.txt";
  disk.short_form = "C:\\DDDDDD~1\\NOTES.TXT";
  EXPECT_EQ(t.dir.open_lobj(file), 0);
  EXPECT_EQ(disk.lookups, (std::vector<std::string>{path}));
  EXPECT_EQ(disk.lines, (std::vector<std::string>{"C:\\ed.exe \"C:\\DDDDDD~1\\NOTES.TXT\""}));
  disk.short_form.clear();
  t.dir.open_lobj(file);
  EXPECT_EQ(disk.lines.back(), "C:\\ed.exe \"\\\\?\\" + path + "\"");
  EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace kelvane
