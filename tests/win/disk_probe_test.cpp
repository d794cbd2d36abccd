// The platform's answers about the disk: presence of entries (long paths included), known
// drives and the short form that lets a long path be opened.
#include "scan/disk_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/utf8_path.h"

namespace kelvane {
namespace {

TEST(DiskProbe, PresenceDrivesAndShortFormOfALongPath) {
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
  CloseHandle(h);

  DiskProbe& probe = disk_probe();
  EXPECT_EQ(probe.presence(file), Presence::kPresent);
  EXPECT_EQ(probe.presence(folder + "\\gone.txt"), Presence::kAbsent);
  EXPECT_EQ(probe.presence(folder + "\\no such folder\\x"), Presence::kAbsent);
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
