// Help and the Info dialog under Wine, reached through the frame's menu commands: the two stop
// messages, the viewer's command line, and the modal Info dialog driven from a timer inside
// its own message loop (caption, box, painting, variant, hand cursor, link click, OK). Program
// starts go to a recording shell and messages to a recording handler: nothing waits on a window.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/mapp.h"
#include "app/registry.h"
#include "base/utf8_path.h"
#include "frame/cinf.h"
#include "frame/help_rules.h"
#include "frame/mwin.h"
#include "res/resource_ids.h"
#include "tests/support/fake_shell.h"
#include "tests/support/message_capture.h"
#include "tests/support/text_file.h"
#include "ui/dc.h"

namespace kelvane {
namespace {

const char kKey[] = "Software\\Tarnwick\\KelvaneHelpInfoTest";
const char kBrowser[] = "C:\\Program Files\\Test Browser\\browser.exe";

std::string own_path() {
  std::wstring path(MAX_PATH * 4, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return narrow(path);
}

void make_folder(const std::string& path) { CreateDirectoryW(widen(path).c_str(), nullptr); }

class HelpInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::wstring temp(MAX_PATH + 1, L'\0');
    temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
    folder_ = narrow(temp) + "kelvane_help_" + std::to_string(GetCurrentProcessId());
    make_folder(folder_);
    const wchar_t* windir = _wgetenv(L"WINDIR");
    windir_ = windir ? windir : L"";
  }

  void TearDown() override {
    if (app_) {
      app_->free_main_window();
      app_->pump();  // takes the closed frame's quit message
      app_.reset();
    }
    _wputenv_s(L"WINDIR", windir_.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, widen(kKey).c_str());
    for (const char* file : {"\\Program Files\\kelvane.chm", "\\kelvane.log"})
      DeleteFileW(widen(folder_ + file).c_str());
    RemoveDirectoryW(widen(folder_ + "\\Program Files").c_str());
    RemoveDirectoryW(widen(folder_).c_str());
  }

  void start(const std::string& program) {
    CguiSources sources;
    sources.key = kKey;
    sources.program_path = program;
    sources.use_environment_temp = false;
    sources.temp = folder_;
    // A quit message left by an earlier test's frame would end the dialog's loop at once.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    app_ = std::make_unique<mapp>(sources);
    ASSERT_EQ(app_->create_main_window(std::make_unique<mwin>()), 1);
    messages_.clear();  // the colour file's message: not ours
  }

  void command(int id) { SendMessageW(app_->frame()->hwnd(), WM_COMMAND, id, 0); }

  std::string folder_;
  std::wstring windir_;
  testing_fakes::FakeShell shell_;
  testing_fakes::ScopedShell shell_scope_{shell_};
  testing_fakes::MessageCapture messages_;
  std::unique_ptr<mapp> app_;
};

TEST_F(HelpInfo, HelpNeedsTheViewerAndTheFileThenStartsTheViewerOnIt) {
  // A program folder with a blank, as "C:\Program Files\Kelvane" would be.
  const std::string program_folder = folder_ + "\\Program Files";
  make_folder(program_folder);
  start(program_folder + "\\kelvane.exe");

  // Wine's Windows folder holds hh.exe; this one does not.
  _wputenv_s(L"WINDIR", widen(folder_).c_str());
  command(ID_CMD_HELP);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "Could not show help,\nbecause hh.exe is missing !\n");
  EXPECT_EQ(messages_.types[0], kMessageStop);

  _wputenv_s(L"WINDIR", windir_.c_str());
  command(ID_CMD_HELP);
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], "Could not show help,\nbecause *.chm in Programdirectory is missing !\n");
  EXPECT_EQ(messages_.types[1], kMessageStop);
  EXPECT_TRUE(shell_.started.empty());

  const std::string help_file = program_folder + "\\kelvane.chm";
  std::FILE* f = open_utf8_file(help_file, "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  command(ID_CMD_HELP);
  EXPECT_EQ(messages_.texts.size(), 2u);
  ASSERT_EQ(shell_.started.size(), 1u);
  EXPECT_EQ(shell_.started[0].first, "hh.exe");
  EXPECT_EQ(shell_.started[0].second, "hh.exe \"" + help_file + "\"");
}

