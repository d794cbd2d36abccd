#include "views/item_actions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "removal/shell_delete.h"
#include "scan/item_texts.h"
#include "tests/support/fake_system.h"
#include "tests/support/tree_builder.h"
#include "views/list_geometry.h"

namespace kelvane {
namespace {

using testing_tree::TreeFixture;

class FakeList : public ItemHost, public ListOwner {
 public:
  int mode = kListFiles;
  std::vector<std::string> rows;
  std::vector<int> selected;
  bool view = true;
  std::vector<std::string> path_field;
  int dirs_calls = 0;
  int fill_calls = 0;
  int list_mode() override { return mode; }
  int row_count() override { return static_cast<int>(rows.size()); }
  std::vector<int> selected_rows() override { return selected; }
  std::string row_text(int row) override { return rows.at(static_cast<size_t>(row)); }
  // As the owner: with view false it stands for a list without a view around it.
  void set_path_field(const std::string& text) override {
    if (view) path_field.push_back(text);
  }
  void show_folder_title(const std::string&) override {}
  // Each way go_to_folder shows a folder: from the tree, the drives again, a scan.
  void show_from_tree() override { dirs_calls += view; }
  void show_drives() override { dirs_calls += view; }
  void scan(const std::string&) override { dirs_calls += view; }
  void OnFill() override { fill_calls += view; }
  void wait_cursor() override {}
};

// The shell deletes from a disk that holds the tree's entries as listed (see Actions::fill).
struct Actions : ::testing::Test {
  TreeFixture t;
  mdrv drives{t.log};
  SliceTable table;
  FakeList list;
  testing_fakes::FakeSystem fakes;
  testing_fakes::FakeShell& fake = fakes.shell;
  testing_fakes::MessageCapture& shown = fakes.messages;
  ItemActions actions{ListContext{t.dir, drives, table, t.settings, t.busy, t.log}, list, &list};

