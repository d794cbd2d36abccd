#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/settings.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "bench/process_counts.h"
#include "scan/mdir.h"
#include "scan/mdrv.h"
#include "scan/win32_dir_source.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/tree_compare.h"
#include "tests/support/tree_queries.h"
#include "tests/support/unix_shell.h"

namespace kelvane {
namespace {

const std::string kUnicode =
    "Gr\xc3\xbc\xc3\x9f"
    "e \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e";

// The prefix's dosdevices folder, where drive letters are symbolic links.
std::string dosdevices() {
  const std::string c = unix_name_of("C:\\");
  for (const char* mark : {"/dosdevices/", "/drive_c"}) {
    const size_t at = c.find(mark);
    if (at != std::string::npos) return c.substr(0, at) + "/dosdevices";
  }
  return std::string();
}

bool make_folder(const std::string& path) {
  return CreateDirectoryW(long_path_form(path).c_str(), nullptr) != 0;
}

bool make_file(const std::string& path, uint64_t size) {
  HANDLE f = CreateFileW(long_path_form(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  const bool ok = SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && SetEndOfFile(f);
  CloseHandle(f);
  return ok;
}

using Recorder = testing_fakes::ScanRecorder;

// One fixture for the whole suite: made once in a fresh folder under /tmp.
class Win32ScanTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Wine reuses process ids between runs; the clock tells runs apart.
    const std::string tag = strf("%lu-%lu", GetCurrentProcessId(), GetTickCount());
    unix_root = "/tmp/kelvane-scan-" + tag;
    root = "Z:\\tmp\\kelvane-scan-" + tag;
    ready = make_folder(root);
    // R: three files of 1, 2 and 3 bytes and Sub with a 4-byte file.
    ready = ready && make_folder(root + "\\R") && make_file(root + "\\R\\one", 1) &&
            make_file(root + "\\R\\two", 2) && make_file(root + "\\R\\three", 3) &&
            make_folder(root + "\\R\\Sub") && make_file(root + "\\R\\Sub\\four", 4);
    // Unicode names.
    ready = ready && make_folder(root + "\\U") && make_folder(root + "\\U\\" + kUnicode) &&
            make_file(root + "\\U\\" + kUnicode + "\\" + kUnicode + ".txt", 5);
    // A 6 GiB sparse file and a symbolic link to it; a link cycle back to its grandparent.
    ready = ready && make_folder(root + "\\L") && make_folder(root + "\\L\\A") &&
            make_file(root + "\\L\\A\\x", 7) && make_file(root + "\\L\\big", 6ull << 30);
    // A path of more than 300 characters.
    deep = root + "\\D";
    ready = ready && make_folder(deep);
    while (ready && deep.size() < 320) {
      deep += "\\abcdefghijklmnopqrstuvwxyz0123456789";
      ready = make_folder(deep);
    }
    ready = ready && make_file(deep + "\\deepest", 11);
    // K holds 3,000 B, a link to its parent W and two links to W's other folder O (500 B).
    ready = ready && make_folder(root + "\\W") && make_folder(root + "\\W\\K") &&
            make_file(root + "\\W\\K\\k1", 1000) && make_file(root + "\\W\\K\\k2", 2000) &&
            make_folder(root + "\\W\\O") && make_file(root + "\\W\\O\\o", 500);
    links = ready && run_unix("ln -s .. '" + unix_root + "/L/A/up' && ln -s big '" + unix_root +
                                  "/L/biglink' && cd '" + unix_root +
                                  "/W/K' && ln -s .. up && ln -s ../O o1 && ln -s ../O o2",
                              root, "links-made");
    // Drive m: is the folder R.
    const std::string devices = dosdevices();
    if (ready && !devices.empty()) {
      const std::string m = devices + "/m:";
      drive_m = run_unix("rm -f '" + m + "' && ln -s '" + unix_root + "/R' '" + m + "'", root, "drive-made");
    }
  }
  static void TearDownTestSuite() {
    std::string script = "rm -rf '" + unix_root + "'";
    if (drive_m) script = "rm -f '" + dosdevices() + "/m:' ; " + script;
    run_unix(script, "Z:\\tmp", "kelvane-scan-" + root.substr(root.rfind('-') + 1) + ".gone");
  }

  void SetUp() override {
    ASSERT_TRUE(ready) << "fixture under " << root;
    holder = std::make_unique<mdir>(log, settings, busy);
  }

  // The program's way: the thread, through the default source.
  Recorder& scan(const std::string& path) {
    recorder = std::make_unique<Recorder>(busy);
    if (holder->ptop) holder->free_tree();
    holder->pcur = nullptr;
    holder->start_scan(path, recorder.get());
    recorder->wait();
    return *recorder;
  }
  lobj* folder_named(const std::string& name) const { return kelvane::folder_named(*holder, name); }

  static inline std::string unix_root, root, deep;
  static inline bool ready = false, links = false, drive_m = false;
  Log log;
  Settings settings;
  std::atomic<int> busy{0};
  std::unique_ptr<mdir> holder;
  std::unique_ptr<Recorder> recorder;
};

using V = std::vector<long long>;

TEST_F(Win32ScanTest, FolderScanWithAndWithoutBackslash) {
  for (const std::string& path : {root + "\\R", root + "\\R\\"}) {
    SCOPED_TRACE(path);
    Recorder& r = scan(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(holder->path, root + "\\R");
    lobj* top = holder->ptop;
    EXPECT_STREQ(top->name, "R");
    EXPECT_EQ(top->fpath(), root + "\\R");
    EXPECT_EQ(top->depth, 1);
    EXPECT_EQ(totals(top), (V{10, 1, 4}));
    ASSERT_NE(folder_named("Sub"), nullptr);
    EXPECT_EQ(totals(folder_named("Sub")), (V{4, 0, 1}));
    EXPECT_EQ(holder->pcur.load(), top);
    EXPECT_EQ(busy.load(), 0);
  }
}

TEST_F(Win32ScanTest, MissingFolderFailsAndTheNextScanWorks) {
  for (const std::string& bad :
       {root + "\\nothing here", root + "\\R\\*.*", root + "\\R\\one", root + "\\R*"}) {
    SCOPED_TRACE(bad);
    Recorder& r = scan(bad);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "INVALID PATH !");
    EXPECT_EQ(holder->ptop.load(), nullptr);
    EXPECT_EQ(holder->pcur.load(), nullptr);
    EXPECT_EQ(busy.load(), 0);
    Recorder& again = scan(root + "\\R");
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(totals(holder->ptop), (V{10, 1, 4}));
  }
}

// The platform's folders, except that the scanned folder goes (put elsewhere, or its drive
// letter removed) when the walk lists the folder named `at`.
class VanishingSource : public DirSource {
 public:
  std::string at, script, folder;
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override {
    if (pattern.find(at) != std::string::npos && !gone.exchange(true)) run_unix(script, folder, "went");
    return win32_dir_source().list(pattern, sink);
  }
  bool identity(const std::string& path, FolderId& id) override {
    return win32_dir_source().identity(path, id);
  }
  std::atomic<bool> gone{false};
};

// A scan whose folder or drive went while it ran says so and leaves no tree (its folders
// looked empty, not finished); the next scan works.
TEST_F(Win32ScanTest, ScanWhoseFolderOrDriveWentSaysSo) {
  const std::string g = root + "\\G";
  ASSERT_TRUE(make_folder(g) && make_file(g + "\\a", 1) && make_folder(g + "\\Sub") &&
              make_folder(g + "\\Sub\\in") && make_file(g + "\\Sub\\in\\b", 2));
  const std::string n = dosdevices() + "/n:";
  ASSERT_TRUE(run_unix("ln -sfn '" + unix_root + "/G' '" + n + "'", root, "n-made"));
  VanishingSource folder_went, drive_went;
  folder_went.at = "\\Sub\\in";
  folder_went.script = "mv '" + unix_root + "/G' '" + unix_root + "/G2'";
  drive_went.at = "\\Sub\\in";
  drive_went.script = "rm -f '" + n + "'";
  folder_went.folder = drive_went.folder = root;
  for (auto [source, path] : {std::pair{&folder_went, g}, std::pair{&drive_went, std::string("N:\\")}}) {
    SCOPED_TRACE(path);
    settings.sq = 1;  // one folder at a time: the walk lists Sub before it goes
    holder->set_source(source);
    Recorder& r = scan(path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, path + "\nGONE DURING THE SCAN, SCAN AGAIN !");
    EXPECT_EQ(holder->ptop.load(), nullptr);
    EXPECT_EQ(busy.load(), 0);
    holder->set_source(nullptr);
    if (source == &folder_went) {
      ASSERT_TRUE(run_unix("mv '" + unix_root + "/G2' '" + unix_root + "/G'", root, "back"));
    }
  }
  EXPECT_TRUE(scan(g).ok);
  EXPECT_EQ(totals(holder->ptop), (V{3, 2, 2}));
}

// Each scan starts and ends its reader threads and their locks: a handle lost per scan adds up
// over a session.
TEST_F(Win32ScanTest, RepeatedScansKeepTheHandleCount) {
  ASSERT_TRUE(scan(root + "\\R").ok);
  holder->stop_scan();
  const unsigned long before = bench::handle_count();
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(scan(root + "\\R").ok) << recorder->message;
  holder->stop_scan();
  EXPECT_LE(bench::handle_count(), before + 2);
}

TEST_F(Win32ScanTest, DriveScanWithAndWithoutBackslash) {
  ASSERT_TRUE(drive_m) << "drive m: could not be mapped";
  for (const std::string& path : {std::string("M:"), std::string("M:\\")}) {
    SCOPED_TRACE(path);
    Recorder& r = scan(path);
    ASSERT_TRUE(r.ok);
    lobj* top = holder->ptop;
    EXPECT_EQ(std::string(top->name), path);
    EXPECT_EQ(top->depth, 0);
    EXPECT_EQ(totals(top), (V{10, 1, 4}));
    ASSERT_NE(folder_named("Sub"), nullptr);
    EXPECT_EQ(folder_named("Sub")->fpath(), "M:\\Sub");
  }
}

TEST_F(Win32ScanTest, LinkCycleEndsAndLinkedFileIsCountedOnce) {
  ASSERT_TRUE(links) << "links could not be made";
  Recorder& r = scan(root + "\\L");
  ASSERT_TRUE(r.ok);
  lobj* up = folder_named("up");
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(totals(up), (V{0, 0, 0}));
  EXPECT_EQ(totals(folder_named("A")), (V{7, 1, 1}));
  // Wine reports a Unix link to a file as a plain file of its target's length, without a
  // reparse point, so nothing in the enumeration tells it apart there; Windows flags it,
  // and then it counts with its own length, 0.
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(widen(root + "\\L\\biglink").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FindClose(h);
  const bool flagged = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const long long big = 6ll << 30;
  EXPECT_EQ(totals(holder->ptop), (V{big + 7 + (flagged ? 0 : big), 2, 3}));
  ASSERT_NE(holder->ptop.load()->first, nullptr);
}

// Real links under Wine, in both modes: each folder entered once, whichever link the platform
// lists first (its order is the Unix folder's).
TEST_F(Win32ScanTest, LinksToEnteredFoldersAreNotEnteredAgain) {
  ASSERT_TRUE(links) << "links could not be made";
  for (int sq = 0; sq < 2; ++sq) {
    settings.sq = sq;
    Recorder& r = scan(root + "\\W\\K");
    ASSERT_TRUE(r.ok);
    // K's files, and through the links W with O: K itself not again, O once.
    EXPECT_EQ(totals(holder->ptop), (V{3500, 5, 3}));
    EXPECT_EQ(r.patterns.size(), 4u);  // the path, K, W and O
    holder->stop_scan();
  }
}

TEST_F(Win32ScanTest, PathsLongerThanThreeHundredCharacters) {
  Recorder& r = scan(root + "\\D");
  ASSERT_TRUE(r.ok);
  lobj* last = holder->ptop;
  while (last->next) last = last->next;
  EXPECT_EQ(last->fpath(), deep);
  EXPECT_GT(deep.size(), 300u);
  ASSERT_NE(last->first, nullptr);
  EXPECT_STREQ(last->first->name, "deepest");
  EXPECT_EQ(holder->ptop.load()->size.load(), 11u);
  EXPECT_EQ(r.patterns.size(),
            static_cast<size_t>(holder->ptop.load()->ndir.load() + 2));  // the path itself, then every folder
}

TEST_F(Win32ScanTest, UnicodeNamesAreExact) {
  Recorder& r = scan(root + "\\U");
  ASSERT_TRUE(r.ok);
  lobj* f = folder_named(kUnicode);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->fpath(), root + "\\U\\" + kUnicode);
  ASSERT_NE(f->first, nullptr);
  EXPECT_EQ(std::string(f->first->name), kUnicode + ".txt");
  EXPECT_EQ(totals(holder->ptop), (V{5, 1, 1}));
}

// The whole fixture (Unicode names, a link cycle, a path of more than 300 characters) and a
// folder of 100,000 files, scanned with the readers and on one thread: the same tree node
// for node, and the same level-1 log.
TEST_F(Win32ScanTest, BothModesBuildTheSameTreeAndLog) {
  ASSERT_TRUE(links);
  ASSERT_TRUE(run_unix("mkdir -p '" + unix_root + "/many' && cd '" + unix_root +
                           "/many' && seq 100000 | sed 's/^/f/' | xargs touch && echo x > f7",
                       root, "many-made"));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string paths[2], texts[2];
  {
    Settings modes[2];
    Log logs[2];
    std::unique_ptr<mdir> holders[2];
    for (int sq = 0; sq < 2; ++sq) {
      modes[sq].vl = 1;
      modes[sq].sq = sq;
      paths[sq] = strf("%skelvane-modes-%d.log", temp, sq);
      ASSERT_TRUE(logs[sq].open(paths[sq]));
      holders[sq] = std::make_unique<mdir>(logs[sq], modes[sq], busy);
      Recorder r(busy);
      holders[sq]->start_scan(root, &r);
      r.wait();
      ASSERT_TRUE(r.ok);
      holders[sq]->stop_scan();
    }
    EXPECT_EQ(tree_difference(holders[0]->ptop, holders[1]->ptop), "");
    EXPECT_GT(holders[0]->ptop.load()->nfil.load(), 100000);
  }
  for (int sq = 0; sq < 2; ++sq) {
    std::FILE* f = _wfopen(widen(paths[sq]).c_str(), L"rb");
    ASSERT_NE(f, nullptr);
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) texts[sq].append(buf, n);
    std::fclose(f);
    DeleteFileW(widen(paths[sq]).c_str());
  }
  EXPECT_GT(texts[0].size(), 1000000u);
  EXPECT_TRUE(texts[0] == texts[1]);
}

TEST_F(Win32ScanTest, IdentityOfAFolderAndOfALinkToIt) {
  ASSERT_TRUE(links);
  FolderId l, up, a;
  ASSERT_TRUE(win32_dir_source().identity(root + "\\L", l));
  ASSERT_TRUE(win32_dir_source().identity(root + "\\L\\A\\up", up));
  ASSERT_TRUE(win32_dir_source().identity(root + "\\L\\A", a));
  EXPECT_EQ(l, up);
  EXPECT_FALSE(l == a);
  EXPECT_FALSE(win32_dir_source().identity(root + "\\none", a));
}

TEST(Win32DirSource, DecodesFoundEntries) {
  WIN32_FIND_DATAW d{};
  std::string name;
  wcscpy(d.cFileName, widen(kUnicode).c_str());
  d.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
  d.nFileSizeHigh = 1;
  d.nFileSizeLow = 5;
  DirEntry e = decode_find_data(d, name);
  EXPECT_EQ(std::string(e.name), kUnicode);
  EXPECT_FALSE(e.is_dir);
  EXPECT_FALSE(e.is_link);
  EXPECT_EQ(e.size, (1ull << 32) + 5);

  d.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT;
  d.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
  e = decode_find_data(d, name);
  EXPECT_TRUE(e.is_link);
  EXPECT_EQ(e.size, 0u);

  // A deduplicated file is a reparse point of another kind: its data counts.
  d.dwReserved0 = 0x80000013;
  e = decode_find_data(d, name);
  EXPECT_FALSE(e.is_link);
  EXPECT_EQ(e.size, (1ull << 32) + 5);

  d.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  for (DWORD tag : {static_cast<DWORD>(IO_REPARSE_TAG_MOUNT_POINT), static_cast<DWORD>(0)}) {
    d.dwReserved0 = tag;
    e = decode_find_data(d, name);
    EXPECT_TRUE(e.is_dir);
    EXPECT_TRUE(e.is_link) << tag;
    EXPECT_EQ(e.size, 0u);
  }
}

TEST(Win32DriveList, ListsTheMachinesDrives) {
  Log log;
  mdrv drives(log);
  wchar_t buffer[255] = {};
  ASSERT_NE(GetLogicalDriveStringsW(254, buffer), 0u);
  std::string strings;
  for (size_t i = 0; i < 255; ++i) strings += static_cast<char>(buffer[i] < 128 ? buffer[i] : '?');
  std::vector<std::string> names;
  const int count = drives.enumerate(strings.data(), strings.size(),
                                     [&](const std::string& name, int) { names.push_back(name); });
  ASSERT_GE(count, 2);
  bool has_c = false, has_z = false;
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(drives.drives[i].used + drives.drives[i].free, drives.drives[i].total);
    EXPECT_GT(drives.drives[i].total, 0u);
    has_c = has_c || drives.drives[i].name == "C:";
    has_z = has_z || drives.drives[i].name == "Z:";
  }
  EXPECT_TRUE(has_c);
  EXPECT_TRUE(has_z);
  // A letter that is not there fails quietly.
  EXPECT_EQ(drives.read_mdrv("Y:", 0), 1);
}

}  // namespace
}  // namespace kelvane
