// Names that the platform's path rules would rewrite, or that no path can carry, on the real
// file system: Wine's Z: is the Unix one, where such names and case twins can be made. Every
// folder is read, and every entry deleted or opened, by the name the enumeration gave.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "removal/delete_check.h"
#include "removal/delete_run.h"
#include "removal/entry_probe.h"
#include "scan/disk_probe.h"
#include "scan/exact_path.h"
#include "scan/item_texts.h"
#include "scan/mdir.h"
#include "scan/shell.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/skip_report.h"
#include "tests/support/tree_queries.h"
#include "tests/support/unix_shell.h"

namespace kelvane {
namespace {

using V = std::vector<long long>;

// The entry's size as the platform reads path (its exact name unless plain), or -1 when it
// is not there.
long long size_of(const std::string& path, bool plain = false) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  const std::wstring wide = widen(plain ? path : extended_path(path));
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class ExactNames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string tag = strf("%lu-%lu", GetCurrentProcessId(), GetTickCount());
    root = "Z:\\tmp\\kelvane-names-" + tag;
    if (!CreateDirectoryW(widen(root).c_str(), nullptr)) return;
    const std::string u = unix_name_of(root);
    // Beside each odd name, the entry a rewritten path would name instead.
    ready = run_unix(
        "cd '" + u +
            "' && mkdir -p back dotdir dotdir. 'q?dir' qxdir cc/data/inner cc/DATA/inner"
            " && printf 12345 > back/slash && printf 123456789 > 'back\\slash'"
            " && printf 1 > doc.kx && printf 1234567 > doc.kx. && printf 1 > sp && printf 22 > 'sp '"
            " && printf 55555 > ... && printf 666666 > nul && printf 1 > dotdir/in"
            " && printf 22 > dotdir./in2 && printf 333 > 'q?dir/q' && printf 4444 > qxdir/x"
            " && head -c 1000 /dev/zero > cc/data/inner/f && head -c 300 /dev/zero > cc/data/inner/g"
            " && head -c 5000 /dev/zero > cc/DATA/inner/f"
            " && mkdir del del/d del/d. && printf 1 > del/x && printf 22 > del/x. && printf 1 > del/sp"
            " && printf 22 > 'del/sp ' && printf 333 > del/... && printf 4444 > del/nul"
            " && printf 1 > del/d/in"
            " && mkdir links links/tdir links/holder && printf 12345 > links/target && printf 1 > links/plain"
            " && ln -s target links/link && printf 1 > links/tdir/inner && ln -s tdir links/dlink"
            " && ln -s ../target links/holder/out && printf 1 > links/tw && ln -s tw links/tw."
            " && printf 7777777 > links/a. && ln -s a. links/a.. && printf 88 > links/c. && ln -s c. links/c"
            " && mkdir -p links/nest/mid && ln -s ../../target links/nest/mid/out"
            // Deeper than the Unix path limit: Wine reads no folder past 4095 bytes.
            " && mkdir deep && cd deep && perl -e 'for $i (10..34) { $n = $i . (chr(100) x 198);"
            " mkdir $n or die; chdir $n or die; open(F, chr(62), chr(102) . $i) or die; close F }'",
        root, "made");
  }
  static void TearDownTestSuite() {
    run_unix("rm -rf '" + unix_name_of(root) + "'", "Z:\\tmp",
             "kelvane-names-" + root.substr(root.rfind('-') + 1) + ".gone");
  }
  void SetUp() override {
    ASSERT_TRUE(ready) << "fixture under " << root;
    holder = std::make_unique<mdir>(log, settings, busy);
  }
  void TearDown() override { holder->stop_scan(); }

  bool scan(const std::string& path) {
    testing_fakes::ScanRecorder finished(busy, false);
    if (holder->ptop) holder->free_tree();
    holder->pcur = nullptr;
    holder->start_scan(path, &finished);
    finished.wait();
    return finished.ok;
  }
  lobj* folder(const std::string& name) { return folder_named(*holder, name); }
  lobj* file(const lobj* in, const std::string& name) {
    for (lobj* f = in->first; f; f = f->next)
      if (name == f->name) return f;
    return nullptr;
  }

  static inline std::string root;
  static inline bool ready = false;
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  std::unique_ptr<mdir> holder;
};