  Actions() {
    fakes.disk.otherwise = DiskEntry{Presence::kAbsent, false, 0};
    fake.find_result = 42;
  }
  // Lists pcur's entries the way the view does.
  void fill() {
    fakes.disk.holds(t.dir);
    table.fill(t.dir.ptop, t.dir.pcur);
    list.mode = kListFiles;
    list.rows.assign(1, "\\");
    if (t.dir.isdrv == 0) list.rows.push_back("..");
    for (int i = 0; i < table.count(); ++i) list.rows.push_back(table.node(i)->name);
  }
  // A folder scan of D:\DATA holding files a (40), b (30), c (20), d (10) and folder sub (holding x, 5).
  lobj *data = nullptr, *sub = nullptr, *x = nullptr;
  void folder_scan() {
    data = t.folder(nullptr, "D:\\DATA");
    data->depth = 1;
    t.file(data, "a", 40);
    t.file(data, "b", 30);
    t.file(data, "c", 20);
    t.file(data, "d", 10);
    sub = t.folder(data, "sub");
    x = t.file(sub, "x", 5);
    t.dir.pcur = data;
    t.dir.isdrv = 0;
    t.dir.path = t.dir.cdir = "D:\\DATA";
    fill();  // rows: \, .., a, b, c, d, sub
  }
  std::vector<std::string> names() {
    std::vector<std::string> n;
    for (int i = 0; i < table.count(); ++i) n.push_back(table.node(i) ? table.node(i)->name : "(gone)");
    return n;
  }
};

TEST(ItemTexts, DrivePropertiesInEveryUnit) {
  drive_record d;
  d.name = "D:";
  d.total = 3ULL << 40;
  d.used = 1ULL << 40;
  d.free = 2ULL << 40;
  EXPECT_EQ(drive_properties_text(d, 0),
            "D:\nSize:  3298534883328 B\nUsed: 1099511627776 B\nFree: 2199023255552 B");
  EXPECT_EQ(drive_properties_text(d, 1),
            "D:\nSize:  3221225472.00 KB\nUsed: 1073741824.00 KB\nFree: 2147483648.00 KB");
  EXPECT_EQ(drive_properties_text(d, 2),
            "D:\nSize:  3145728.00 MB\nUsed: 1048576.00 MB\nFree: 2097152.00 MB");
  EXPECT_EQ(drive_properties_text(d, 3), "D:\nSize:  3072.00 GB\nUsed: 1024.00 GB\nFree: 2048.00 GB");
  EXPECT_EQ(drive_properties_text(d, 4), "D:\nSize:  3.00 TB\nUsed: 1.00 TB\nFree: 2.00 TB");
  EXPECT_EQ(drive_properties_text(d, 9), drive_properties_text(d, 4));  // a unit above 4 reads as TB
}

TEST(ItemTexts, FolderAndFilePropertiesInEveryUnit) {
  TreeFixture t;
  t.worked_example();
  EXPECT_EQ(item_properties_text(*t.d1, 0), "D:\\D1\nFiles: 2\nFolders: 1\n6 B");
  EXPECT_EQ(item_properties_text(*t.f4, 0), "D:\\F4\n8 B");
  t.f4->size = 1536;
  EXPECT_EQ(item_properties_text(*t.f4, 1), "D:\\F4\n1.50 KB");
  t.d1->size = 1572864;
  EXPECT_EQ(item_properties_text(*t.d1, 2), "D:\\D1\nFiles: 2\nFolders: 1\n1.50 MB");
  t.f4->size = 3ULL << 29;
  EXPECT_EQ(item_properties_text(*t.f4, 3), "D:\\F4\n1.50 GB");
  t.f4->size = 3ULL << 39;
  EXPECT_EQ(item_properties_text(*t.f4, 4), "D:\\F4\n1.50 TB");
  EXPECT_EQ(item_properties_text(*t.f4, 7), "D:\\F4\n1.50 TB");
}

TEST(ItemTexts, FileInADriveRootTypedWithItsBackslashGetsOneSeparator) {
  TreeFixture t;
  lobj* root = t.folder(nullptr, "D:\\");
  lobj* f = t.file(root, "F", 3);
  EXPECT_EQ(item_path(*f), "D:\\F");
  EXPECT_EQ(item_properties_text(*f, 0), "D:\\F\n3 B");
}

TEST(ItemTexts, QuestionsWildcardsAndCommandLines) {
  EXPECT_EQ(delete_question("a", "a", false), "Delete a ?");
  EXPECT_EQ(delete_question("a", "d", true), "Delete from a to d ?");
  EXPECT_TRUE(has_wildcard("D:\\x*"));
  EXPECT_TRUE(has_wildcard("D:\\x?y"));
  EXPECT_FALSE(has_wildcard("D:\\Program Files\\x"));

  LaunchCommand plain = launch_command("C:\\Program Files\\Ed\\ed.exe", "D:\\my doc.txt", "", "C:\\W\\S");
  EXPECT_EQ(plain.application, "C:\\Program Files\\Ed\\ed.exe");
  EXPECT_EQ(plain.command_line, "C:\\Program Files\\Ed\\ed.exe \"D:\\my doc.txt\"");
  LaunchCommand full = launch_command("C:\\W\\S\\shimgvw.dll", "D:\\p.png", "", "C:\\W\\S");
  EXPECT_EQ(full.application, "C:\\W\\S\\rundll32.exe");
  EXPECT_EQ(full.command_line, "rundll32.exe C:\\W\\S\\shimgvw.dll,ImageView_Fullscreen \"D:\\p.png\"");
  LaunchCommand viewer = launch_command("C:\\W\\S\\shimgvw.dll", "D:\\p.png", "C:\\iv\\iv.exe", "C:\\W\\S");
  EXPECT_EQ(viewer.application, "C:\\iv\\iv.exe");
  EXPECT_EQ(viewer.command_line, "C:\\iv\\iv.exe \"D:\\p.png\" /bf");
  // The viewer test is case-sensitive.
  EXPECT_EQ(launch_command("C:\\W\\SHIMGVW.DLL", "f", "iv", "").command_line, "C:\\W\\SHIMGVW.DLL \"f\"");
}

TEST_F(Actions, PropertiesOfDriveAndEntryRows) {
  drives.drives[0].name = "D:";
  drives.drives[0].total = 100;
  drives.drives[0].used = 25;
  drives.drives[0].free = 75;
  list.mode = kListDrives;
  list.rows = {"D:"};
  list.selected = {0};
  t.settings.un = 0;
  actions.OnProp();
  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.texts[0], "D:\nSize:  100 B\nUsed: 25 B\nFree: 75 B");
  EXPECT_EQ(shown.types[0], kMessageInfo);

