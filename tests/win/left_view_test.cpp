// The left view and its list on the real window platform: drive rows, refills from a tree
// scanned through the in-memory file system, the right-click geometry, the Delete key and the
// path-field command. Every box is caught by the message handler; nothing waits on a window.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "tests/support/fake_system.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/program_window.h"
#include "views/caption_band.h"

namespace kelvane {
namespace {

// The shell deletes from a disk that holds the scanned tree's entries as listed.
struct LeftView : testing_fakes::ProgramWindowTest {
  LeftView() : ProgramWindowTest("Software\\Tarnwick\\KelvaneLeftViewTest") {
    fakes.disk.otherwise = DiskEntry{Presence::kAbsent, false, 0};
    fakes.messages.answer = kAnswerNo;
  }
  MemoryDirSource disk;
  testing_fakes::FakeSystem fakes;
  std::vector<std::string>& shown = fakes.messages.texts;

  void SetUp() override {
    ProgramWindowTest::SetUp();
    disk.add_file("R:\\DATA\\big.bin", 3000);
    disk.add_file("R:\\DATA\\mid.txt", 2000);
    disk.add_file("R:\\DATA\\sub\\inner.bin", 1500);
    disk.add_file("R:\\DATA\\sub\\deeper\\x", 100);
    disk.add_file("R:\\DATA\\small.txt", 10);
    app->mdir.set_source(&disk);
  }
  void select_only(int row) {
    left->list().select_item(-1, false);
    left->list().select_item(row, true);
  }
};

TEST_F(LeftView, StartsWithTheDrivesInFourColumns) {
  mbox& list = left->list();
  EXPECT_EQ(list.mode, kListDrives);
  EXPECT_EQ(list.column_count(), 4);
  ASSERT_GT(list.rows(), 0);  // Wine has at least C: and Z:
  for (const std::string& name : rows()) {
    ASSERT_EQ(name.size(), 2u);
    EXPECT_NE(name[0], 'A');
    EXPECT_NE(name[0], 'B');
  }
  // The widths share the view's width out as the drive mode asks.
  const RECT r = left->client_rect();
  int sum = 0;
  for (int j = 0; j < 4; ++j) sum += list.column_width(j);
  EXPECT_LE(sum, r.right - r.left);
}

TEST_F(LeftView, ScanListsLargestFirstAndOpeningASubFolderReadsNothing) {
  scan("r:\\data");
  // Kept as typed: on a case-sensitive folder another case names another folder.
  EXPECT_EQ(app->mdir.path, "r:\\data");
  EXPECT_EQ(app->mdir.cdir, "r:\\data");
  EXPECT_EQ(app->frame()->text(), "r:\\data - Kelvane");
  EXPECT_EQ(left->list().mode, kListFiles);
  EXPECT_EQ(left->list().column_count(), 2);
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "big.bin", "mid.txt", "sub", "small.txt"}));
  ASSERT_EQ(left->slices().count(), 4);

  const size_t reads = disk.list_calls();
  select_only(4);
  left->list().OnOpen();
  EXPECT_EQ(app->busy.load(), 0);
  EXPECT_EQ(disk.list_calls(), reads);
  EXPECT_EQ(app->mdir.cdir, "r:\\DATA\\sub");  // the scanned root's name as the disk reports it
  EXPECT_EQ(app->epath.text(), "r:\\DATA\\sub");
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "inner.bin", "deeper"}));

  select_only(1);  // ".." back to the scanned folder, still without reading
  left->list().OnOpen();
  EXPECT_EQ(disk.list_calls(), reads);
  EXPECT_EQ(left->list().rows(), 6);
}

TEST_F(LeftView, RefillsKeepTheirColumnsAndWidthsAcrossModes) {
  auto widths = [&] {
    std::vector<int> w;
    for (int j = 0; j < left->list().column_count(); ++j) w.push_back(left->list().column_width(j));
    return w;
  };
  scan("R:\\DATA");
  const std::vector<int> files = widths();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_GT(files[0], files[1]);
  select_only(4);  // "sub": a refill in the same mode
  left->list().OnOpen();
  EXPECT_EQ(widths(), files);
  left->OnDrives();
  EXPECT_EQ(left->list().mode, kListDrives);
  EXPECT_EQ(left->list().column_count(), 4);
  scan("R:\\DATA");  // back from the drives: the file columns inserted anew, sized alike
  EXPECT_EQ(widths(), files);
}