TEST_F(ExactNames, EachFolderIsReadByItsOwnNameOrNotAtAll) {
  ASSERT_TRUE(scan(root));
  EXPECT_EQ(totals(folder("dotdir.")), (V{2, 0, 1}));
  EXPECT_EQ(totals(folder("dotdir")), (V{1, 0, 1}));
  // "q?dir" is a pattern to the enumeration: the folder stays empty, like one that cannot be read.
  EXPECT_EQ(totals(folder("q?dir")), (V{0, 0, 0}));
  EXPECT_EQ(totals(folder("qxdir")), (V{4, 0, 1}));
  EXPECT_EQ(totals(folder("back")), (V{5, 0, 1}));
  ASSERT_NE(file(holder->ptop, "back\\slash"), nullptr);
  EXPECT_EQ(file(holder->ptop, "back\\slash")->size.load(), 9u);
  EXPECT_EQ(file(holder->ptop, "...")->size.load(), 5u);
  // The case twins: each folder with its own files.
  lobj* data = folder("data");
  lobj* big = folder("DATA");
  ASSERT_NE(data, nullptr);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(totals(data), (V{1300, 1, 2}));
  EXPECT_EQ(totals(big), (V{5000, 1, 1}));

  // A typed path in the case of one twin scans that twin.
  ASSERT_TRUE(scan(root + "\\cc\\data\\inner"));
  EXPECT_EQ(totals(holder->ptop), (V{1300, 0, 2}));
  EXPECT_EQ(holder->ptop.load()->fpath(), root + "\\cc\\data\\inner");
}

// Past the platform's limit a folder cannot be read: it is there, empty, as an unreadable one;
// every folder above it is read whole.
TEST_F(ExactNames, FoldersPastThePathLimitAreEmptyNotDropped) {
  ASSERT_TRUE(scan(root + "\\deep"));
  int levels = 0, files = 0;
  lobj* last = nullptr;
  for (lobj* f = holder->ptop.load()->next; f; f = f->next) {
    ++levels;
    files += f->nfil.load() > 0 ? 1 : 0;
    last = f;
  }
  ASSERT_NE(last, nullptr);
  EXPECT_GT(last->fpath().size(), 3800u);
  EXPECT_EQ(totals(last), (V{0, 0, 0}));
  // Each folder read holds its file and the next folder; the last, unreadable, holds nothing.
  EXPECT_EQ(files, levels - 1);
  EXPECT_EQ(holder->ptop.load()->ndir.load(), levels);
}

// Deleted through the program's own path (its checks, the platform's shell and disk) by the
// exact name: a name ending in dots or blanks is a plain entry, no link, and the entry a
// rewritten path would name instead stays, and so does the folder that "..." would name.
TEST_F(ExactNames, DeletionTakesTheEntryOfExactlyThatName) {
  settings.ud = 0;
  const std::string del = root + "\\del";
  ASSERT_TRUE(scan(del));
  const std::atomic<bool> go_on{false};
  for (const char* name : {"x.", "sp ", "...", "nul", "d."}) {
    SCOPED_TRACE(name);
    lobj* node = file(holder->ptop, name);
    if (node == nullptr) node = folder(name);
    ASSERT_NE(node, nullptr);
    DeleteRun run(*holder, {node});
    run.run(go_on, nullptr);
    EXPECT_EQ(run.message(), "");
    EXPECT_EQ(run.deleted(), 1u);
    EXPECT_EQ(size_of(del + "\\" + name), -1);
  }
  EXPECT_EQ(size_of(del + "\\x"), 1);
  EXPECT_EQ(size_of(del + "\\sp"), 1);
  EXPECT_EQ(size_of(del + "\\d\\in"), 1);
}

// For good, the program removes what Explorer removes: read-only, hidden and system files and
// folders, and names ending in dots or blanks at any depth, each through its own handle inside
// its folder's. A file put in a listed one's place with its size and times (cp -p), or renamed
// in case only, is another entry: it stays.
TEST_F(ExactNames, PermanentDeletionTakesReadOnlyAndDottedTreesButNoReplacedFile) {
  settings.ud = 0;
  const std::string tree = root + "\\tree";
  ASSERT_TRUE(
      run_unix("cd '" + unix_name_of(root) +
                   "' && mkdir -p tree/T/rod tree/T/dd. tree/T/x. && printf 1 > tree/T/rod/in"
                   " && printf 22 > tree/T/ro && printf 3 > tree/T/dd./f. && printf 4 > tree/T/x./f"
                   " && printf 5 > 'tree/T/sp ' && printf 0123456789 > tree/kept && printf 1 > tree/File.txt",
               root, "tree made"));
  for (const char* name : {"T\\rod\\in", "T\\ro", "T\\rod", "T\\dd.\\f."}) {
    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(widen(extended_path(tree + "\\" + name)).c_str(), marks)) << name;
  }
  ASSERT_TRUE(scan(tree));
  ASSERT_TRUE(run_unix(
      "cd '" + unix_name_of(tree) + "' && cp -p kept kept.new && mv kept.new kept && mv File.txt FILE.TXT",
      tree, "replaced"));
  const std::atomic<bool> go_on{false};
  for (const char* name : {"T", "kept", "File.txt"}) {
    lobj* node = std::string(name) == "T" ? folder(name) : file(holder->ptop, name);
    ASSERT_NE(node, nullptr) << name;
    DeleteRun run(*holder, {node});
    run.run(go_on, nullptr);
    EXPECT_EQ(run.message(), std::string(name) == "T" ? "" : changed_text(item_path(*node))) << name;
  }
  settings.ud = 1;  // the same check before the shell is asked
  DeleteRun renamed(*holder, {file(holder->ptop, "File.txt")});
  renamed.run(go_on, nullptr);
  EXPECT_EQ(renamed.message(), changed_text(tree + "\\File.txt"));
  EXPECT_EQ(size_of(tree + "\\T"), -1);
  EXPECT_EQ(size_of(tree + "\\kept"), 10);
  EXPECT_EQ(size_of(tree + "\\FILE.TXT"), 1);
}

