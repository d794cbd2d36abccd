#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvane {
namespace {

TEST(ColourFilePath, ReplacesOnlyTheExtensionOfTheFileName) {
  EXPECT_EQ(colour_file_path("C:\\Tools\\kelvane.exe"), "C:\\Tools\\kelvane.cfg");
  EXPECT_EQ(colour_file_path("C:\\Tools\\kel.vane.exe"), "C:\\Tools\\kel.vane.cfg");
  // A dot in a folder name is no extension: cutting there would read a file of another folder.
  EXPECT_EQ(colour_file_path("C:\\my.tools\\kelvane"), "C:\\my.tools\\kelvane.cfg");
  EXPECT_EQ(colour_file_path("kelvane"), "kelvane.cfg");
  EXPECT_EQ(colour_file_path("\\\\server\\share\\kelvane.exe"), "\\\\server\\share\\kelvane.cfg");
  const std::string deep = "C:\\" + std::string(400, 'd') + "\\kelvane.exe";  // no cut at 254
  EXPECT_EQ(colour_file_path(deep), deep.substr(0, deep.size() - 4) + ".cfg");
}

TEST(HighDrive, StartsAtDriveH) {
  EXPECT_EQ(high_drive("G:\\kelvane.cfg"), 0);
  EXPECT_EQ(high_drive("g:\\kelvane.cfg"), 0);
  EXPECT_EQ(high_drive("C:\\kelvane.cfg"), 0);
  EXPECT_EQ(high_drive("H:\\kelvane.cfg"), 1);
  EXPECT_EQ(high_drive("h:\\kelvane.cfg"), 1);
  EXPECT_EQ(high_drive("Z:\\kelvane.cfg"), 1);
  EXPECT_EQ(high_drive("\\\\server\\share\\kelvane.cfg"), 1);
  EXPECT_EQ(high_drive(""), 0);
}

TEST(ParseColours, TakesColourLinesAndSkipsTheRest) {
  uint32_t color[16] = {};
  const int found = parse_colours("[Colors]\n; a comment\n0x0000FF\n  0x00FF00\n0x00FF00 word\n\n", color);
  EXPECT_EQ(found, 2);
  EXPECT_EQ(color[0], 0x0000FFu);
  EXPECT_EQ(color[1], 0x00FF00u);
  for (int i = 2; i < 16; ++i) EXPECT_EQ(color[i], 0u) << i;
}

TEST(ParseColours, SkipsLinesThatDoNotStartWithLowerCaseHex) {
  uint32_t color[16] = {};
  EXPECT_EQ(parse_colours("0X00FF00\n0x\n0xg1\n0x 12\nx\n0\n0x12", color), 1);
  EXPECT_EQ(color[0], 0x12u);  // the last line needs no line end
}

TEST(ParseColours, UsesTheFirstSixteenOfMore) {
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "0x" + std::to_string(i) + "\n";  // decimal digits are hex too
  uint32_t color[16] = {};
  EXPECT_EQ(parse_colours(text, color), 20);
  EXPECT_EQ(color[0], 0x1u);
  EXPECT_EQ(color[9], 0x10u);
  EXPECT_EQ(color[15], 0x16u);
}

TEST(ParseColours, MasksBitsAboveTheColour) {
  uint32_t color[16] = {};
  parse_colours("0xFF00FF00\n0x1234567890\n0xffffff\n", color);
  EXPECT_EQ(color[0], 0x0000FF00u);
  EXPECT_EQ(color[1], 0x00567890u);
  EXPECT_EQ(color[2], 0x00FFFFFFu);
}

TEST(ParseColours, ReadsLongLinesInPiecesOf254) {
  // A comment of 300 characters: its second piece starts with a colour and counts as a line.
  std::string text = ";" + std::string(253, 'c') + "0x00ABCD rest\n";
  uint32_t color[16] = {};
  EXPECT_EQ(parse_colours(text, color), 1);
  EXPECT_EQ(color[0], 0x00ABCDu);
  // A colour line of exactly 254 characters before its line end: the end alone is skipped.
  text = "0x000001" + std::string(246, ' ') + "\n0x000002\n";
  uint32_t more[16] = {};
  EXPECT_EQ(parse_colours(text, more), 2);
  EXPECT_EQ(more[1], 0x000002u);
}

TEST(ParseColours, HandlesWindowsLineEndsAndEmptyText) {
  uint32_t color[16] = {};
  EXPECT_EQ(parse_colours("", color), 0);
  EXPECT_EQ(parse_colours("[x]\r\n0x0000FF\r\n\r\n", color), 1);
  EXPECT_EQ(color[0], 0x0000FFu);
}

TEST(FillGreys, GoesFromLightGreyToBlack) {
  uint32_t color[16] = {};
  fill_greys(color);
  EXPECT_EQ(color[0], 0xF0F0F0u);
  EXPECT_EQ(color[1], 0xE0E0E0u);
  EXPECT_EQ(color[15], 0x000000u);
}

TEST(DwordSettings, AreReadInOrderWithTheirDefaults) {
  const char* names[] = {"xo", "yo", "xs", "ys", "ft", "tm", "ud", "un", "vl", "db"};
  const int defaults[] = {10, 10, 700, 400, 1, 3, 1, 2, 0, 0};
  for (int i = 0; i < 10; ++i) {
    EXPECT_STREQ(kDwordSettings[i].name, names[i]);
    EXPECT_EQ(kDwordSettings[i].fallback, defaults[i]) << names[i];
    EXPECT_EQ(kDwordSettings[i].write_back, i != 9) << names[i];
  }
}

TEST(DwordSettings, OnlyAFourByteDwordCounts) {
  EXPECT_EQ(registry_dword_value(4, 4, 7), 7);
  EXPECT_EQ(registry_dword_value(4, 4, 0), 0);
  EXPECT_EQ(registry_dword_value(4, 4, 0xFFFFFFFFu), -1);
  EXPECT_LT(registry_dword_value(4, 4, 0x80000000u), 0);
  EXPECT_EQ(registry_dword_value(1, 4, 7), -1);   // a string
  EXPECT_EQ(registry_dword_value(11, 8, 7), -1);  // a QWORD
  EXPECT_EQ(registry_dword_value(4, 2, 7), -1);
}

TEST(DwordSettings, MissingValuesGetDefaultsWrittenBackExceptDb) {
  Settings s;
  s.un = 4;
  EXPECT_TRUE(apply_dword(s, kDwordSettings[7], -1));  // un
  EXPECT_EQ(s.un, 2);
  EXPECT_FALSE(apply_dword(s, kDwordSettings[7], 7));  // no upper bound
  EXPECT_EQ(s.un, 7);
  s.db = 5;
  EXPECT_FALSE(apply_dword(s, kDwordSettings[9], -1));  // db is never written
  EXPECT_EQ(s.db, 0);
  EXPECT_FALSE(apply_dword(s, kDwordSettings[2], 0x7FFFFFFF));
  EXPECT_EQ(s.xs, 0x7FFFFFFF);
}

}  // namespace
}  // namespace kelvane