TEST_F(LeftView, FailedScanShowsItsMessageAndTheDrives) {
  shown.clear();
  scan("R:\\MISSING");
  EXPECT_EQ(left->list().mode, kListDrives);
  EXPECT_EQ(app->mdir.ptop.load(), nullptr);
  EXPECT_TRUE(left->slices().empty());
  EXPECT_EQ(shown, std::vector<std::string>{"INVALID PATH !"});
  // A later scan works.
  scan("R:\\DATA");
  EXPECT_EQ(left->list().rows(), 6);
}

TEST_F(LeftView, TypedPathIsResolvedAndAnUnknownDriveRefused) {
  scan("  r:\\DATA\\sub\\..\\. ");
  EXPECT_EQ(app->mdir.path, "r:\\DATA");
  EXPECT_EQ(app->epath.text(), "r:\\DATA");
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "big.bin", "mid.txt", "sub", "small.txt"}));
  fakes.disk.unknown_drives = "Q";
  shown.clear();
  const size_t reads = disk.list_calls();
  for (const char* typed : {"Q:\\", "Q:", "1:\\", "DATA"}) scan(typed);
  EXPECT_EQ(shown, std::vector<std::string>(4, "INVALID PATH !"));
  EXPECT_EQ(disk.list_calls(), reads);  // refused before a scan
  EXPECT_EQ(left->list().mode, kListDrives);
  scan("R:\\DATA");
  EXPECT_EQ(left->list().rows(), 6);
}

TEST_F(LeftView, ResizingRepaintsTheWholeCaptionBand) {
  for (int dx : {40, -80}) {
    app->pump();
    RECT client{};
    GetClientRect(left->hwnd(), &client);
    ValidateRect(left->hwnd(), nullptr);
    const int width = client.right + dx;
    SetWindowPos(left->hwnd(), nullptr, 0, 0, width, client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT update{};
    GetUpdateRect(left->hwnd(), &update, FALSE);
    EXPECT_EQ(update.left, 0) << dx;
    EXPECT_EQ(update.top, 0) << dx;
    EXPECT_EQ(update.right, width) << dx;
    EXPECT_GE(update.bottom, kCaptionBandHeight) << dx;
  }
}

TEST_F(LeftView, RightClickTestUsesTheRealRowGeometry) {
  scan("R:\\DATA");
  mbox& list = left->list();
  const RECT last = list.item_rect(list.rows() - 1);
  EXPECT_TRUE(list.point_on_rows(POINT{10, last.bottom - 1}));
  EXPECT_FALSE(list.point_on_rows(POINT{10, last.bottom}));
  EXPECT_FALSE(list.point_on_rows(POINT{10, last.bottom + 40}));
}

TEST_F(LeftView, DeleteKeyInTheDriveListIsRefused) {
  select_only(0);
  shown.clear();
  SendMessageW(left->list().hwnd(), WM_KEYUP, VK_DELETE, 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "INVALID OPERATION !");
  EXPECT_TRUE(fakes.shell.deleted.empty());
}

TEST_F(LeftView, DeleteKeyRemovesTheEntryAndRefills) {
  scan("R:\\DATA");
  fakes.messages.answer = kAnswerYes;
  fakes.disk.holds(app->mdir);
  select_only(3);  // mid.txt
  SendMessageW(left->list().hwnd(), WM_KEYUP, VK_DELETE, 0);
  settle();
  ASSERT_EQ(fakes.shell.deleted, std::vector<std::string>{"R:\\DATA\\mid.txt"});
  // What the shell asks (delete for good what the bin cannot take) shows above the main window.
  EXPECT_EQ(fakes.shell.delete_owners, std::vector<void*>{app->frame()->hwnd()});
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "big.bin", "sub", "small.txt"}));
  EXPECT_EQ(app->mdir.ptop.load()->size.load(), 4610u);
  EXPECT_EQ(app->mdir.ptop.load()->nfil.load(), 4);
}

// While the question is up the rows stay as they were chosen: a click or a key the list gets
// then (posted before the box took over) moves nothing, and No deletes nothing.
TEST_F(LeftView, ClicksAndKeysWhileTheQuestionIsUpLeaveTheSelection) {
  scan("R:\\DATA");
  mbox& list = left->list();
  SetFocus(list.hwnd());
  select_only(3);  // mid.txt
  std::vector<int> during;
  testing_fakes::ScopedMessageHandler answer([&](const std::string&, unsigned) {
    const RECT r = list.item_rect(4);
    const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    list.send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    list.send(WM_LBUTTONUP, 0, at);
    list.send(WM_KEYDOWN, VK_DOWN, 1);
    list.send(WM_CHAR, 'b', 1);
    during = list.selected_items();
    return kAnswerNo;
  });
  list.OnDelete();
  EXPECT_EQ(during, std::vector<int>{3});
  EXPECT_EQ(list.selected_items(), std::vector<int>{3});
  EXPECT_TRUE(fakes.shell.deleted.empty());
}

