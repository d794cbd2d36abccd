#include "app/cgui.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/registry.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "tests/support/message_capture.h"
#include "tests/support/text_file.h"
#include "tests/support/unix_shell.h"

namespace kelvane {
namespace {

const std::string kUnicode =
    "Gr\xc3\xbc\xc3\x9f"
    "e \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e";

bool file_exists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void write_text_file(const std::string& path, const std::string& text) {
  std::FILE* f = open_utf8_file(path, "w");
  ASSERT_NE(f, nullptr) << path;
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

// Every test: its own registry key, its own folder (standing for the program's folder and
// for TEMP), and a message handler that records instead of showing.
class CguiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, widen(sources_.key).c_str());
    std::wstring temp(MAX_PATH + 1, L'\0');
    temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
    folder_ = narrow(temp) + "kelvane_cgui_" + test_name();
    CreateDirectoryW(widen(folder_).c_str(), nullptr);
    sources_.program_path = folder_ + "\\kelvane.exe";
    sources_.use_environment_temp = false;
    sources_.temp = folder_;
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, widen(sources_.key).c_str());
    remove_folder(folder_);
  }

  static std::string test_name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

  static void remove_folder(const std::string& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(widen(folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = narrow(data.cFileName);
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          remove_folder(path);
        else
          DeleteFileW(widen(path).c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(widen(folder).c_str());
  }

  void write_colours(const std::string& text) { write_text_file(folder_ + "\\kelvane.cfg", text); }
  int dword(const char* name) { return reg_get_dword("HKCU", sources_.key, name); }
  DWORD raw_dword(const char* name) {
    DWORD value = 0, size = sizeof(value), type = 0;
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(sources_.key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
      return 0;
    RegQueryValueExW(k, widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(k);
    return value;
  }
  std::string log_path() const { return folder_ + "\\kelvane.log"; }

  static CguiSources own_sources() {
    CguiSources sources;
    sources.key = std::string("Software\\Tarnwick\\KelvaneTest\\") + test_name();
    return sources;
  }

  CguiSources sources_ = own_sources();
  std::string folder_;
  testing_fakes::MessageCapture messages_;
};

TEST_F(CguiTest, MissingKeyGetsTheDefaultsWrittenBack) {
  write_colours("0x0000FF\n");
  CGUI gui(sources_);
  // Each setting at its default; those the table writes back are stored, the others absent.
  for (const SettingInfo& s : kSettingTable) {
    const bool stored = s.use == SettingUse::kWriteBack;
    if (s.is_dword) {
      EXPECT_EQ(gui.*s.dword, s.dword_default) << s.name;
      EXPECT_EQ(dword(s.name), stored ? s.dword_default : -1) << s.name;
    } else {
      EXPECT_EQ(gui.*s.text, s.text_default) << s.name;
      EXPECT_EQ(reg_get_string("HKCU", sources_.key, s.name),
                stored ? std::optional<std::string>(s.text_default) : std::nullopt)
          << s.name;
    }
  }
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(gui.winver, static_cast<int>(LOBYTE(LOWORD(GetVersion()))));
}

TEST_F(CguiTest, UnusableValuesAreReplacedAndGoodOnesKept) {
  ASSERT_EQ(reg_set_string("HKCU", sources_.key, "xs", "900"), 0);
  ASSERT_EQ(reg_set_dword("HKCU", sources_.key, "un", -1), 0);
  ASSERT_EQ(reg_set_dword("HKCU", sources_.key, "tm", 7), 0);
  ASSERT_EQ(reg_set_dword("HKCU", sources_.key, "db", -1), 0);
  ASSERT_EQ(reg_set_dword("HKCU", sources_.key, "vl", 2), 0);
  ASSERT_EQ(reg_set_string("HKCU", sources_.key, "mf", ""), 0);
  write_colours("0x0000FF\n");
  CGUI gui(sources_);
  const Settings defaults;
  EXPECT_EQ(gui.xs, defaults.xs);
  EXPECT_EQ(dword("xs"), defaults.xs);  // now a DWORD in place of the string
  EXPECT_EQ(gui.un, defaults.un);
  EXPECT_EQ(dword("un"), defaults.un);
  EXPECT_EQ(gui.tm, 7);
  EXPECT_EQ(gui.vl, 2);
  EXPECT_EQ(gui.db, defaults.db);
  EXPECT_EQ(raw_dword("db"), 0xFFFFFFFFu);  // left as it was
  EXPECT_EQ(gui.mf, defaults.mf);
  EXPECT_EQ(reg_get_string("HKCU", sources_.key, "mf"), defaults.mf);
}

TEST_F(CguiTest, UnitSevenIsAcceptedUnchanged) {
  ASSERT_EQ(reg_set_dword("HKCU", sources_.key, "un", 7), 0);
  write_colours("0x0000FF\n");
  CGUI gui(sources_);
  EXPECT_EQ(gui.un, 7);
  EXPECT_EQ(dword("un"), 7);
}

TEST_F(CguiTest, UnicodeAndLongStringsAreUsedWhole) {
  ASSERT_EQ(reg_set_string("HKCU", sources_.key, "mf", kUnicode), 0);
  ASSERT_EQ(reg_set_string("HKCU", sources_.key, "iv", kUnicode), 0);
  write_colours("0x0000FF\n");
  {
    CGUI gui(sources_);
    EXPECT_EQ(gui.mf, kUnicode);
    EXPECT_EQ(gui.iv, kUnicode);
  }
  const std::string viewer = "C:\\" + std::string(290, 'v') + "\\view.exe";
  ASSERT_EQ(viewer.size(), 302u);
  ASSERT_EQ(reg_set_string("HKCU", sources_.key, "iv", viewer), 0);
  CGUI gui(sources_);
  EXPECT_EQ(gui.iv, viewer);
}

TEST_F(CguiTest, FontIsEightPointsOfTheFace) {
  write_colours("0x0000FF\n");
  CGUI gui(sources_);
  ASSERT_NE(gui.font, nullptr);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(gui.font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(lf.lfHeight, -MulDiv(8, dpi, 72));
  EXPECT_EQ(narrow(lf.lfFaceName), Settings().mf);
}

TEST_F(CguiTest, ColourFileGivesTheTable) {
  write_colours("[Colors]\n; comment\n0x0000FF\n  0x00FF00\n0x00FF00 word\n\n0xFF00FF00\n");
  CGUI gui(sources_);
  EXPECT_EQ(gui.color[0], 0x0000FFu);
  EXPECT_EQ(gui.color[1], 0x00FF00u);
  EXPECT_EQ(gui.color[2], 0x00FF00u);
  for (int i = 3; i < 16; ++i) EXPECT_EQ(gui.color[i], 0u) << i;
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(gui.read_cfg(), 0);
}

TEST_F(CguiTest, MissingColourFileGivesGreysAndOneMessage) {
  CGUI gui(sources_);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(gui.color[i], 0xF0F0F0u - 0x101010u * i) << i;
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "Could not open file: " + folder_ + "\\kelvane.cfg !");
  EXPECT_EQ(messages_.types[0], kMessageOk);
  EXPECT_EQ(gui.read_cfg(), 1);
  EXPECT_EQ(messages_.texts.size(), 2u);
}

TEST_F(CguiTest, ColourFileInAUnicodeFolderIsFound) {
  const std::string program_folder = folder_ + "\\" + kUnicode;
  ASSERT_TRUE(CreateDirectoryW(widen(program_folder).c_str(), nullptr));
  write_text_file(program_folder + "\\kelvane.cfg", "0x00ABCDEF\n");
  sources_.program_path = program_folder + "\\kelvane.exe";
  CGUI gui(sources_);
  EXPECT_EQ(gui.color[0], 0x00ABCDEFu);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(CguiTest, HighDriveFollowsTheProgramsDrive) {
  const std::pair<const char*, int> cases[] = {
      {"G:\\Tools\\kelvane.exe", 0}, {"H:\\Tools\\kelvane.exe", 1}, {"\\\\server\\share\\kelvane.exe", 1}};
  for (const auto& [program, expected] : cases) {
    sources_.program_path = program;
    CGUI gui(sources_);
    EXPECT_EQ(gui.highdrive, expected) << program;
  }
}

TEST_F(CguiTest, DefaultColourFileHasSixteenDistinctColours) {
  const std::string source = std::string("Z:") + KELVANE_SOURCE_DIR + "/res/kelvane.cfg";
  const std::string text = read_text_file(source);
  ASSERT_FALSE(text.empty()) << source;
  write_colours(text);
  CGUI gui(sources_);
  EXPECT_TRUE(messages_.texts.empty());
  std::set<uint32_t> distinct(std::begin(gui.color), std::end(gui.color));
  EXPECT_EQ(distinct.size(), 16u);
}

TEST_F(CguiTest, LogHasItsLinesInOrder) {
  write_colours("0x0000FF\n");
  {
    CGUI gui(sources_);
    EXPECT_TRUE(gui.flog.is_open());
  }
  const DWORD version = GetVersion();
  const std::string expected = strf(
      "Logfile created by kelvane.exe:\nWindows Version: %d.%d\nCGUI::CGUI () OK ...\nCGUI::~CGUI () OK "
      "...\n",
      LOBYTE(LOWORD(version)), HIBYTE(LOWORD(version)));
  EXPECT_EQ(read_text_file(log_path()), expected);
  // A new start empties the old log.
  { CGUI gui(sources_); }
  EXPECT_EQ(read_text_file(log_path()), expected);
}

// The log is a plain file of its own: never written through a link, never shared by two
// programs at once.
TEST_F(CguiTest, LogIsMadeAnewAndNeverSharedOrFollowed) {
  write_colours("0x0000FF\n");
  const std::string second_log = folder_ + "\\kelvane-2.log";
  auto made_once = [](const std::string& log) {
    return log.rfind("Logfile created by kelvane.exe:\n", 0) == 0 &&
           log.find("Logfile created", 1) == std::string::npos &&
           log.find("CGUI::~CGUI () OK ...\n") != std::string::npos;
  };
  // An empty folder where the log goes is removed. While a program runs, a second one that
  // finds its log in use writes kelvane-2.log.
  ASSERT_TRUE(CreateDirectoryW(widen(log_path()).c_str(), nullptr));
  {
    CGUI first(sources_);
    first.flog.write("first\n");
    CGUI second(sources_);
    second.flog.write("second\n");
  }
  const std::string first_text = read_text_file(log_path()), second_text = read_text_file(second_log);
  EXPECT_TRUE(made_once(first_text)) << first_text;
  EXPECT_TRUE(made_once(second_text)) << second_text;
  EXPECT_NE(first_text.find("first\n"), std::string::npos);
  EXPECT_EQ(first_text.find("second\n"), std::string::npos);
  EXPECT_NE(second_text.find("second\n"), std::string::npos);

  // A link where the log goes is never written through (nor deleted: under Wine that would
  // delete its target); the next name free of other programs is made anew.
  write_text_file(folder_ + "\\target.txt", "keep\n");
  ASSERT_TRUE(
      run_unix("cd '" + unix_name_of(folder_) + "' && rm -f kelvane.log && ln -s target.txt kelvane.log",
               folder_, "linked"));
  ASSERT_EQ(read_text_file(log_path()), "keep\n");  // through the link
  { CGUI third(sources_); }
  EXPECT_EQ(read_text_file(folder_ + "\\target.txt"), "keep\n");
  EXPECT_EQ(read_text_file(log_path()), "keep\n");
  const std::string third_text = read_text_file(second_log);
  EXPECT_TRUE(made_once(third_text)) << third_text;
  EXPECT_EQ(third_text.find("second\n"), std::string::npos);
  run_unix("rm -f '" + unix_name_of(log_path()) + "'", folder_, "unlinked");
}

// Logs held open by other programs: the first free name of the nine, and none once all are held.
TEST_F(CguiTest, NinthLogAfterEightHeldAndNoneAfterNine) {
  write_colours("0x0000FF\n");
  std::vector<HANDLE> held;
  auto hold = [&](int n) {
    const std::string name = n == 1 ? log_path() : folder_ + strf("\\kelvane-%d.log", n);
    held.push_back(CreateFileW(widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.back(), INVALID_HANDLE_VALUE) << name;
  };
  for (int n = 1; n <= 8; ++n) hold(n);
  const std::string ninth = folder_ + "\\kelvane-9.log";
  {
    CGUI gui(sources_);
    EXPECT_TRUE(gui.flog.is_open());
  }
  EXPECT_NE(read_text_file(ninth).find("CGUI::~CGUI () OK"), std::string::npos);
  hold(9);
  {
    CGUI gui(sources_);
    EXPECT_FALSE(gui.flog.is_open());
    gui.flog.write("nothing\n");
  }
  for (HANDLE h : held) CloseHandle(h);
  EXPECT_EQ(read_text_file(ninth), "");
  EXPECT_FALSE(file_exists(folder_ + "\\kelvane-10.log"));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(CguiTest, NoTempMeansNoLogAndNoFailure) {
  write_colours("0x0000FF\n");
  sources_.use_environment_temp = true;
  const wchar_t* old = _wgetenv(L"TEMP");
  const std::wstring saved = old ? old : L"";
  ASSERT_EQ(_wputenv(L"TEMP="), 0);
  ASSERT_EQ(_wgetenv(L"TEMP"), nullptr);
  {
    CGUI gui(sources_);
    EXPECT_FALSE(gui.flog.is_open());
    EXPECT_EQ(gui.xs, Settings().xs);
    gui.flog.write("nothing %d\n", 1);
  }
  if (!saved.empty()) _wputenv((L"TEMP=" + saved).c_str());
  EXPECT_FALSE(file_exists(log_path()));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(CguiTest, TempWithAUnicodeNameGetsTheLog) {
  write_colours("0x0000FF\n");
  const std::string temp = folder_ + "\\" + kUnicode;
  ASSERT_TRUE(CreateDirectoryW(widen(temp).c_str(), nullptr));
  sources_.use_environment_temp = true;
  const wchar_t* old = _wgetenv(L"TEMP");
  const std::wstring saved = old ? old : L"";
  ASSERT_EQ(_wputenv((L"TEMP=" + widen(temp)).c_str()), 0);
  { CGUI gui(sources_); }
  _wputenv((L"TEMP=" + saved).c_str());
  const std::string log = read_text_file(temp + "\\kelvane.log");
  EXPECT_EQ(log.rfind("Logfile created by kelvane.exe:\n", 0), 0u);
  EXPECT_NE(log.find("CGUI::~CGUI () OK ...\n"), std::string::npos);
}

TEST_F(CguiTest, LinesFromTwoThreadsStayWhole) {
  write_colours("0x0000FF\n");
  constexpr int kLines = 2000;
  const std::string pad(150, '.');
  {
    CGUI gui(sources_);
    auto writer = [&](char who) {
      for (int i = 0; i < kLines; ++i) gui.flog.write("thread %c line %d %s end\n", who, i, pad.c_str());
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
  }
  const std::string log = read_text_file(log_path());
  int a_next = 0, b_next = 0, others = 0;
  size_t pos = 0;
  while (pos < log.size()) {
    const size_t end = log.find('\n', pos);
    ASSERT_NE(end, std::string::npos);
    const std::string line = log.substr(pos, end - pos);
    pos = end + 1;
    if (line.rfind("thread ", 0) != 0) {
      ++others;
      continue;
    }
    int& next = (line[7] == 'a') ? a_next : b_next;
    ASSERT_EQ(line, strf("thread %c line %d %s end", line[7], next, pad.c_str()));
    ++next;
  }
  EXPECT_EQ(a_next, kLines);
  EXPECT_EQ(b_next, kLines);
  EXPECT_EQ(others, 4);
}

}  // namespace
}  // namespace kelvane