  folder_scan();
  list.selected = {2};  // right after a folder scan row 2 is item 0
  actions.OnProp();
  ASSERT_EQ(shown.texts.size(), 2u);
  EXPECT_EQ(shown.texts[1], "D:\\DATA\\a\n40 B");
  list.selected = {1};  // ".." shows nothing
  actions.OnProp();
  list.selected = {};
  actions.OnProp();
  t.busy = 1;
  list.selected = {2};
  actions.OnProp();
  EXPECT_EQ(shown.texts.size(), 2u);
}

TEST_F(Actions, DeleteRemovesExactlyTheSelectedEntries) {
  folder_scan();
  t.settings.ud = 1;
  list.selected = {2, 3, 5};  // a, b, d; c between them stays
  actions.OnDelete();
  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.texts[0], "Delete from a to d ?");
  EXPECT_EQ(shown.types[0], kMessageYesNo);
  EXPECT_EQ(fake.deleted, (std::vector<std::string>{"D:\\DATA\\a", "D:\\DATA\\b", "D:\\DATA\\d"}));
  // The recycle bin, with a warning before a final delete.
  EXPECT_EQ(fake.delete_flags, std::vector<unsigned>(3, 0x4454u));
  EXPECT_EQ(list.fill_calls, 1);
  table.fill(t.dir.ptop, t.dir.pcur);
  EXPECT_EQ(names(), (std::vector<std::string>{"c", "sub"}));
  EXPECT_EQ(data->size.load(), 25u);
  EXPECT_EQ(data->nfil.load(), 2);
  EXPECT_EQ(data->ndir.load(), 1);
}

TEST_F(Actions, DeletingAFolderDropsCountsAndSizesOfEveryAncestor) {
  folder_scan();
  t.settings.ud = 0;
  list.selected = {6};  // sub, 5 bytes in one file
  actions.OnDelete();
  ASSERT_EQ(shown.texts.size(), 1u);
  EXPECT_EQ(shown.texts[0], "Delete sub ?");
  // For good, the program removes it itself, what it holds first; the shell is not asked.
  EXPECT_EQ(fakes.remover.removed, (std::vector<std::string>{"D:\\DATA\\sub\\x", "D:\\DATA\\sub"}));
  EXPECT_TRUE(fake.deleted.empty());
  EXPECT_EQ(data->size.load(), 100u);
  EXPECT_EQ(data->nfil.load(), 4);
  EXPECT_EQ(data->ndir.load(), 0);
}

// What the program could not remove stays listed with its size, and only that: a link inside
// keeps its folder (and the folder's folders) on disk and in the tree.
TEST_F(Actions, PermanentDeletionListsWhatStaysOnDisk) {
  folder_scan();
  lobj* deep = t.folder(sub, "deep");
  t.file(deep, "y", 7);
  t.file(deep, "z", 9);
  fill();
  t.settings.ud = 0;
  fakes.remover.links = {"D:\\DATA\\sub\\deep\\y"};
  list.selected = {2, 4};  // a (40) and sub (21): a goes, sub keeps the link
  actions.OnDelete();
  ASSERT_EQ(shown.texts.size(), 2u);
  EXPECT_EQ(shown.texts[1], "D:\\DATA\\sub\nHOLDS A LINK, PARTLY DELETED !");
  // a, then sub's z, y and x; the folders that keep something are not tried.
  EXPECT_EQ(fakes.remover.removed.size(), 4u);
  EXPECT_EQ(deep->size.load(), 7u);
  EXPECT_EQ(sub->size.load(), 7u);
  EXPECT_EQ(sub->nfil.load(), 1);
  EXPECT_EQ(data->size.load(), 67u);  // b, c, d and y
  EXPECT_EQ(data->nfil.load(), 4);
  table.fill(t.dir.ptop, t.dir.pcur);
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "c", "d", "sub"}));
}

