#include "scan/exact_path.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "base/log.h"
#include "base/settings.h"
#include "scan/mdir.h"
#include "scan/sysnative_path.h"
#include "tests/support/memory_dir_source.h"
#include "tests/support/scan_recorder.h"
#include "tests/support/tree_builder.h"
#include "tests/support/tree_queries.h"

namespace kelvane {
namespace {

// What the shell and 32-bit programs of a redirected system are given for the real system folder.
TEST(ExactPath, SysnativeFormOnlyOfTheSystemFolderItself) {
  const std::string windows = "C:\\Windows";
  EXPECT_EQ(sysnative_form("C:\\Windows\\System32\\drivers\\x.sys", windows),
            "C:\\Windows\\Sysnative\\drivers\\x.sys");
  EXPECT_EQ(sysnative_form("c:\\WINDOWS\\system32", windows + "\\"), "c:\\WINDOWS\\Sysnative");
  EXPECT_EQ(sysnative_form("\\\\?\\C:\\windows\\SYSTEM32\\a.", windows), "\\\\?\\C:\\windows\\Sysnative\\a.");
  for (const char* other :
       {"C:\\Windows\\System32x\\a", "C:\\Windows\\System3", "C:\\Windows\\SysWOW64\\a",
        "D:\\Windows\\System32\\a", "C:\\Windowsx\\System32", "C:\\Data\\Windows\\System32"})
    EXPECT_EQ(sysnative_form(other, windows), other) << other;
  EXPECT_EQ(sysnative_form("C:\\Windows\\System32\\a", ""), "C:\\Windows\\System32\\a");
}

TEST(ExactPath, NamesWithAReservedCharacterCannotStandInAPath) {
  for (const char* name : {"doc.kx.", "sp ", " lead", "...", "nul", "con.txt", "a.b.c", "Gr\xc3\xbc\xc3\x9f"})
    EXPECT_TRUE(name_fits_path(name)) << name;
  for (const char* name : {"back\\slash", "a/b", "a:b", "q?dir", "st*r", "lt<gt", "gt>", "quo\"te", "pi|pe",
                           "ctl\x01x", "us\x1fx", "tab\t", "bad\xef\xbf\xbdx", "", ".", ".."})
    EXPECT_FALSE(name_fits_path(name)) << name;
}

TEST(ExactPath, ExtendedFormsAndPatterns) {
  EXPECT_EQ(extended_path("D:\\X\\doc.kx."), "\\\\?\\D:\\X\\doc.kx.");
  EXPECT_EQ(extended_path("d:"), "\\\\?\\d:\\");  // the drive's root, not its current folder
  EXPECT_EQ(extended_path("D:\\"), "\\\\?\\D:\\");
  EXPECT_EQ(extended_path("\\\\srv\\share\\x"), "\\\\?\\UNC\\srv\\share\\x");
  for (const char* kept : {"\\\\?\\D:\\x", "\\\\.\\pipe\\x", "x\\y", "D:x", "D:\\a\\..\\b", "D:/a"})
    EXPECT_EQ(extended_path(kept), kept);
  EXPECT_EQ(enumeration_pattern("D:\\X\\*.*"), "\\\\?\\D:\\X\\*");
  EXPECT_EQ(enumeration_pattern("D:\\*.*"), "\\\\?\\D:\\*");
  EXPECT_EQ(enumeration_pattern("D:\\X\\inner"), "\\\\?\\D:\\X\\inner");
}

TEST(ExactPath, PlainPathOnlyWhereThePlatformReadsItUnchanged) {
  for (const char* exact :
       {"D:\\X\\doc.kx", "D:\\", "D:\\com10\\console", "\\\\srv\\share", "\\\\srv\\share\\x.y"})
    EXPECT_TRUE(plain_path_is_exact(exact)) << exact;
  for (const char* rewritten : {"D:\\X\\doc.kx.", "D:\\sp \\x", "D:\\X\\...", "D:\\X\\nul", "D:\\X\\CON.txt",
                                "D:\\X\\com1", "D:\\X\\lpt\xc2\xb9", "D:\\X\\conin$", "D:", "D:x",
                                "D:\\a\\\\b", "D:\\a\\..\\b", "D:\\a:b", "\\\\?\\D:\\x", "\\\\srv", "x"})
    EXPECT_FALSE(plain_path_is_exact(rewritten)) << rewritten;
  const std::string longest = "D:\\" + std::string(256, 'x');  // 259 bytes
  EXPECT_TRUE(plain_path_is_exact(longest));
  EXPECT_FALSE(plain_path_is_exact(longest + "x"));

  EXPECT_EQ(shell_path("D:\\X\\a"), "D:\\X\\a");
  EXPECT_EQ(shell_path("D:\\X\\a."), "\\\\?\\D:\\X\\a.");
  // A long path whose names are plain stays plain for the shell.
  const std::string deep = "D:\\" + std::string(300, 'd') + "\\leaf";
  EXPECT_EQ(shell_path(deep), deep);
  // A started program gets the short form where it is exact, else the extended form.
  EXPECT_EQ(program_argument("D:\\X\\doc.kx.", "D:\\X\\DOC~1.KX_"), "D:\\X\\DOC~1.KX_");
  EXPECT_EQ(program_argument("D:\\X\\doc.kx.", ""), "\\\\?\\D:\\X\\doc.kx.");
  EXPECT_EQ(program_argument("D:\\X\\nul", "D:\\X\\nul"), "\\\\?\\D:\\X\\nul");

  EXPECT_EQ(file_type("D:\\X\\doc.kx."), ".kx");
  EXPECT_EQ(file_type("D:\\X\\a.txt"), ".txt");
  EXPECT_EQ(file_type("D:\\X.d\\noext"), "");
}

TEST(ExactPath, FirstUnnamableNameBelowTheRoot) {
  testing_tree::TreeFixture t;
  lobj* root = t.folder(nullptr, "Z:\\a:b");  // typed: the root's own path is not looked at
  lobj* odd = t.folder(root, "q?dir");
  lobj* fine = t.file(root, "doc.kx.", 1);
  EXPECT_EQ(unnamable_name(*fine), nullptr);
  EXPECT_EQ(unnamable_name(*root), nullptr);
  EXPECT_STREQ(unnamable_name(*odd), "q?dir");
  EXPECT_STREQ(unnamable_name(*t.file(odd, "x", 1)), "q?dir");
}

// A folder whose name a path cannot carry is listed but never read, in either scan mode: the
// in-memory disk, like Wine's, would read it as its own folder, but the platform's would read
// "q?dir" as a pattern (also matching "qxdir") and "back\slash" as slash inside back.
TEST(ExactPath, WalkNeverReadsAFolderWhoseNameNoPathCarries) {
  MemoryDirSource fs;
  fs.add_file("C:\\T\\q?dir\\q", 300);
  fs.add_file("C:\\T\\qxdir\\x", 4);
  fs.add_file("C:\\T\\a:b\\y", 50);
  fs.add_file("C:\\T\\doc.kx.", 7);
  for (int sq : {0, 1}) {
    SCOPED_TRACE(sq);
    Log log;
    Settings settings;
    settings.sq = sq;
    std::atomic<int> busy{1};
    mdir dir(log, settings, busy);
    dir.set_source(&fs);
    testing_fakes::ScanRecorder done(busy);
    dir.read_mdir("C:\\T", &done);
    ASSERT_TRUE(done.ok);
    EXPECT_EQ(totals(folder_named(dir, "q?dir")), (std::vector<long long>{0, 0, 0}));
    EXPECT_EQ(totals(folder_named(dir, "a:b")), (std::vector<long long>{0, 0, 0}));
    EXPECT_EQ(totals(folder_named(dir, "qxdir")), (std::vector<long long>{4, 0, 1}));
    EXPECT_EQ(totals(dir.ptop), (std::vector<long long>{11, 3, 2}));
  }
}

}  // namespace
}  // namespace kelvane
