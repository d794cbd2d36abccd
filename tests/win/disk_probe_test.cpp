// The platform's answers about the disk: entries by their exact names with their kind and
// size (long paths included), folder identities, known drives and the short form that lets a
// long path be opened.
#include "scan/disk_probe.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/strf.h"
#include "base/utf8_path.h"
#include "removal/delete_check.h"
#include "removal/entry_probe.h"
#include "scan/exact_path.h"
#include "tests/support/unix_shell.h"

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
  EntryProbe& entries = entry_probe();
  const DiskEntry found = entries.entry(file);
  EXPECT_EQ(found.presence, Presence::kPresent);
  EXPECT_FALSE(found.is_dir);
  EXPECT_EQ(found.size, 5u);
  // Only the exact name: a twin that differs in case is another entry.
  std::string twin = file;
  twin[twin.size() - 3] = 'T';  // "...file.Txt"
  EXPECT_EQ(entries.entry(twin).presence, Presence::kAbsent);
  const DiskEntry dir = entries.entry(folder);
  EXPECT_EQ(dir.presence, Presence::kPresent);
  EXPECT_TRUE(dir.is_dir);
  EXPECT_TRUE(entries.entry("C:").is_dir);
  EXPECT_EQ(entries.entry(folder + "\\gone.txt").presence, Presence::kAbsent);
  EXPECT_EQ(entries.entry(folder + "\\no such folder\\x").presence, Presence::kAbsent);
  FolderId a, b, again;
  ASSERT_TRUE(probe.folder_identity(folder, a));
  ASSERT_TRUE(probe.folder_identity(folder.substr(0, folder.rfind('\\')), b));
  ASSERT_TRUE(probe.folder_identity(folder, again));
  EXPECT_EQ(a, again);
  EXPECT_FALSE(a == b);
  // The identity from the 128-bit id where it answers (Wine 8 does: the inode, zero-extended),
  // the same as the 64-bit index and serial number where that id fits in 64 bits.
  HANDLE opened = CreateFileW(widen(folder).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  ASSERT_TRUE(GetFileInformationByHandle(opened, &info));
  unsigned char full[24];  // FILE_ID_INFO, class 18
  const bool has_128 =
      GetFileInformationByHandleEx(opened, static_cast<FILE_INFO_BY_HANDLE_CLASS>(18), full, sizeof full);
  CloseHandle(opened);
  if (has_128) {
    EXPECT_EQ(a.volume, info.dwVolumeSerialNumber);
    EXPECT_EQ(a.file, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    EXPECT_EQ(a.file_high, 0u);
  }
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

// Under Wine a drive letter pointed at a copy of the same layout on a fresh file system keeps
// its serial number (made from the letter), its indexes and its place: only the mapping tells.
// Pointed anew at the very same folder, the rest is alike by construction (or, within a second
// of the change, as Wine has not yet reread its drive table, differs: another root all the same).
TEST(DiskProbe, DriveLetterPointedAnewIsAnotherRoot) {
  const std::string c_drive = unix_name_of("C:\\");
  const size_t links_at = c_drive.rfind("/c:");
  ASSERT_NE(links_at, std::string::npos) << c_drive;
  const std::string links = c_drive.substr(0, links_at);
  char letter = 0;
  for (char l = 'Y'; l > 'M' && letter == 0; --l)
    if (!((GetLogicalDrives() >> (l - 'A')) & 1)) letter = l;
  ASSERT_NE(letter, 0);
  const std::string mapped = strf("%c:\\", letter);
  const std::string link = links + strf("/%c:", letter + ('a' - 'A'));
  const std::string folder = "Z:\\tmp\\kelvane-mapped-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryW(widen(folder).c_str(), nullptr));
  const std::string point = "ln -sfn '" + unix_name_of(folder) + "' '" + link + "'";
  FolderId before, after;
  ASSERT_TRUE(run_unix(point, folder, "pointed"));
  ASSERT_TRUE(disk_probe().folder_identity(mapped, before));
  // Pointed anew until the links' folder shows it: two re-pointings within one tick of the
  // file system's clock would leave its time as it was.
  const std::string stamp = "$(stat -c %.9Y '" + links + "')";
  const std::string repoint = "m=" + stamp + "; for i in $(seq 1000); do " + point + "; [ " + stamp +
                              " != $m ] && exit 0; done; exit 1";
  ASSERT_TRUE(run_unix(repoint, folder, "pointed"));
  ASSERT_TRUE(disk_probe().folder_identity(mapped, after));
  run_unix("rm -f '" + link + "'", folder, "unmapped");
  RemoveDirectoryW(widen(folder).c_str());
  EXPECT_NE(before.mapping, 0u);
  EXPECT_NE(before.mapping, after.mapping);
  EXPECT_EQ(root_state(true, before, true, after), RootState::kOther);
  EXPECT_EQ(root_state(true, after, true, after), RootState::kSame);
}

}  // namespace
}  // namespace kelvane