// The horizontal extent of the non-white pixels in rows [top, bottom) of a 32-bit bitmap, and
// whether any of them is pure blue.
struct Ink {
  int left = -1;
  int right = -1;
  bool blue = false;
  int width() const { return left < 0 ? 0 : right - left + 1; }
};
Ink ink(const std::vector<uint32_t>& pixels, int width, int top, int bottom) {
  Ink in;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF;
      if (p == 0xFFFFFF) continue;
      if (in.left < 0 || x < in.left) in.left = x;
      if (x > in.right) in.right = x;
      if (p == 0x0000FF) in.blue = true;  // BGRA in memory: blue is the low byte
    }
  return in;
}

// The width DrawText gives a text in an 8.5-point Tahoma, with or without prefix handling.
int text_width(HDC dc, const std::string& text, UINT prefix) {
  const ui::font font = ui::point_font(85, L"Tahoma");
  HGDIOBJ old = SelectObject(dc, font.get());
  const std::wstring wide = widen(text);
  RECT r{0, 0, 1000, 100};
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
  SelectObject(dc, old);
  return r.right - r.left;
}

// What the timer saw of the open dialog.
struct Seen {
  int ticks = 0;
  bool found = false;
  std::string caption;
  RECT box{};
  RECT client{};
  LONG box_style = 0;
  Ink title, contact, link;
  Ink maker_contact;
  int author_width = 0, maker_width = 0, maker_width_prefixed = 0;
  bool hand_inside = false, hand_outside = false;
  std::vector<std::pair<std::string, std::string>> starts_inside, starts_outside, starts_unregistered;
  std::vector<std::string> messages_unregistered;
  bool closed_by_ok = true;
};
Seen* seen = nullptr;
testing_fakes::FakeShell* recorder = nullptr;
std::vector<std::string>* messages = nullptr;