TEST_F(Actions, DeletingAFileDeepInATreeUpdatesEveryLevel) {
  t.worked_example();
  fill();
  t.dir.pcur = t.s;
  t.dir.isdrv = 0;
  fill();  // \, .., F3
  list.selected = {2};
  actions.OnDelete();
  EXPECT_EQ(t.s->size.load(), 0u);
  EXPECT_EQ(t.d1->size.load(), 2u);
  EXPECT_EQ(t.root->size.load(), 11u);
  EXPECT_EQ(t.root->nfil.load(), 3);
  EXPECT_EQ(t.d1->nfil.load(), 1);
  EXPECT_EQ(t.root->ndir.load(), 3);
  EXPECT_EQ(t.s->first, nullptr);
}

TEST_F(Actions, FailedDeletionKeepsTheEntryAndEverySize) {
  folder_scan();
  const std::string log_path = ::testing::TempDir() + "item_actions_log.txt";
  ASSERT_TRUE(t.log.open(log_path));
  fake.failing = {"D:\\DATA\\b"};
  list.selected = {2, 3, 4};  // a, b, c: a goes, b fails, c is not attempted
  actions.OnDelete();
  ASSERT_EQ(shown.texts.size(), 2u);
  EXPECT_EQ(shown.texts[1], "Could not delete D:\\DATA\\b !");
  EXPECT_EQ(shown.types[1], kMessageOk);
  EXPECT_EQ(fake.deleted.size(), 2u);
  table.fill(t.dir.ptop, t.dir.pcur);
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "c", "d", "sub"}));
  EXPECT_EQ(data->size.load(), 65u);
  EXPECT_EQ(data->nfil.load(), 4);
  EXPECT_EQ(list.fill_calls, 1);
  std::ifstream in(log_path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("mdir::SHFileOperation () returned 124\n"), std::string::npos) << text.str();
}

// A name no path carries exactly ("back\\slash" would name slash in the folder back) is never
// deleted or opened, nor anything selected with it; a name the platform would rewrite ("doc.kx.")
// reaches the shell whole, which forms its exact path (scan/exact_path.h).
TEST_F(Actions, EntryWhoseNameNoPathCarriesIsNeverDeletedOrOpened) {
  data = t.folder(nullptr, "D:\\DATA");
  t.file(data, "x*", 40);
  t.file(data, "back\\slash", 30);
  t.file(data, "doc.kx.", 20);
  t.folder(data, "back");
  t.dir.pcur = data;
  t.dir.isdrv = 0;
  fill();  // \, .., x*, back\slash, doc.kx., back
  for (const std::vector<int>& rows : {std::vector<int>{2}, std::vector<int>{3}, std::vector<int>{3, 4, 5}}) {
    shown.clear();
    list.selected = rows;
    actions.OnDelete();
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(shown.texts[0], rows[0] == 2 ? "INVALID NAME: x* !" : "INVALID NAME: back\\slash !");
  }
  shown.clear();
  list.selected = {3};
  actions.OnOpen();
  EXPECT_EQ(shown.texts, std::vector<std::string>{"INVALID NAME: back\\slash !"});
  EXPECT_EQ(shown.types, std::vector<unsigned>{kMessageOk});
  EXPECT_TRUE(fake.lookups.empty());
  EXPECT_TRUE(fake.deleted.empty());
  EXPECT_EQ(data->size.load(), 90u);
  EXPECT_EQ(table.count(), 4);

  list.selected = {4};
  actions.OnDelete();
  ASSERT_EQ(fake.deleted.size(), 1u);
  EXPECT_EQ(fake.deleted[0], "D:\\DATA\\doc.kx.");
  // The shell never gets a wildcard or an empty path, whoever asks.
  EXPECT_FALSE(shell_delete("D:\\a?b", true, nullptr, t.log));
  EXPECT_FALSE(shell_delete("", true, nullptr, t.log));
  EXPECT_EQ(fake.deleted.size(), 1u);
}

