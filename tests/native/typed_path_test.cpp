#include "scan/typed_path.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

std::string resolved(const std::string& text) {
  const TypedPath t = resolve_typed_path(text);
  return t.valid ? t.path : "(invalid)";
}

TEST(TypedPath, DotsBlanksAndSeparatorsResolveToTheFolderNamed) {
  EXPECT_EQ(resolved("C:\\KTEST\\."), "C:\\KTEST");
  EXPECT_EQ(resolved("C:\\KTEST\\D1\\.."), "C:\\KTEST");
  EXPECT_EQ(resolved("C:\\KTEST\\..\\KTEST"), "C:\\KTEST");
  EXPECT_EQ(resolved("  C:\\KTEST \t"), "C:\\KTEST");
  EXPECT_EQ(resolved("c:\\\\ktest\\\\\\d1\\"), "c:\\ktest\\d1");  // the case stays as typed
  EXPECT_EQ(resolved("C:/KTEST/./D1"), "C:\\KTEST\\D1");
  EXPECT_EQ(resolved("C:\\Program Files\\x"), "C:\\Program Files\\x");  // inner blanks stay
  EXPECT_EQ(resolved("C:\\a\\...\\b"), "C:\\a\\...\\b");                // not a dot component
}

TEST(TypedPath, DriveRootsStayRootsAndDotDotStopsThere) {
  EXPECT_EQ(resolved("C:"), "C:");
  EXPECT_EQ(resolved("C:\\"), "C:\\");
  EXPECT_EQ(resolved("C:\\KTEST\\.."), "C:\\");
  EXPECT_EQ(resolved("C:\\..\\..\\KTEST"), "C:\\KTEST");
  EXPECT_EQ(resolve_typed_path(" q:\\ ").drive, 'Q');
  EXPECT_EQ(resolve_typed_path("Z:\\usr").drive, 'Z');
}

TEST(TypedPath, NetworkPathsKeepServerAndShareAsTheirRoot) {
  EXPECT_EQ(resolved("\\\\srv\\share\\a\\..\\b\\."), "\\\\srv\\share\\b");
  EXPECT_EQ(resolved("\\\\srv\\share\\..\\.."), "\\\\srv\\share");
  EXPECT_EQ(resolved("//srv/share/a"), "\\\\srv\\share\\a");
  EXPECT_EQ(resolve_typed_path("\\\\srv\\share").drive, 0);
  EXPECT_EQ(resolved("\\\\srv"), "(invalid)");
  EXPECT_EQ(resolved("\\\\srv\\..\\x"), "(invalid)");
  // The device namespace is taken literally, as the system takes it.
  EXPECT_EQ(resolved("\\\\?\\C:\\a\\..\\b"), "\\\\?\\C:\\a\\..\\b");
}

TEST(TypedPath, PathsThatNameNoFolderAreRefused) {
  // A reserved character in a component: no path names such a folder exactly.
  for (const char* text : {"", "   ", "1:\\", "1:", "?:\\x", "C:KTEST", "KTEST", "\\KTEST", ".\\x", ":\\",
                           "C:\\a:b", "C:\\q?dir\\x", "C:\\x\\st*r", "\\\\srv\\sh|re\\x"}) {
    EXPECT_FALSE(resolve_typed_path(text).valid) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace kelvane