BOOL CALLBACK find_dialog(HWND hwnd, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (std::wstring(cls) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

std::vector<uint32_t> paint_box(CInf& info, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  info.box.paint(dc, RECT{0, 0, width, height});
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + width * height);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool hand_after_move(HWND dlg, int x, int y) {
  HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ID_CUR_HAND));
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  SendMessageW(dlg, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  return hand != nullptr && GetCursor() == hand;
}

void CALLBACK look_at_dialog(HWND, UINT, UINT_PTR timer, DWORD) {
  if (++seen->ticks > 200) KillTimer(nullptr, timer);  // never reached while the dialog opens
  HWND dlg = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dlg));
  if (!dlg || seen->found) return;
  seen->found = true;
  KillTimer(nullptr, timer);

  wchar_t caption[32] = {};
  GetWindowTextW(dlg, caption, 32);
  seen->caption = narrow(caption);
  GetClientRect(dlg, &seen->client);
  HWND box = GetDlgItem(dlg, ID_CTL_INFO_BOX);
  GetWindowRect(box, &seen->box);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&seen->box), 2);
  seen->box_style = GetWindowLongW(box, GWL_STYLE);

  auto* info = dynamic_cast<CInf*>(reinterpret_cast<ui::dialog*>(GetWindowLongPtrW(dlg, DWLP_USER)));
  if (info) {
    RECT r{};
    GetClientRect(box, &r);
    const std::vector<uint32_t> author = paint_box(*info, r.right, r.bottom);
    seen->title = ink(author, r.right, 5, 20);
    seen->contact = ink(author, r.right, 25, 40);
    seen->link = ink(author, r.right, 40, r.bottom);
    pa->CGUI.highdrive = 0;
    seen->maker_contact = ink(paint_box(*info, r.right, r.bottom), r.right, 25, 40);
    pa->CGUI.highdrive = 1;
    HDC screen = GetDC(nullptr);
    seen->author_width = text_width(screen, "author@example.org", DT_NOPREFIX);
    seen->maker_width = text_width(screen, "Development & Design", DT_NOPREFIX);
    seen->maker_width_prefixed = text_width(screen, "Development & Design", 0);
    ReleaseDC(nullptr, screen);
  }

  seen->hand_inside = hand_after_move(dlg, 69, 53);
  seen->hand_outside = hand_after_move(dlg, 100, 48) || hand_after_move(dlg, 182, 50);

  SendMessageW(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  seen->starts_inside = recorder->started;
  SendMessageW(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 48));
  seen->starts_outside = recorder->started;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(kBrowserKey).c_str(), 0, KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(key, nullptr);
    RegCloseKey(key);
  }
  const size_t before = messages->size();
  SendMessageW(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  seen->starts_unregistered = recorder->started;
  seen->messages_unregistered.assign(messages->begin() + static_cast<long>(before), messages->end());

  SendMessageW(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
  if (IsWindow(dlg) && IsWindowVisible(dlg)) {
    seen->closed_by_ok = false;
    EndDialog(dlg, IDCANCEL);
  }
}

TEST_F(HelpInfo, InfoDialogFromTheMenuShowsTheVariantOfTheProgramsDriveAndOpensItsLink) {
  // The tests run from Wine's Z: (the Linux root): the author's lines.
  start(own_path());
  ASSERT_EQ(app_->CGUI.highdrive, 1);
  const std::optional<std::string> old_browser = reg_get_string("HKLM", kBrowserKey);
  ASSERT_EQ(reg_set_string("HKLM", kBrowserKey, "", kBrowser), 0);

  Seen look;
  seen = &look;
  recorder = &shell_;
  messages = &messages_.texts;
  SetTimer(nullptr, 0, 20, look_at_dialog);
  command(ID_CMD_INFO);  // returns when the dialog has ended
  if (old_browser) reg_set_string("HKLM", kBrowserKey, "", *old_browser);

  ASSERT_TRUE(look.found);
  EXPECT_EQ(look.caption, "Info");
  EXPECT_EQ(look.box.left, 3);
  EXPECT_EQ(look.box.top, 3);
  EXPECT_EQ(look.box.right, look.client.right - 3);
  EXPECT_EQ(look.box.bottom, 70);
  EXPECT_EQ(look.box_style & (SS_SUNKEN | SS_WHITERECT | WS_VISIBLE), SS_SUNKEN | SS_WHITERECT | WS_VISIBLE);
  EXPECT_EQ(look.box_style & SS_NOTIFY, 0);

  // Three lines: black title and contact, blue link; the contact line is the author's, and the
  // maker's shows its "&" (the width of the text without prefix handling).
  EXPECT_GT(look.title.width(), 0);
  EXPECT_FALSE(look.title.blue);
  EXPECT_FALSE(look.contact.blue);
  EXPECT_TRUE(look.link.blue);
  EXPECT_NEAR(look.contact.width(), look.author_width, 3);
  EXPECT_NEAR(look.maker_contact.width(), look.maker_width, 3);
  EXPECT_GT(std::abs(look.maker_contact.width() - look.maker_width_prefixed), 3);

  EXPECT_TRUE(look.hand_inside);
  EXPECT_FALSE(look.hand_outside);

  const std::pair<std::string, std::string> browser{
      kBrowser, "\"" + std::string(kBrowser) + "\" www.example.org/author"};
  EXPECT_EQ(look.starts_inside, std::vector{browser});
  EXPECT_EQ(look.starts_outside, std::vector{browser});       // y 48 started nothing more
  EXPECT_EQ(look.starts_unregistered, std::vector{browser});  // no browser: nothing started
  EXPECT_TRUE(look.messages_unregistered.empty());            // and nothing said
  EXPECT_TRUE(look.closed_by_ok);

  const std::string log = read_text_file(folder_ + "\\kelvane.log");
  const size_t made = log.find("CInb::CInb () OK ...\nCInf::CInf () OK ...\n");
  const size_t gone = log.find("CInf::~CInf () OK ...\nCInb::~CInb () OK ...\n");
  EXPECT_NE(made, std::string::npos) << log;
  EXPECT_NE(gone, std::string::npos) << log;
  EXPECT_LT(made, gone);
}

}  // namespace
}  // namespace kelvane
