#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/log.h"
#include "scan/mdrv.h"
#include "tests/support/text_file.h"

namespace kelvane {
namespace {

// Drive strings as the platform hands them over: "X:\\" roots, each terminated, the list
// ending in an empty string, in a zero-filled buffer of 255 characters.
std::vector<char> drive_strings(const std::vector<std::string>& roots) {
  std::vector<char> buffer(255, '\0');
  size_t at = 0;
  for (const std::string& root : roots) {
    for (char c : root) buffer[at++] = c;
    buffer[at++] = '\0';
  }
  return buffer;
}

class DriveListTest : public ::testing::Test {
 protected:
  DriveListTest()
      : drives(log, [this](const std::string& name, uint64_t& free, uint64_t& total) {
          asked.push_back(name);
          auto it = volumes.find(name);
          if (it == volumes.end()) return false;
          free = it->second.first;
          total = it->second.second;
          return true;
        }) {}
  int enumerate(const std::vector<std::string>& roots) {
    const std::vector<char> buffer = drive_strings(roots);
    return drives.enumerate(buffer.data(), buffer.size(),
                            [this](const std::string& name, int index) { rows.emplace_back(name, index); });
  }

  Log log;
  mdrv drives;
  std::map<std::string, std::pair<uint64_t, uint64_t>> volumes;  // name -> free, total
  std::vector<std::string> asked;
  std::vector<std::pair<std::string, int>> rows;
};

TEST_F(DriveListTest, FailingDriveLeavesNoGapAndFloppiesAreNeverListed) {
  volumes["A:"] = {1, 2};
  volumes["B:"] = {1, 2};
  volumes["C:"] = {30ull << 30, 100ull << 30};
  volumes["E:"] = {5, 7};
  const int count = enumerate({"A:\\", "B:\\", "C:\\", "D:\\", "E:\\"});
  EXPECT_EQ(count, 2);
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, int>>{{"C:", 0}, {"E:", 1}}));
  // A: and B: are not even asked: a floppy drive must not be touched.
  EXPECT_EQ(asked, (std::vector<std::string>{"C:", "D:", "E:"}));
  EXPECT_EQ(drives.drives[0].name, "C:");
  EXPECT_EQ(drives.drives[0].total, 100ull << 30);
  EXPECT_EQ(drives.drives[0].free, 30ull << 30);
  EXPECT_EQ(drives.drives[0].used, 70ull << 30);
  EXPECT_EQ(drives.drives[1].name, "E:");
  for (int i = 0; i < count; ++i)
    EXPECT_EQ(drives.drives[i].used + drives.drives[i].free, drives.drives[i].total) << i;
}

TEST_F(DriveListTest, LowerCaseRootsAreListedUpperCase) {
  volumes["C:"] = {1, 1};
  volumes["Z:"] = {0, 9};
  EXPECT_EQ(enumerate({"c:\\", "z:\\"}), 2);
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, int>>{{"C:", 0}, {"Z:", 1}}));
}

TEST_F(DriveListTest, EveryLetterFromCToZFitsTheRecords) {
  std::vector<std::string> roots;
  for (char c = 'A'; c <= 'Z'; ++c) {
    roots.push_back(std::string(1, c) + ":\\");
    volumes[std::string(1, c) + ":"] = {1, 2};
  }
  EXPECT_EQ(enumerate(roots), 24);
  EXPECT_EQ(drives.drives[23].name, "Z:");
}

TEST_F(DriveListTest, EmptyOrMalformedBuffersListNothingWrong) {
  volumes["C:"] = {1, 2};
  volumes["D:"] = {1, 2};
  EXPECT_EQ(enumerate({}), 0);
  EXPECT_EQ(drives.enumerate(nullptr, 0, nullptr), 0);
  // A root of an unexpected length does not shift the letters after it.
  EXPECT_EQ(enumerate({"C:\\x", "?", "D:\\"}), 2);
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, int>>{{"C:", 0}, {"D:", 1}}));
}

TEST_F(DriveListTest, ReadMdrvFailureLeavesTheRecord) {
  volumes["C:"] = {3, 10};
  ASSERT_EQ(drives.read_mdrv("C:", 4), 0);
  EXPECT_EQ(drives.read_mdrv("D:", 4), 1);
  EXPECT_EQ(drives.drives[4].name, "C:");
  EXPECT_EQ(drives.drives[4].used, 7u);
  EXPECT_EQ(drives.read_mdrv("C:", 26), 1);
  EXPECT_EQ(drives.read_mdrv("C:", -1), 1);
}

TEST_F(DriveListTest, FreeAboveTotalNeverWrapsUsed) {
  volumes["N:"] = {20, 10};
  ASSERT_EQ(drives.read_mdrv("N:", 0), 0);
  EXPECT_EQ(drives.drives[0].used, 0u);
}

TEST(DriveList, WithoutAQueryNothingIsRead) {
  Log log;
  mdrv drives(log, nullptr);
  EXPECT_EQ(drives.read_mdrv("C:", 0), 1);
}

TEST(DriveList, LogsConstructionAndDestruction) {
  const std::string path = ::testing::TempDir() + "drive_list_test.log";
  {
    Log log;
    ASSERT_TRUE(log.open(path));
    { mdrv drives(log); }
  }
  const std::string text = read_text_file(path);
  std::remove(path.c_str());
  EXPECT_EQ(text, "mdrv::mdrv () OK ...\nmdrv::~mdrv () OK ...\n");
}

}  // namespace
}  // namespace kelvane
