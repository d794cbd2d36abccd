// Deletion as the disk sees it: an entry is deleted only while it is what the scan listed, the
// shell's word is checked against the entry on disk, and long paths are opened through their
// short form.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "removal/delete_check.h"
#include "removal/delete_run.h"
#include "removal/opened_verdict.h"
#include "removal/recycle_reach.h"
#include "removal/shell_delete.h"
#include "scan/entry_stamp.h"
#include "scan/item_texts.h"
#include "tests/support/fake_system.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/tree_builder.h"
#include "tests/support/tree_queries.h"

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
    disk.otherwise = DiskEntry{Presence::kAbsent, false, 0};
    shell.find_result = 42;
    shell.program = "C:\\ed.exe";
  }
  // D:\DATA scanned with files a (10), b (20), c (30); the disk holds them as listed.
  lobj *data = nullptr, *a = nullptr, *b = nullptr, *c = nullptr;
  void scan() {
    data = t.folder(nullptr, "D:\\DATA");
    a = t.file(data, "a", 10);
    b = t.file(data, "b", 20);
    c = t.file(data, "c", 30);
    t.dir.path = "D:\\DATA";
    t.dir.record_scan_root("D:\\DATA");
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
  EXPECT_EQ(delete_verdict(ListedEntry{false, 11}, same, file10, unknown),
            DeleteVerdict::kChanged);  // shrank
  EXPECT_EQ(delete_verdict(file, same, dir, unknown), DeleteVerdict::kChanged);
  // A file listed at 0 B where a folder (0 B to the probe) stands now: the kind tells them apart.
  EXPECT_EQ(delete_verdict(ListedEntry{}, same, dir, unknown), DeleteVerdict::kChanged);
  // The same name, kind and size, but another entry: its stamp tells.
  EXPECT_EQ(delete_verdict(ListedEntry{false, 10, 3}, same, file10, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(ListedEntry{true, 500, 3}, same, dir, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(ListedEntry{true, 500, 3}, same, DiskEntry{Presence::kPresent, true, 0, false, 3},
                           unknown),
            DeleteVerdict::kDelete);
  EXPECT_EQ(delete_verdict(folder, same, file10, unknown), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(file, RootState::kOther, file10, dir), DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(file, RootState::kUnreachable, file10, dir), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, unknown, dir), DeleteVerdict::kUnreachable);
  // Absent: gone only from a folder that is there.
  EXPECT_EQ(delete_verdict(file, same, absent, dir), DeleteVerdict::kGone);
  EXPECT_EQ(delete_verdict(file, same, absent, absent), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, absent, unknown), DeleteVerdict::kUnreachable);
  EXPECT_EQ(delete_verdict(file, same, absent, file10), DeleteVerdict::kUnreachable);
  // Absent by its name, but there by the same name in other case: renamed (its own stamp), or
  // a twin beside the entry that went (another stamp).
  EXPECT_EQ(delete_verdict(ListedEntry{false, 10, 3}, same,
                           DiskEntry{Presence::kAbsent, false, 0, false, 0, 3}, dir),
            DeleteVerdict::kChanged);
  EXPECT_EQ(delete_verdict(ListedEntry{false, 10, 3}, same,
                           DiskEntry{Presence::kAbsent, false, 0, false, 0, 4}, dir),
            DeleteVerdict::kGone);
  // A link as listed: the shell could delete what it names.
  EXPECT_EQ(delete_verdict(file, same, DiskEntry{Presence::kPresent, false, 10, true}, unknown),
            DeleteVerdict::kLink);

  const FolderId scanned{5, 9, "\\Device\\V1\\R", 4}, moved{5, 10, scanned.place, 4},
      elsewhere{6, 9, scanned.place, 4}, other_place{5, 9, "\\Device\\V2\\R", 4},
      remapped{5, 9, scanned.place, 8}, place_unknown{5, 9, "", 4}, upper_half{5, 9, scanned.place, 4, 1};
  EXPECT_EQ(root_state(true, scanned, true, scanned), RootState::kSame);
  EXPECT_EQ(root_state(true, scanned, true, place_unknown), RootState::kSame);
  EXPECT_EQ(root_state(true, scanned, true, moved), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, true, elsewhere), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, true, other_place), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, true, remapped), RootState::kOther);
  EXPECT_EQ(root_state(true, scanned, true, upper_half), RootState::kOther);  // a 128-bit id (ReFS)
  EXPECT_EQ(root_state(true, scanned, false, scanned), RootState::kUnreachable);
  EXPECT_EQ(root_state(false, scanned, false, moved), RootState::kNotRecorded);
}

