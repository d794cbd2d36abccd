// Deletion as the disk sees it: an entry is deleted only while it is what the scan listed, the
// shell's word is checked against the entry on disk, and long paths are opened through their
// short form.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "scan/delete_check.h"
#include "scan/delete_run.h"
#include "scan/disk_probe.h"
#include "scan/shell.h"
#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

// A disk of named entries: the shell deletes an entry unless it is stuck (a read-only folder)
// and reports success either way, as the platform's shell does.
struct FakeDisk : Shell, DiskProbe {
  std::map<std::string, DiskEntry> entries;
  std::set<std::string> stuck;
  std::vector<std::string> deleted;
  FolderId root{7, 1, {}};
  bool root_readable = true;
  std::string short_form;
  std::vector<std::string> lookups;
  std::vector<std::string> lines;

  void file(const std::string& path, uint64_t size) { entries[path] = {Presence::kPresent, false, size}; }
  void folder(const std::string& path) { entries[path] = {Presence::kPresent, true, 0}; }

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
  DiskEntry entry(const std::string& path) override {
    auto it = entries.find(path);
    return it != entries.end() ? it->second : DiskEntry{Presence::kAbsent, false, 0};
  }
  bool folder_identity(const std::string&, FolderId& id) override {
    id = root;
    return root_readable;
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
  // D:\DATA scanned with files a (10), b (20), c (30); the disk holds them as listed.
  lobj *data = nullptr, *a = nullptr, *b = nullptr, *c = nullptr;
  void scan() {
    data = t.folder(nullptr, "D:\\DATA");
    a = t.file(data, "a", 10);
    b = t.file(data, "b", 20);
    c = t.file(data, "c", 30);
    t.dir.path = "D:\\DATA";
    t.dir.record_scan_root();
    disk.folder("D:\\DATA");
    disk.file("D:\\DATA\\a", 10);
    disk.file("D:\\DATA\\b", 20);
    disk.file("D:\\DATA\\c", 30);
  }
  DeleteRun run(const std::vector<lobj*>& nodes, bool stop = false) {
    DeleteRun r(t.dir, nodes);
    const std::atomic<bool> stop_flag{stop};
    r.run(stop_flag, nullptr);
    return r;
  }
};

TEST(DeleteVerdict, OnlyAnEntryAsListedIsDeletedAndGoneNeedsItsFolder) {
  const ListedEntry file{false, 10}, folder{true, 500};
  const DiskEntry file10{Presence::kPresent, false, 10}, file11{Presence::kPresent, false, 11};
  const DiskEntry dir{Presence::kPresent, true, 0}, absent{Presence::kAbsent, false, 0}, unknown{};
  const RootState same = RootState::kSame;
  EXPECT_EQ(delete_verdict(file, same, file10, unknown), DeleteVerdict::kDelete);
  EXPECT_EQ(delete_verdict(file, RootState::kNotRecorded, file10, unknown), DeleteVerdict::kDelete);
  EXPECT_EQ(delete_verdict(folder, same, dir, unknown), DeleteVerdict::kDelete);  // no size to check
  EXPECT_EQ(delete_verdict(file, same, file11, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(file, same, dir, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(folder, same, file10, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(file, RootState::kOther, file10, dir), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(file, RootState::kUnreachable, file10, dir), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, unknown, dir), DeleteVerdict::kUnreachable);
  // Absent: gone only from a folder that is there.
  EXPECT_EQ(delete_verdict(file, same, absent, dir), DeleteVerdict::kGone);
  EXPECT_EQ(delete_verdict(file, same, absent, absent), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, absent, unknown), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, absent, file10), DeleteVerdict::kUnreachable);

  const FolderId scanned{5, 9, {}}, moved{5, 10, {}}, elsewhere{6, 9, {}};
  EXPECT_EQ(root_state(true, scanned, true, scanned), RootState::kSame);
  EXPECT_EQ(root_state(true, scanned, true, moved), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, true, elsewhere), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, false, scanned), RootState::kUnreachable);
  EXPECT_EQ(root_state(false, scanned, false, moved), RootState::kNotRecorded);
}

TEST_F(CheckedDelete, RunStopsAtTheFirstEntryThatIsNotAsListed) {
  scan();
  disk.file("D:\\DATA\\b", 25);  // grew since the scan
  DeleteRun grown = run({a, b, c});
  EXPECT_EQ(grown.deleted(), 1u);
  EXPECT_EQ(grown.message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  EXPECT_EQ(disk.deleted, std::vector<std::string>{"D:\\DATA\\a"});

  disk.folder("D:\\DATA\\b");  // a folder now stands where the file was
  EXPECT_EQ(run({b}).message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  disk.file("D:\\DATA\\b", 20);
  disk.root = FolderId{8, 1, {}};  // the drive letter now names another folder
  EXPECT_EQ(run({b}).message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  disk.root_readable = false;  // ... or none at all
  EXPECT_EQ(run({b}).message(), "Could not delete D:\\DATA\\b !");
  EXPECT_EQ(disk.deleted.size(), 1u);
  disk.root = FolderId{7, 1, {}};
  disk.root_readable = true;
  EXPECT_EQ(run({b, c}, true).deleted(), 0u);  // asked to stop: nothing more is started
  EXPECT_EQ(disk.deleted.size(), 1u);
}

TEST_F(CheckedDelete, GoneOnlyWhereTheFolderIsStillThereWithoutIt) {
  scan();
  disk.entries.erase("D:\\DATA\\a");
  DeleteRun gone = run({a});
  EXPECT_EQ(gone.deleted(), 1u);
  EXPECT_TRUE(gone.message().empty());
  disk.entries.clear();  // the folder went too (a drive unmapped, a share gone)
  DeleteRun out_of_reach = run({b});
  EXPECT_EQ(out_of_reach.deleted(), 0u);
  EXPECT_EQ(out_of_reach.message(), "Could not delete D:\\DATA\\b !");
  EXPECT_TRUE(disk.deleted.empty());
  EXPECT_TRUE(shown.empty());
}

TEST_F(CheckedDelete, EntryTheShellLeftOnDiskIsAFailureWithEitherBin) {
  const std::string log_path = ::testing::TempDir() + "checked_delete_log.txt";
  ASSERT_TRUE(t.log.open(log_path));
  disk.file("C:\\KTEST\\D1\\F2", 2);
  disk.file("C:\\KTEST\\D1\\S", 4);
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