TEST_F(Actions, AnswerNoAndRefusedSelectionsChangeNothing) {
  folder_scan();
  shown.answer = kAnswerNo;
  list.selected = {2};
  actions.OnDelete();
  EXPECT_EQ(shown.texts.back(), "Delete a ?");
  EXPECT_TRUE(fake.deleted.empty());
  EXPECT_EQ(list.fill_calls, 0);
  EXPECT_EQ(data->size.load(), 105u);

  list.selected = {1, 2};  // ".." first
  actions.OnDelete();
  EXPECT_EQ(shown.texts.back(), "INVALID SELECTION !");
  list.selected = {};
  actions.OnDelete();
  EXPECT_EQ(shown.texts.back(), "INVALID SELECTION !");
  list.mode = kListDrives;
  list.selected = {0};
  actions.OnDelete();
  EXPECT_EQ(shown.texts.back(), "INVALID OPERATION !");
  EXPECT_TRUE(fake.deleted.empty());

  // Yes to a question about rows that changed while it was up (the list shows sub now): the
  // answer was about other entries.
  list.mode = kListFiles;
  list.selected = {2};
  testing_fakes::ScopedMessageHandler refill_under_the_question([&](const std::string& text, unsigned type) {
    shown.texts.push_back(text);
    if (type != kMessageYesNo) return static_cast<int>(kAnswerOk);
    t.dir.pcur = sub;
    fill();
    return static_cast<int>(kAnswerYes);
  });
  actions.OnDelete();
  EXPECT_EQ(shown.texts.back(), "INVALID SELECTION !");
  EXPECT_TRUE(fake.deleted.empty());
  EXPECT_EQ(data->size.load(), 105u);
}

TEST_F(Actions, DeletedEntryLosesItsRecordAtOnce) {
  folder_scan();
  list.view = false;  // no refill: the table is what the other readers still see
  list.selected = {2};
  actions.OnDelete();
  EXPECT_EQ(table.node(0), nullptr);
  EXPECT_EQ(actions.node_of_row(2), nullptr);
  EXPECT_EQ(table.node(1)->name, std::string("b"));
}

TEST_F(Actions, OpenFolderNavigationAndRoot) {
  folder_scan();
  list.selected = {6};  // sub
  actions.OnOpen();
  EXPECT_EQ(t.dir.pcur.load(), sub);
  EXPECT_EQ(t.dir.cdir, "D:\\DATA\\sub");
  EXPECT_EQ(list.path_field.back(), "D:\\DATA\\sub");
  EXPECT_EQ(list.dirs_calls, 1);
  fill();
  list.selected = {1};  // ".." back to the root of the scan
  actions.OnOpen();
  EXPECT_EQ(t.dir.pcur.load(), data);
  EXPECT_EQ(t.dir.cdir, "D:\\DATA");
  list.selected = {1};  // ".." above the root: the parent path, to be scanned
  actions.OnOpen();
  EXPECT_EQ(t.dir.cdir, "D:");
  EXPECT_EQ(list.dirs_calls, 3);
  list.selected = {0};  // "\\"
  actions.OnOpen();
  EXPECT_EQ(t.dir.cdir, "D:");
  EXPECT_EQ(t.dir.pcur.load(), data);
  EXPECT_EQ(list.dirs_calls, 4);
}