// An entry opened for a permanent deletion, judged by what its own handle says.
TEST(OpenedVerdict, OnlyTheListedEntryItselfIsOpenedForRemoval) {
  const ListedEntry file{false, 10, file_stamp(1, 2, 3)}, folder{true, 0, folder_stamp(9, 5)};
  OpenedFacts f{false, 10, 1, 2, 3};
  EXPECT_EQ(opened_verdict(file, f, false), OpenResult::kOpened);
  f.file_id = 4;  // another file with the same size and times (cp -p)
  EXPECT_EQ(opened_verdict(file, f, false), OpenResult::kChanged);
  EXPECT_EQ(opened_verdict(ListedEntry{false, 10, file_stamp(1, 2, 0)}, f, false),
            OpenResult::kOpened);  // no id listed
  f = OpenedFacts{false, 11, 1, 2, 3};
  EXPECT_EQ(opened_verdict(file, f, false), OpenResult::kChanged);
  f.size = 10;
  f.name = NameMatch::kCaseOnly;  // File.txt renamed FILE.TXT
  EXPECT_EQ(opened_verdict(file, f, false), OpenResult::kChanged);
  f.name = NameMatch::kElsewhere;  // the open went through a link
  EXPECT_EQ(opened_verdict(file, f, false), OpenResult::kLink);
  OpenedFacts d{true, 0, 5, 6, 9};
  EXPECT_EQ(opened_verdict(folder, d, true), OpenResult::kOpened);
  EXPECT_EQ(opened_verdict(file, d, false), OpenResult::kChanged);
  d.file_id = 8;
  EXPECT_EQ(opened_verdict(folder, d, true), OpenResult::kChanged);
  d = OpenedFacts{true, 0, 7, 6, 9};  // made again, with its id back (ext4 gives a freed inode back)
  EXPECT_EQ(opened_verdict(folder, d, true), OpenResult::kChanged);
  EXPECT_EQ(opened_verdict(ListedEntry{true, 0, 0}, d, true), OpenResult::kOpened);  // no stamp listed
  // An empty file where a folder without a stamp was listed: only the kind tells them apart.
  for (const bool on_way : {false, true})
    EXPECT_EQ(opened_verdict(ListedEntry{true, 0, 0}, OpenedFacts{false, 0, 5, 6, 9}, on_way),
              OpenResult::kChanged);
  d = OpenedFacts{true, 0, 5, 6, 9, true};  // a junction opened as itself
  EXPECT_EQ(opened_verdict(folder, d, true), OpenResult::kLink);
  EXPECT_EQ(opened_verdict(folder, d, false), OpenResult::kOpened);
  // Another volume mounted in a folder: its root's id is no stamp the scan gave; gone through
  // only on the way down to a chosen entry.
  d = OpenedFacts{true, 0, 7, 6, 1, false, true};
  EXPECT_EQ(opened_verdict(folder, d, false), OpenResult::kOtherVolume);
  EXPECT_EQ(opened_verdict(ListedEntry{true, 0, folder_stamp(1, 7)}, d, true), OpenResult::kOpened);
}

