#include "frame/help_rules.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "app/settings_loader.h"

namespace kelvane {
namespace {

TEST(HelpRules, HelpFileAndViewerCommandLine) {
  EXPECT_EQ(viewer_path("C:\\WINDOWS"), "C:\\WINDOWS\\hh.exe");
  EXPECT_EQ(viewer_path(""), "");
  EXPECT_EQ(help_file_path("D:\\Tools\\kelvane.exe"), "D:\\Tools\\kelvane.chm");
  EXPECT_EQ(help_command_line("D:\\Tools\\kelvane.chm"), "hh.exe D:\\Tools\\kelvane.chm");
  // Exactly three characters go, whatever the extension's length.
  EXPECT_EQ(help_file_path("D:\\Tools\\kelvane.ex"), "D:\\Tools\\kelvanechm");
  EXPECT_EQ(help_file_path("D:\\Tools\\kelvane.exe1"), "D:\\Tools\\kelvane.echm");
  EXPECT_EQ(help_file_path("ab"), "chm");
  // A blank in the path: one quoted argument, so the viewer opens this file and no other.
  EXPECT_EQ(help_command_line("C:\\Program Files\\Kelvane\\kelvane.chm"),
            "hh.exe \"C:\\Program Files\\Kelvane\\kelvane.chm\"");
  // Nothing is cut: a path far beyond 256 bytes comes through whole.
  const std::string long_name(300, 'x');
  EXPECT_EQ(help_command_line(help_file_path("C:\\" + long_name + "\\kelvane.exe")),
            "hh.exe C:\\" + long_name + "\\kelvane.chm");
}

TEST(HelpRules, LinkZoneEdgesAreOutside) {
  EXPECT_TRUE(in_link_zone(69, 49));
  EXPECT_TRUE(in_link_zone(181, 53));
  const std::pair<int, int> outside[] = {{68, 50}, {182, 50}, {100, 48}, {100, 54}};
  for (auto [x, y] : outside) EXPECT_FALSE(in_link_zone(x, y)) << x << "," << y;
}

TEST(HelpRules, VariantFollowsTheProgramsDrive) {
  for (const char* drive : {"D:", "H:", "K:", "Z:"}) {
    const InfoLines lines = info_lines(high_drive(std::string(drive) + "\\Tools\\kelvane.exe"));
    EXPECT_EQ(lines.title.text, "Kelvane, Version 1.01");
    if (drive[0] == 'D') {
      EXPECT_EQ(lines.contact.text, "Development & Design");
      EXPECT_EQ(lines.link.text, "www.example.com/kelvane");
    } else {
      EXPECT_EQ(lines.contact.text, "author@example.org") << drive;
      EXPECT_EQ(lines.link.text, "www.example.org/author") << drive;
    }
  }
  // Rectangles, fonts and colour of the three lines.
  const InfoLines l = info_lines(0);
  EXPECT_EQ((std::tuple{l.title.left, l.title.top, l.title.bottom, l.title.tenths, l.title.blue}),
            (std::tuple{5, 5, 20, 90, false}));
  EXPECT_EQ((std::tuple{l.contact.left, l.contact.top, l.contact.bottom, l.contact.tenths, l.contact.blue}),
            (std::tuple{5, 25, 45, 85, false}));
  EXPECT_EQ((std::tuple{l.link.left, l.link.top, l.link.bottom, l.link.tenths, l.link.blue}),
            (std::tuple{5, 40, 60, 85, true}));
}

TEST(HelpRules, BrowserStartsByItsRegisteredPathWithTheAddress) {
  EXPECT_FALSE(browser_start(std::nullopt, "www.example.com/kelvane"));
  EXPECT_FALSE(browser_start(std::string(), "www.example.com/kelvane"));
  const auto plain = browser_start(std::string("C:\\IE\\iexplore.exe"), "www.example.com/kelvane");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->application, "C:\\IE\\iexplore.exe");
  EXPECT_EQ(plain->command_line, "C:\\IE\\iexplore.exe www.example.com/kelvane");
  // A path with blanks: named explicitly, and quoted so the browser sees the address as its
  // one argument; quotes stored in the registry are not part of the file name.
  const auto spaced =
      browser_start(std::string("\"C:\\Program Files\\IE\\iexplore.exe\""), "www.example.org/author");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->application, "C:\\Program Files\\IE\\iexplore.exe");
  EXPECT_EQ(spaced->command_line, "\"C:\\Program Files\\IE\\iexplore.exe\" www.example.org/author");
}

}  // namespace
}  // namespace kelvane
