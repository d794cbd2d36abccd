// The platform's answers about the disk: entries by their exact names with their kind and
// size (long paths included), folder identities, known drives and the short form that lets a
// long path be opened.
#include "scan/disk_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/utf8_path.h"

namespace kelvane {
namespace {

TEST(DiskProbe, ExactEntriesIdentitiesDrivesAndShortFormOfALongPath) {
  std::wstring temp(MAX_PATH + 1, L'\0');
  temp.resize(GetTempPathW(MAX_PATH + 1, temp.data()));
  const std::string process = std::to_string(GetCurrentProcessId());
  const std::string folder = narrow(temp) + "kelvane probe " + process + "\\" + std::string(200, 'd');
  const std::string file = folder + "\\a long name of a text file.txt";
  ASSERT_GT(file.size(), kLongestPlainPath);
  const std::wstring wide_folder = L"\\\\?\\" + widen(folder);
  ASSERT_TRUE(CreateDirectoryW(wide_folder.substr(0, wide_folder.rfind(L'\\')).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(wide_folder.c_str(), nullptr));
  HANDLE h =
      CreateFileW((L"\\\\?\\" + widen(file)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "12345", 5, &written, nullptr);
  CloseHandle(h);

  DiskProbe& probe = disk_probe();
  const DiskEntry found = probe.entry(file);
  EXPECT_EQ(found.presence, Presence::kPresent);
  EXPECT_FALSE(found.is_dir);
  EXPECT_EQ(found.size, 5u);
  // Only the exact name: a twin that differs in case is another entry.
  std::string twin = file;
  twin[twin.size() - 3] = 'T';  // "...file.Txt"
  EXPECT_EQ(probe.entry(twin).presence, Presence::kAbsent);
  const DiskEntry dir = probe.entry(folder);
  EXPECT_EQ(dir.presence, Presence::kPresent);
  EXPECT_TRUE(dir.is_dir);
  EXPECT_TRUE(probe.entry("C:").is_dir);
  EXPECT_EQ(probe.entry(folder + "\\gone.txt").presence, Presence::kAbsent);
  EXPECT_EQ(probe.entry(folder + "\\no such folder\\x").presence, Presence::kAbsent);
  FolderId a, b, again;
  ASSERT_TRUE(probe.folder_identity(folder, a));
  ASSERT_TRUE(probe.folder_identity(folder.substr(0, folder.rfind('\\')), b));
  ASSERT_TRUE(probe.folder_identity(folder, again));
  EXPECT_EQ(a, again);
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(probe.folder_identity(folder + "\\no such folder", again));
  const std::string short_form = probe.short_path(file);
  EXPECT_FALSE(short_form.empty());
  EXPECT_LE(short_form.size(), kLongestPlainPath);
  EXPECT_NE(GetFileAttributesW(widen(short_form).c_str()), INVALID_FILE_ATTRIBUTES) << short_form;

  EXPECT_TRUE(probe.drive_known('C'));
  EXPECT_FALSE(probe.drive_known('Q'));
  EXPECT_FALSE(probe.drive_known('1'));

  DeleteFileW((L"\\\\?\\" + widen(file)).c_str());
  RemoveDirectoryW(wide_folder.c_str());
  RemoveDirectoryW(wide_folder.substr(0, wide_folder.rfind(L'\\')).c_str());
}

}  // namespace
}  // namespace kelvane