TEST_F(LeftView, PathCommandNeedsTwoCharacters) {
  app->epath.set_text("R");
  app->frame()->run_command(ID_CMD_ENUM_DIR);
  EXPECT_EQ(app->busy.load(), 0);
  EXPECT_EQ(left->list().mode, kListDrives);
  EXPECT_EQ(disk.list_calls(), 0u);
}

TEST_F(LeftView, DriveRootTypedWithItsBackslashRefillsFromTheRoot) {
  disk.add_file("Q:\\top.bin", 50);
  disk.add_file("Q:\\dir\\x.bin", 20);
  scan("Q:\\");
  EXPECT_EQ(app->mdir.isdrv, 1);
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "top.bin", "dir"}));
  const size_t reads = disk.list_calls();
  select_only(2);
  left->list().OnOpen();
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "..", "x.bin"}));
  select_only(0);  // "\\"
  left->list().OnOpen();
  EXPECT_EQ(app->busy.load(), 0);
  EXPECT_EQ(disk.list_calls(), reads);
  EXPECT_EQ(rows(), (std::vector<std::string>{"\\", "top.bin", "dir"}));
}

TEST_F(LeftView, TypingALetterSelectsTheFirstRowWithThatInitial) {
  scan("R:\\DATA");
  ASSERT_EQ(rows(), (std::vector<std::string>{"\\", "..", "big.bin", "mid.txt", "sub", "small.txt"}));
  SetFocus(left->list().hwnd());
  left->list().send(WM_CHAR, 'm', 1);  // one key press
  EXPECT_EQ(left->list().selected_items(), std::vector<int>{3});
}

TEST_F(LeftView, UnitCommandsChangeOnlyTheUnit) {
  scan("R:\\DATA");
  const int before = left->slices().count();
  app->frame()->run_command(ID_CMD_UNIT_KB);
  EXPECT_EQ(app->CGUI.un, 1);
  EXPECT_EQ(left->slices().count(), before);
  EXPECT_EQ(left->list().mode, kListFiles);
  app->frame()->run_command(ID_CMD_ENUM_DRIVES);
  EXPECT_EQ(left->list().mode, kListDrives);
  EXPECT_TRUE(left->slices().empty());  // the tree is gone, so are its records
  EXPECT_EQ(app->mdir.ptop.load(), nullptr);
}

// A folder that never ends: after "." and ".." it keeps reporting files until the walk asks
// to stop (or the test lets it go). Everything else comes from the in-memory disk.
class EndlessFolder : public DirSource {
 public:
  EndlessFolder(DirSource& disk, std::string pattern) : disk_(disk), pattern_(std::move(pattern)) {}
  ~EndlessFolder() override { CloseHandle(release_); }
  void release() { SetEvent(release_); }
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override {
    if (pattern != pattern_) return disk_.list(pattern, sink);
    DirEntry dot{".", true, false, 0};
    if (!sink(dot)) return true;
    DirEntry dotdot{"..", true, false, 0};
    if (!sink(dotdot)) return true;
    for (int i = 0; WaitForSingleObject(release_, 1) == WAIT_TIMEOUT; ++i) {
      const std::string name = "f" + std::to_string(i);
      if (!sink(DirEntry{name, false, false, 1})) return true;
    }
    return true;
  }
  bool identity(const std::string& path, FolderId& id) override { return disk_.identity(path, id); }

 private:
  DirSource& disk_;
  std::string pattern_;
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

TEST_F(LeftView, ClosingDuringAScanStopsTheWalkBeforeTheViewGoes) {
  EndlessFolder endless(disk, "R:\\DATA\\*.*");
  app->mdir.set_source(&endless);
  left->OnEnumDir("R:\\DATA");
  ASSERT_EQ(app->busy.load(), 1);
  // The window closes while the walk still runs; the view it reports to goes with it.
  app->free_main_window();
  left = nullptr;
  const bool still_running = app->mdir.scan_running();
  endless.release();
  app->mdir.stop_scan();
  EXPECT_FALSE(still_running);
  EXPECT_EQ(app->busy.load(), 0);
  EXPECT_EQ(app->mdir.ptop.load(), nullptr);
  app->mdir.set_source(&disk);
}

}  // namespace
}  // namespace kelvane