// For good, an entry beneath the chosen folder that is not as listed stays, and is named; what
// is as listed goes.
TEST_F(CheckedDelete, PermanentDeletionKeepsAndNamesAnEntryBeneathThatChanged) {
  scan();
  t.settings.ud = 0;
  lobj* sub = t.folder(data, "sub");
  t.file(sub, "p", 700);
  t.file(sub, "q", 5);
  disk.folder("D:\\DATA\\sub");
  disk.file("D:\\DATA\\sub\\p", 4000);
  disk.file("D:\\DATA\\sub\\q", 5);
  DeleteRun r = run({sub});
  EXPECT_EQ(r.message(), "D:\\DATA\\sub\\p\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  EXPECT_EQ(fakes.remover.removed, std::vector<std::string>{"D:\\DATA\\sub\\q"});
  EXPECT_EQ(r.done(), 1u);
  // A folder whose stamp stayed (Windows keeps a folder's creation time) but that lists an entry
  // the scan never saw: what was listed goes, the folder stays with the new entry, and says why.
  for (const char* chosen : {"grown", "outer"}) {
    lobj* top = t.folder(data, chosen);
    lobj* grown = std::string(chosen) == "grown" ? top : t.folder(top, "grown");
    t.file(grown, "r", 3);
    const std::string path = grown->fpath();
    disk.folder(top->fpath());
    disk.folder(path);
    disk.file(path + "\\r", 3);
    fakes.remover.failing.insert(path);
    fakes.remover.listings[path] = {"late"};
    const DeleteRun again = run({top});
    EXPECT_EQ(again.message(), path + "\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
    EXPECT_TRUE(fakes.remover.gone.count(path + "\\r")) << chosen;
  }
}

// For good, an entry beneath that is already gone counts as removed: its folder goes.
TEST_F(CheckedDelete, PermanentDeletionCountsAnEntryBeneathAlreadyGone) {
  scan();
  t.settings.ud = 0;
  lobj* sub = t.folder(data, "sub");
  t.file(sub, "p", 700);
  disk.folder("D:\\DATA\\sub");
  disk.entries["D:\\DATA\\sub\\p"] = DiskEntry{Presence::kAbsent};
  DeleteRun r = run({sub});
  EXPECT_EQ(r.message(), "");
  EXPECT_EQ(r.deleted(), 1u);
  EXPECT_EQ(fakes.remover.removed, std::vector<std::string>{"D:\\DATA\\sub"});
}

TEST_F(CheckedDelete, RunStopsAtTheFirstEntryThatIsNotAsListed) {
  scan();
  disk.file("D:\\DATA\\b", 25);  // grew since the scan
  DeleteRun grown = run({a, b, c});
  EXPECT_EQ(grown.deleted(), 1u);
  EXPECT_EQ(grown.message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  EXPECT_EQ(shell.deleted, std::vector<std::string>{"D:\\DATA\\a"});

  disk.folder("D:\\DATA\\b");  // a folder now stands where the file was
  EXPECT_EQ(run({b}).message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  disk.file("D:\\DATA\\b", 20);
  disk.identity = FolderId{8, 1, ""};  // the drive letter now names another folder
  EXPECT_EQ(run({b}).message(), "D:\\DATA\\b\nCHANGED SINCE THE SCAN, SCAN AGAIN !");
  disk.identity_known = false;  // ... or none at all
  EXPECT_EQ(run({b}).message(), "Could not delete D:\\DATA\\b !");
  EXPECT_EQ(shell.deleted.size(), 1u);
  disk.identity = FolderId{7, 1, ""};
  disk.identity_known = true;
  EXPECT_EQ(run({b, c}, true).deleted(), 0u);  // asked to stop: nothing more is started
  EXPECT_EQ(shell.deleted.size(), 1u);
}

TEST_F(CheckedDelete, LinkAndFolderHoldingOneAreLeftAlone) {
  scan();
  lobj* sub = t.folder(data, "sub");
  disk.folder("D:\\DATA\\sub");
  disk.entries["D:\\DATA\\b"].is_link = true;
  disk.link_holders = {"D:\\DATA\\sub"};
  EXPECT_EQ(run({a, b, c}).message(), "D:\\DATA\\b\nIS A LINK, NOT DELETED !");
  EXPECT_EQ(run({sub}).message(), "D:\\DATA\\sub\nHOLDS A LINK, NOT DELETED !");
  EXPECT_EQ(shell.deleted, std::vector<std::string>{"D:\\DATA\\a"});
}

// For good: a link that opens as itself (Windows) goes as itself and is never gone into, and
// what the scan listed beneath it leaves with it; another volume mounted in a folder is never
// entered nor removed, and stays with the folders that hold it; a link the platform cannot
// open as itself (Wine) stays likewise. The box says whether the rest of the folder went.
TEST_F(CheckedDelete, ForGoodLinksGoAsThemselvesAndAnotherVolumeIsNeverEntered) {
  scan();
  t.settings.ud = 0;
  lobj* sub = t.folder(data, "sub");
  t.file(sub, "p", 5);
  lobj* junction = t.folder(sub, "j");
  t.file(junction, "named", 7);
  lobj* disk2 = t.folder(sub, "disk2");
  t.file(t.folder(disk2, "in"), "v", 9);
  lobj* mount = t.folder(data, "m");
  t.file(mount, "w", 3);
  lobj* with_link = t.folder(data, "wl");
  t.file(with_link, "l", 1);
  t.file(with_link, "q", 2);
  lobj* only_link = t.folder(data, "ol");
  t.file(only_link, "l", 1);
  disk.holds(t.dir);
  fakes.remover.own_links = {"D:\\DATA\\sub\\j"};
  fakes.remover.volumes = {{"D:\\DATA\\sub\\disk2", 2}, {"D:\\DATA\\m", 3}};
  fakes.remover.links = {"D:\\DATA\\wl\\l", "D:\\DATA\\ol\\l"};

  DeleteRun run_sub = run({sub});
  EXPECT_EQ(run_sub.message(), "D:\\DATA\\sub\nHOLDS ANOTHER VOLUME, PARTLY DELETED !");
  EXPECT_EQ(fakes.remover.removed, (std::vector<std::string>{"D:\\DATA\\sub\\j", "D:\\DATA\\sub\\p"}));
  for (const std::string& opened : fakes.remover.opened) {
    EXPECT_EQ(opened.find("sub\\j\\"), std::string::npos) << opened;
    EXPECT_EQ(opened.find("disk2\\"), std::string::npos) << opened;
  }
  EXPECT_EQ(run_sub.done(), 3u);  // j, what it named, and p left the tree; disk2 and sub stay

  fakes.remover.removed.clear();
  EXPECT_EQ(run({mount}).message(), "D:\\DATA\\m\nHOLDS ANOTHER VOLUME, NOT DELETED !");
  EXPECT_EQ(run({with_link}).message(), "D:\\DATA\\wl\nHOLDS A LINK, PARTLY DELETED !");
  EXPECT_EQ(run({only_link}).message(), "D:\\DATA\\ol\nHOLDS A LINK, NOT DELETED !");
  EXPECT_EQ(fakes.remover.removed,
            (std::vector<std::string>{"D:\\DATA\\wl\\q", "D:\\DATA\\wl\\l", "D:\\DATA\\ol\\l"}));
  // The chosen entry a link that opens as itself: it goes alone.
  fakes.remover.own_links.insert("D:\\DATA\\c");
  EXPECT_EQ(run({c}).message(), "");
  EXPECT_EQ(fakes.remover.removed.back(), "D:\\DATA\\c");
}

// After a permanent deletion the stamps of the folders that stay are the ones read on the
// handles the run held, not read again by path (which may lead to a folder put there since).
TEST_F(CheckedDelete, FoldersThatStayAreRestampedOnTheHandlesTheRunHeld) {
  scan();
  t.settings.ud = 0;
  lobj* sub = t.folder(data, "sub");
  sub->stamp = 5;
  lobj* kept = t.folder(sub, "kept");
  kept->stamp = 6;
  t.file(kept, "stuck", 1);
  t.file(kept, "goes", 2);
  disk.holds(t.dir);
  disk.entries["D:\\DATA\\sub"].stamp = 5;
  disk.entries["D:\\DATA\\sub\\kept"].stamp = 6;
  fakes.remover.failing = {"D:\\DATA\\sub\\kept\\stuck"};
  fakes.remover.stamps = {{"D:\\DATA\\sub", 15}, {"D:\\DATA\\sub\\kept", 16}};
  // The path says 5 and 6, as the scan listed them: a folder put back in each place.
  DeleteRun r = run({kept});
  EXPECT_EQ(r.message(), "Could not delete D:\\DATA\\sub\\kept\\stuck !");
  EXPECT_EQ(r.restamped(), (std::vector<std::pair<lobj*, uint32_t>>{{sub, 15}, {kept, 16}}));
}

// The walk for links is made only where the shell would follow them (Wine), tells each folder
// it reads, and ends the run when asked to stop; the shell's question is owned by the window
// the run was made for.
TEST_F(CheckedDelete, LinkWalkOnlyWhereTheShellFollowsLinksStoppableAndShown) {
  scan();
  t.settings.ud = 1;
  lobj* sub = t.folder(data, "sub");
  disk.folder("D:\\DATA\\sub");
  disk.link_holders = {"D:\\DATA\\sub"};
  disk.follows_links = false;
  int window = 0;
  DeleteRun windows_shell(t.dir, {sub}, &window);
  std::atomic<bool> stop{false};
  windows_shell.run(stop, nullptr);
  EXPECT_EQ(windows_shell.deleted(), 1u);
  EXPECT_TRUE(disk.walked.empty());
  EXPECT_EQ(shell.delete_owners, std::vector<void*>{&window});

  disk.follows_links = true;
  disk.link_holders.clear();
  disk.folder("D:\\DATA\\sub");
  std::vector<std::string> shown;
  DeleteRun stopped(t.dir, {sub});
  // Stopped (Esc, Exit) while the walk reads its first folder: the shell is never asked.
  stopped.run(stop, [&](const std::string& text) {
    shown.push_back(text);
    if (disk.looked_at == 0 && !disk.walked.empty()) stop.store(true);
  });
  EXPECT_EQ(disk.walked, std::vector<std::string>{"D:\\DATA\\sub"});
  EXPECT_EQ(shown.back(), deleting_text("D:\\DATA\\sub", 0, 1));
  EXPECT_EQ(stopped.deleted(), 0u);
  EXPECT_TRUE(stopped.message().empty());
  EXPECT_EQ(shell.deleted.size(), 1u);
}

// Every folder from below the root down to the entry's own is asked again right before the
// entry is acted on: a link or another folder anywhere on the way leaves it alone.
TEST_F(CheckedDelete, WayDownIsTheOneScannedOrNothingIsDeleted) {
  scan();
  lobj* sub = t.folder(data, "sub");
  lobj* deep = t.folder(sub, "deep");
  lobj* x = t.file(deep, "x", 1000);
  sub->stamp = 5;
  deep->stamp = 6;
  x->stamp = 7;
  EXPECT_EQ(scanned_folders(*data).size(), 0u);
  const std::vector<ScannedFolder> way = scanned_folders(*x);
  ASSERT_EQ(way.size(), 2u);
  EXPECT_EQ(way[0].path, "D:\\DATA\\sub");
  EXPECT_EQ(way[0].stamp, 5u);
  EXPECT_EQ(way[1].path, "D:\\DATA\\sub\\deep");
  EXPECT_EQ(way[1].stamp, 6u);
  const std::string changed = "D:\\DATA\\sub\\deep\\x\nCHANGED SINCE THE SCAN, SCAN AGAIN !";
  auto set = [this](const std::string& path, bool is_dir, bool is_link, uint32_t stamp) {
    disk.entries[path] = DiskEntry{Presence::kPresent, is_dir, 0, is_link, stamp};
  };
  set("D:\\DATA\\sub\\deep\\x", false, false, 7);
  disk.entries["D:\\DATA\\sub\\deep\\x"].size = 1000;
  const std::string behind = "D:\\DATA\\sub\\deep\\x\nIS BEHIND A LINK, NOT DELETED !";
  set("D:\\DATA\\sub", true, true, 5);  // a link put in the folder's place, or entered by the scan
  set("D:\\DATA\\sub\\deep", true, false, 6);
  EXPECT_EQ(run({x}).message(), behind);
  set("D:\\DATA\\sub", true, false, 9);  // another folder of that name
  EXPECT_EQ(run({x}).message(), changed);
  set("D:\\DATA\\sub", true, false, 5);
  set("D:\\DATA\\sub\\deep", false, false, 6);  // a file now
  EXPECT_EQ(run({x}).message(), changed);
  set("D:\\DATA\\sub\\deep", true, true, 6);
  EXPECT_EQ(run({x}).message(), behind);
  disk.entries.erase("D:\\DATA\\sub\\deep");  // gone with the entry: nothing to tell
  EXPECT_EQ(run({x}).message(), "Could not delete D:\\DATA\\sub\\deep\\x !");
  EXPECT_TRUE(shell.deleted.empty());
  set("D:\\DATA\\sub\\deep", true, false, 6);
  EXPECT_TRUE(run({x}).message().empty());
  EXPECT_EQ(shell.deleted, std::vector<std::string>{"D:\\DATA\\sub\\deep\\x"});
}

// A link the scan entered is gone through, with either setting of the recycle bin, while it
// leads to the folder the scan entered: pointed at another since, the entry is changed (a scan
// again lists what it leads to now). A folder on the way made a link since is still refused as
// a link. The scan's note of the link leaves the tree with its node.
TEST_F(CheckedDelete, WayThroughALinkTheScanEnteredHoldsWhileItLeadsThere) {
  MemoryDirSource fs;
  fs.add_file("D:\\DATA\\sub\\x", 1000);
  fs.add_file("D:\\OUT\\deep\\y", 7);
  fs.add_file("D:\\OUT\\z", 5);
  fs.add_link("D:\\DATA\\L", "D:\\OUT");
  t.dir.set_source(&fs);
  t.dir.read_mdir("D:\\DATA", nullptr);
  lobj* link = folder_named(t.dir, "L");
  ASSERT_NE(link, nullptr);
  lobj *y = folder_named(t.dir, "deep")->first, *z = link->first, *x = folder_named(t.dir, "sub")->first;
  FolderId entered;
  ASSERT_TRUE(fs.identity("D:\\OUT", entered));
  const std::vector<ScannedFolder> way = scanned_folders(*y, &t.dir.entered_links());
  ASSERT_EQ(way.size(), 2u);
  EXPECT_TRUE(way[0].entered_link);
  EXPECT_EQ(way[0].target, entered);
  EXPECT_FALSE(way[1].entered_link);
  disk.holds(t.dir);
  disk.entries["D:\\DATA\\L"].is_link = true;
  for (int ud : {1, 0}) {
    t.settings.ud = ud;
    lobj* target = ud != 0 ? y : z;
    disk.identities["D:\\DATA\\L"] = FolderId{7, 99, ""};
    EXPECT_EQ(run({target}).message(), changed_text(item_path(*target))) << ud;
    disk.identities["D:\\DATA\\L"] = entered;
    EXPECT_EQ(run({target}).message(), "") << ud;
    EXPECT_EQ(disk.entries.count(item_path(*target)), 0u) << ud;
    disk.entries["D:\\DATA\\sub"].is_link = true;
    EXPECT_EQ(run({x}).message(), behind_link_text(item_path(*x))) << ud;
    disk.entries["D:\\DATA\\sub"].is_link = false;
  }
  EXPECT_EQ(shell.deleted, std::vector<std::string>{"D:\\DATA\\L\\deep\\y"});
  EXPECT_EQ(fakes.remover.removed, std::vector<std::string>{"D:\\DATA\\L\\z"});
  EXPECT_EQ(t.dir.entered_links().size(), 1u);
  t.dir.remv_lobj(link, 0);
  EXPECT_EQ(t.dir.entered_links().size(), 0u);
}

// A scan that could not record its folder's identity still has the way down checked: through a
// link there the shell would reach what was never scanned.
TEST_F(CheckedDelete, WayDownIsCheckedAlsoWhereTheRootIdentityIsUnknown) {
  disk.identity_known = false;
  scan();
  lobj* x = t.file(t.folder(data, "sub"), "x", 1000);
  disk.entries["D:\\DATA\\sub"] = DiskEntry{Presence::kPresent, true, 0, true};
  disk.file("D:\\DATA\\sub\\x", 1000);
  EXPECT_EQ(run({x}).message(), "D:\\DATA\\sub\\x\nIS BEHIND A LINK, NOT DELETED !");
  EXPECT_TRUE(shell.deleted.empty());
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
  EXPECT_TRUE(shell.deleted.empty());
  EXPECT_TRUE(fakes.messages.texts.empty());
}

TEST_F(CheckedDelete, EntryTheShellLeftOnDiskIsAFailureWithEitherBin) {
  const std::string log_path = ::testing::TempDir() + "checked_delete_log.txt";
  ASSERT_TRUE(t.log.open(log_path));
  disk.file("C:\\KTEST\\D1\\F2", 2);
  disk.file("C:\\KTEST\\D1\\S", 4);
  shell.stuck = {"C:\\KTEST\\D1\\F2"};
  for (int ud : {0, 1}) {
    t.settings.ud = ud;
    EXPECT_FALSE(shell_delete("C:\\KTEST\\D1\\F2", ud != 0, nullptr, t.log)) << ud;
  }
  EXPECT_EQ(shell.deleted.size(), 2u);
  EXPECT_TRUE(shell_delete("C:\\KTEST\\D1\\S", false, nullptr, t.log));
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
  EXPECT_EQ(shell.lookups, (std::vector<std::string>{path}));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].second, "C:\\ed.exe \"C:\\DDDDDD~1\\NOTES.TXT\"");
  disk.short_form.clear();
  t.dir.open_lobj(file);
  EXPECT_EQ(shell.started.back().second, "C:\\ed.exe \"\\\\?\\" + path + "\"");
  EXPECT_TRUE(fakes.messages.texts.empty());
}

// Wine's bin takes what lies on its own file system: the device of a path is its deepest mount's,
// a later mount on the same point covering an earlier one, a blank in a point written as \040.
TEST(RecycleReach, APathLiesOnItsDeepestMount) {
  const std::string mounts =
      "21 1 254:0 / / rw - ext4 /dev/vda rw\n"
      "22 21 0:25 / /dev/shm rw - tmpfs tmpfs rw\n"
      "23 21 0:30 / /mnt/a\\040b rw - tmpfs tmpfs rw\n"
      "24 21 0:31 / /mnt/a\\040b rw - ext4 /dev/vdb rw\n";
  EXPECT_EQ(mount_device(mounts, "/root/.local/share/Trash"), "254:0");
  EXPECT_EQ(mount_device(mounts, "/dev/shm/x/y"), "0:25");
  EXPECT_EQ(mount_device(mounts, "/dev/shmx"), "254:0");
  EXPECT_EQ(mount_device(mounts, "/mnt/a b/f"), "0:31");
  EXPECT_EQ(mount_device("", "/x"), "");
  // A folder with another file system mounted beneath it, at any depth.
  EXPECT_TRUE(other_mount_beneath(mounts, "/dev", "254:0"));
  EXPECT_TRUE(other_mount_beneath(mounts, "/mnt/", "254:0"));
  EXPECT_FALSE(other_mount_beneath(mounts, "/mnt/a", "254:0"));
  EXPECT_FALSE(other_mount_beneath(mounts, "/dev/shm", "0:25"));
  EXPECT_FALSE(other_mount_beneath(mounts, "/root", "254:0"));
}

}  // namespace
}  // namespace kelvane