TEST_F(Actions, UpGoesWhereTheDotDotRowGoesWhateverIsSelected) {
  folder_scan();
  t.dir.pcur = sub;
  t.dir.cdir = "D:\\DATA\\sub";
  fill();
  list.selected = {2};  // x: the selection plays no part
  actions.OnUp();
  EXPECT_EQ(t.dir.pcur.load(), data);
  EXPECT_EQ(list.path_field.back(), "D:\\DATA");
  actions.OnUp();  // above the scanned folder: its parent, to be scanned
  EXPECT_EQ(t.dir.cdir, "D:");
  EXPECT_EQ(list.dirs_calls, 2);
  t.busy = 1;  // nothing during a scan
  actions.OnUp();
  t.busy = 0;
  t.dir.isdrv = 1;  // a drive root has no ".." row
  actions.OnUp();
  list.mode = kListDrives;
  t.dir.isdrv = 0;
  actions.OnUp();
  EXPECT_EQ(list.dirs_calls, 2);
}

TEST_F(Actions, DotDotAboveAScanTypedWithForwardSlashesGoesToTheParent) {
  folder_scan();
  t.dir.cdir = "D:/DATA";
  list.selected = {1};
  actions.OnOpen();
  EXPECT_EQ(t.dir.cdir, "D:");
}

TEST_F(Actions, OpenInTheDriveListTakesTheRowText) {
  list.mode = kListDrives;
  list.rows = {"C:", "Z:"};
  list.selected = {1};
  actions.OnOpen();
  EXPECT_EQ(t.dir.cdir, "Z:");
  EXPECT_EQ(list.dirs_calls, 1);
  list.view = false;
  list.selected = {0};
  actions.OnOpen();
  EXPECT_EQ(t.dir.cdir, "C:");
  EXPECT_EQ(list.dirs_calls, 1);
  // File mode without a tree (it was freed): the rows are stale, nothing happens.
  list.mode = kListFiles;
  list.view = true;
  actions.OnOpen();
  EXPECT_EQ(list.dirs_calls, 1);
}

TEST_F(Actions, OpenFileStartsItsProgram) {
  folder_scan();
  fake.program = "C:\\Program Files\\Ed\\ed.exe";
  list.selected = {2};
  actions.OnOpen();
  ASSERT_EQ(fake.lookups.size(), 1u);
  EXPECT_EQ(fake.lookups[0], "D:\\DATA\\a");
  ASSERT_EQ(fake.started.size(), 1u);
  EXPECT_EQ(fake.started[0].first, "C:\\Program Files\\Ed\\ed.exe");
  EXPECT_EQ(fake.started[0].second, "C:\\Program Files\\Ed\\ed.exe \"D:\\DATA\\a\"");
  EXPECT_EQ(list.dirs_calls, 0);  // no refill after a file
  EXPECT_TRUE(shown.texts.empty());

  fake.program = "C:\\windows\\system32\\shimgvw.dll";
  t.settings.iv = "C:\\iv\\iv.exe";
  actions.OnOpen();
  EXPECT_EQ(fake.started.back().second, "C:\\iv\\iv.exe \"D:\\DATA\\a\" /bf");
}

TEST_F(Actions, OpenFileLookupFailures) {
  folder_scan();
  lobj* a = table.node(0);
  const std::pair<int, const char*> cases[] = {{2, "File not found !"},
                                               {8, "System out of memory/resources !"},
                                               {31, "No association with this file type !"}};
  const int results[] = {2, 1, 3};
  for (int i = 0; i < 3; ++i) {
    fake.find_result = cases[i].first;
    EXPECT_EQ(t.dir.open_lobj(a), results[i]);
    ASSERT_FALSE(shown.texts.empty());
    EXPECT_EQ(shown.texts.back(), cases[i].second);
    EXPECT_EQ(shown.types.back(), kMessageOk);
  }
  shown.clear();
  fake.find_result = 42;
  fake.program = "";
  EXPECT_EQ(t.dir.open_lobj(a), 0);  // found nothing to start: nothing shown, nothing started
  fake.find_result = 5;
  fake.program = "x";
  EXPECT_EQ(t.dir.open_lobj(a), 0);
  EXPECT_TRUE(shown.texts.empty());
  EXPECT_TRUE(fake.started.empty());
  EXPECT_EQ(t.dir.open_lobj(nullptr), 1);
  EXPECT_EQ(t.dir.open_lobj(data), 1);  // the root has no parent
}

}  // namespace
}  // namespace kelvane