// Wine's shell deletes what a Unix link names, for a file or a folder alike, also beneath a
// folder it deletes: a link and a folder holding one are left alone, and so is what they name.
// Under Wine a link whose name differs from its target's only in the dots that end them ("a.."
// to "a.", "c" to "c.") opens at its own name's place: it is a link all the same, with either
// setting of the recycle bin.
TEST_F(ExactNames, LinksAndFoldersHoldingThemAreNotDeleted) {
  settings.ud = 0;
  const std::string links = root + "\\links";
  ASSERT_TRUE(scan(links));
  const std::atomic<bool> go_on{false};
  for (lobj* node : {file(holder->ptop, "link"), file(holder->ptop, "tw."), folder("dlink"), folder("holder"),
                     file(holder->ptop, "a.."), file(holder->ptop, "c"), file(holder->ptop, "plain")}) {
    ASSERT_NE(node, nullptr);
    DeleteRun run(*holder, {node});
    run.run(go_on, nullptr);
    const std::string name = node->name;
    EXPECT_EQ(run.message(), name == "plain" ? "" : link_text(item_path(*node), name == "holder")) << name;
  }
  // The walk made before the shell is asked looks below a folder's own entries.
  EXPECT_TRUE(entry_probe().holds_link(links + "\\nest", go_on, nullptr));
  EXPECT_FALSE(entry_probe().holds_link(links + "\\tdir", go_on, nullptr));
  settings.ud = 1;
  for (lobj* node : {file(holder->ptop, "a.."), file(holder->ptop, "c")}) {
    DeleteRun run(*holder, {node});
    run.run(go_on, nullptr);
    EXPECT_EQ(run.message(), link_text(item_path(*node), false)) << node->name;
  }
  EXPECT_EQ(size_of(links + "\\a."), 7);
  EXPECT_EQ(size_of(links + "\\c."), 2);
  EXPECT_EQ(size_of(links + "\\target"), 5);
  EXPECT_EQ(size_of(links + "\\tdir\\inner"), 1);
  EXPECT_EQ(size_of(links + "\\holder"), 0);
  EXPECT_EQ(size_of(links + "\\plain"), -1);
  EXPECT_EQ(size_of(links + "\\tw"), 1);  // what "tw." names, where the place drops the dot
}

// For good under Wine, which opens every link as what it names: a folder holding a link loses
// the rest, keeps the link with the folders holding it, and the box says it went in part. A
// Unix mount inside a folder (another volume to Wine) is never entered: what is on it stays. A
// folder "d." beside a link "d.." to it is deleted, the link is not (Wine lists a link with its
// target's id, a link to a folder marked as a reparse point).
TEST_F(ExactNames, ForGoodLinksAndMountsStayTheRestGoes) {
  settings.ud = 0;
  const std::string hold = root + "\\hold";
  ASSERT_TRUE(run_unix(
      "cd '" + unix_name_of(root) +
          "' && mkdir -p hold/H/sub hold/M/m hold/tdir hold/twin/d. && printf 12345 > hold/target"
          " && printf 1 > hold/tdir/in && printf 22 > hold/H/f && printf 333 > hold/H/sub/g"
          " && ln -s ../target hold/H/out && ln -s ../../tdir hold/H/sub/dl && printf 4444 > hold/M/f"
          " && printf 1 > hold/twin/d./in && ln -s d. hold/twin/d..",
      root, "hold made"));
  // The mount needs the right to mount (root, as the test host runs).
  const std::string m = unix_name_of(hold + "\\M\\m");
  ASSERT_TRUE(run_unix("(mount -t tmpfs kelvane-test '" + m + "' && printf 55555 > '" + m + "/x') || :", hold,
                       "mount tried"));
  const bool mounted = size_of(hold + "\\M\\m\\x") == 5;
  struct Unmount {
    std::string point, at;
    bool on;
    ~Unmount() {
      if (on) run_unix("umount '" + point + "'", at, "unmounted");
    }
  } unmount{m, hold, mounted};
  ASSERT_TRUE(scan(hold));
  const std::atomic<bool> go_on{false};
  const auto remove = [&](lobj* node) {
    EXPECT_NE(node, nullptr);
    if (node == nullptr) return std::string("none");
    DeleteRun run(*holder, {node});
    run.run(go_on, nullptr);
    for (const auto& [changed, stamp] : run.restamped()) changed->stamp = stamp;  // as the list does
    return run.message();
  };
  EXPECT_EQ(remove(folder("H")), hold + "\\H\nHOLDS A LINK, PARTLY DELETED !");
  EXPECT_EQ(size_of(hold + "\\H\\f"), -1);
  EXPECT_EQ(size_of(hold + "\\H\\sub\\g"), -1);
  EXPECT_EQ(size_of(hold + "\\H\\out"), 5);  // the link, through to its target
  EXPECT_EQ(size_of(hold + "\\target"), 5);
  EXPECT_EQ(size_of(hold + "\\tdir\\in"), 1);
  EXPECT_EQ(size_of(hold + "\\H\\sub\\dl\\in"), 1);

  EXPECT_EQ(remove(folder("d..")), link_text(hold + "\\twin\\d..", false));
  EXPECT_EQ(remove(folder("d.")), "");
  EXPECT_EQ(size_of(hold + "\\twin\\d."), -1);
  EXPECT_TRUE(run_unix("test -L '" + unix_name_of(hold) + "/twin/d..'", hold, "still a link"));

  if (!mounted) KELVANE_SKIP("a Unix mount inside a folder deleted for good", "mount -t tmpfs refused here");
  EXPECT_EQ(remove(folder("M")), hold + "\\M\nHOLDS ANOTHER VOLUME, PARTLY DELETED !");
  EXPECT_EQ(size_of(hold + "\\M\\f"), -1);
  EXPECT_EQ(size_of(hold + "\\M\\m\\x"), 5);
  // Nor is a folder with another file system beneath it handed to Wine's trash.
  settings.ud = 1;
  EXPECT_EQ(remove(folder("M")), no_bin_text(hold + "\\M"));
  EXPECT_EQ(size_of(hold + "\\M\\m\\x"), 5);
}

// Wine's bin takes a folder only from the file system of the Unix home's trash: for one from
// elsewhere (tmpfs here), or a file held open, Wine asks in a box of its own whether to delete it
// for good, and then follows links. Such an entry is not handed to the shell; the list keeps it.
TEST_F(ExactNames, WhatTheBinCannotTakeIsNotHandedToTheShell) {
  const std::string shm = "Z:\\dev\\shm\\kelvane-bin-" + std::to_string(GetCurrentProcessId());
  if (!CreateDirectoryW(widen(shm).c_str(), nullptr))
    KELVANE_SKIP("the bin on another file system", "no /dev/shm");
  ASSERT_TRUE(run_unix("cd '" + unix_name_of(shm) + "' && mkdir D && printf 1 > D/f", shm, "made"));
  const std::string held = root + "\\inuse\\held";
  ASSERT_TRUE(CreateDirectoryW(widen(root + "\\inuse").c_str(), nullptr));
  HANDLE in_use =
      CreateFileW(widen(held).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(in_use, INVALID_HANDLE_VALUE);
  // Wine's own question, should it come, is answered No so that the test ends.
  struct Answerer {
    std::atomic<bool> done{false}, asked{false};
    std::thread thread{[this] {
      for (; !done.load(); Sleep(100)) {
        if (HWND box = FindWindowW(nullptr, L"Confirm file deletion")) {
          asked = true;
          PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
      }
    }};
    ~Answerer() {
      done = true;
      thread.join();
    }
  } answer;
  settings.ud = 1;
  const std::atomic<bool> go_on{false};
  ASSERT_TRUE(scan(shm));
  DeleteRun on_tmpfs(*holder, {folder("D")});
  on_tmpfs.run(go_on, nullptr);
  EXPECT_EQ(on_tmpfs.message(), no_bin_text(shm + "\\D"));
  ASSERT_TRUE(scan(root + "\\inuse"));
  DeleteRun run(*holder, {file(holder->ptop, "held")});
  run.run(go_on, nullptr);
  EXPECT_EQ(run.message(), no_bin_text(held));
  CloseHandle(in_use);
  EXPECT_FALSE(answer.asked.load());
  EXPECT_EQ(size_of(shm + "\\D\\f"), 1);
  EXPECT_EQ(size_of(held), 0);
  run_unix("rm -rf '" + unix_name_of(shm) + "'", "Z:\\tmp",
           "kelvane-bin-" + std::to_string(GetCurrentProcessId()));
}

// Open looks the file up by its own name (".kx" has no association here: found, nothing to
// start) and hands the program a path that it reads as this very file.
TEST_F(ExactNames, OpenNamesThisVeryFile) {
  const std::string dotted = root + "\\doc.kx.";
  ASSERT_FALSE(plain_path_is_exact(dotted));
  const std::string argument = program_argument(dotted, disk_probe().short_path(dotted));
  EXPECT_EQ(size_of(argument, true), 7) << argument;
  std::string program;
  EXPECT_EQ(shell().find_executable(dotted, program), kFindNoAssociation);
  EXPECT_EQ(shell().find_executable(root + "\\gone.", program), kFindFileNotFound);
}

// For good, files go one run after another beneath a folder past MAX_PATH and beneath a
// drive's root scanned as "X:\": under Wine a folder's stamp follows what it holds, so each run
// reads anew the folder it emptied, by a path the platform opens, and the next run finds it as
// the tree now lists it (as the list applies it after a run).
TEST_F(ExactNames, FilesGoOneRunAfterAnotherPastThePathLimitAndBeneathADriveRoot) {
  settings.ud = 0;
  const std::atomic<bool> go_on{false};
  const auto delete_files = [&](const std::string& scanned, const std::string& in) {
    SCOPED_TRACE(scanned);
    ASSERT_TRUE(scan(scanned));
    lobj* holding = folder(in);
    ASSERT_NE(holding, nullptr);
    for (const char* name : {"a", "b"}) {
      lobj* node = file(holding, name);
      ASSERT_NE(node, nullptr) << name;
      DeleteRun run(*holder, {node});
      run.run(go_on, nullptr);
      EXPECT_EQ(run.message(), "") << name;
      EXPECT_EQ(size_of(holding->fpath() + "\\" + name), -1) << name;
      for (const auto& [changed, stamp] : run.restamped()) changed->stamp = stamp;
    }
  };
  const std::string n(150, 'n'), m(150, 'm');
  ASSERT_TRUE(run_unix("cd '" + unix_name_of(root) + "' && mkdir -p far/" + n + "/" + m +
                           " drive/d/e && cd far/" + n + "/" + m +
                           " && printf 1 > a && printf 22 > b && cd ../../../drive/d/e" +
                           " && printf 1 > a && printf 22 > b",
                       root, "far made"));
  ASSERT_GT((root + "\\far\\" + n + "\\" + m).size(), kLongestPlainPath);
  delete_files(root + "\\far", m);

  const std::string c_drive = unix_name_of("C:\\");
  const size_t links_at = c_drive.rfind("/c:");
  ASSERT_NE(links_at, std::string::npos) << c_drive;
  char letter = 0;
  for (char l = 'Y'; l > 'M' && letter == 0; --l)
    if (!((GetLogicalDrives() >> (l - 'A')) & 1)) letter = l;
  ASSERT_NE(letter, 0);
  const std::string link = c_drive.substr(0, links_at) + strf("/%c:", letter + ('a' - 'A'));
  ASSERT_TRUE(run_unix("ln -sfn '" + unix_name_of(root + "\\drive") + "' '" + link + "'", root, "mapped"));
  // Wine rereads its drive table within seconds: until then it names the folder by Z:, not as
  // the drive's root.
  const auto named_as_root = [letter] {
    HANDLE h = CreateFileW(widen(strf("%c:\\", letter)).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    wchar_t name[MAX_PATH] = L"";
    if (h != INVALID_HANDLE_VALUE) {
      GetFinalPathNameByHandleW(h, name, MAX_PATH, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      CloseHandle(h);
    }
    return narrow(name) == strf("\\\\?\\%c:\\", letter);
  };
  for (int i = 0; i < 100 && !named_as_root(); ++i) Sleep(100);
  ASSERT_TRUE(named_as_root());
  delete_files(strf("%c:\\", letter), "e");
  run_unix("rm -f '" + link + "'", root, "unmapped");
}

}  // namespace
}  // namespace kelvane
