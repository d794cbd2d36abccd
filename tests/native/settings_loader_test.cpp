#include "app/settings_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/text_file.h"

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

TEST(DwordSettings, OnlyAFourByteDwordCounts) {
  EXPECT_EQ(registry_dword_value(4, 4, 7), 7);
  EXPECT_EQ(registry_dword_value(4, 4, 0), 0);
  EXPECT_EQ(registry_dword_value(4, 4, 0xFFFFFFFFu), -1);
  EXPECT_LT(registry_dword_value(4, 4, 0x80000000u), 0);
  EXPECT_EQ(registry_dword_value(1, 4, 7), -1);   // a string
  EXPECT_EQ(registry_dword_value(11, 8, 7), -1);  // a QWORD
  EXPECT_EQ(registry_dword_value(4, 2, 7), -1);
}

// A registry key as a map, with every call in order.
struct MapStore : SettingStore {
  std::map<std::string, int> dwords;
  std::map<std::string, std::string> texts;
  std::vector<std::string> calls;
  int read_dword(const char* name) override {
    calls.push_back(std::string("read ") + name);
    return dwords.count(name) ? dwords[name] : -1;
  }
  std::string read_text(const char* name) override {
    calls.push_back(std::string("read ") + name);
    return texts.count(name) ? texts[name] : "";
  }
  void write_dword(const char* name, int value) override {
    calls.push_back(std::string("write ") + name);
    dwords[name] = value;
  }
  void write_text(const char* name, const std::string& value) override {
    calls.push_back(std::string("write ") + name);
    texts[name] = value;
  }
};

TEST(LoadSettings, EmptyKeyGetsTheTablesDefaultsWrittenBackInOrder) {
  MapStore store;
  Settings s;
  s.un = 4;
  s.iv = "left over";
  load_settings(s, store);
  std::vector<std::string> reads_first, writes, rest;
  for (const SettingInfo& info : kSettingTable) {
    if (info.is_dword) {
      EXPECT_EQ(s.*info.dword, info.dword_default) << info.name;
    } else {
      EXPECT_EQ(s.*info.text, info.text_default) << info.name;
    }
    const std::string name = info.name;
    if (info.is_dword && info.use != SettingUse::kNeverWritten) {
      reads_first.push_back("read " + name);
      if (info.use == SettingUse::kWriteBack) writes.push_back("write " + name);
    } else {
      rest.push_back("read " + name);
      if (info.use == SettingUse::kWriteBack) rest.push_back("write " + name);
    }
  }
  // Every DWORD is read before the first default goes back; the strings and our own follow.
  std::vector<std::string> expected = reads_first;
  expected.insert(expected.end(), writes.begin(), writes.end());
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(store.calls, expected);
  const Settings defaults;
  EXPECT_EQ(store.dwords, (std::map<std::string, int>{{"xo", defaults.xo},
                                                      {"yo", defaults.yo},
                                                      {"xs", defaults.xs},
                                                      {"ys", defaults.ys},
                                                      {"ft", defaults.ft},
                                                      {"tm", defaults.tm},
                                                      {"ud", defaults.ud},
                                                      {"un", defaults.un},
                                                      {"vl", defaults.vl}}));
  EXPECT_EQ(store.texts, (std::map<std::string, std::string>{{"mf", defaults.mf}}));
}

TEST(LoadSettings, StoredValuesAreKeptWithoutUpperBound) {
  MapStore store;
  store.dwords = {{"un", 7}, {"xs", 0x7FFFFFFF}, {"db", 3}, {"sq", 1}, {"tm", 0}};
  store.texts = {{"mf", "Arial"}, {"iv", "C:\\iv.exe"}};
  Settings s;
  load_settings(s, store);
  EXPECT_EQ(s.un, 7);
  EXPECT_EQ(s.xs, 0x7FFFFFFF);
  EXPECT_EQ(s.db, 3);
  EXPECT_EQ(s.sq, 1);
  EXPECT_EQ(s.tm, 0);
  EXPECT_EQ(s.mf, "Arial");
  EXPECT_EQ(s.iv, "C:\\iv.exe");
  for (const char* kept : {"un", "xs", "db", "sq", "tm", "mf", "iv"})
    EXPECT_EQ(std::count(store.calls.begin(), store.calls.end(), std::string("write ") + kept), 0) << kept;
}

// The user reads the defaults in the manual's settings page and the README's list: both must
// say what the table holds.
std::string source_text(const std::string& relative) {
#ifdef _WIN32
  const std::string path = std::string("Z:") + KELVANE_SOURCE_DIR + "/" + relative;
#else
  const std::string path = std::string(KELVANE_SOURCE_DIR) + "/" + relative;
#endif
  return read_text_file(path);
}

const SettingInfo* table_setting(const std::string& name) {
  for (const SettingInfo& s : kSettingTable)
    if (name == s.name) return &s;
  return nullptr;
}

// The cells of a row after its start: <code>xo</code></td><td>DWORD</td><td>10</td>...
std::vector<std::string> cells(const std::string& page, size_t at) {
  std::vector<std::string> out;
  for (const char* end : {"</code></td><td>", "</td><td>", "</td>"}) {
    const size_t stop = page.find(end, at);
    if (stop == std::string::npos) break;
    out.push_back(page.substr(at, stop - at));
    at = stop + std::strlen(end);
  }
  return out;
}

TEST(SettingTable, ManualPageAndReadmeAgreeWithIt) {
  const std::string page = source_text("help/settings.html");
  ASSERT_FALSE(page.empty());
  const std::string row = "<tr><td><code>";
  std::set<std::string> on_page;
  for (size_t at = page.find(row); at != std::string::npos; at = page.find(row, at + 1)) {
    const std::vector<std::string> c = cells(page, at + row.size());
    ASSERT_EQ(c.size(), 3u);
    on_page.insert(c[0]);
    const SettingInfo* s = table_setting(c[0]);
    ASSERT_NE(s, nullptr) << "help/settings.html lists " << c[0] << ", which is no setting";
    EXPECT_EQ(c[1], s->is_dword ? "DWORD" : "string") << "help/settings.html: type of " << c[0];
    std::string want = s->is_dword        ? std::to_string(s->dword_default)
                       : *s->text_default ? "\"" + std::string(s->text_default) + "\""
                                          : "none";
    if (s->use != SettingUse::kWriteBack) want += " (never written)";
    EXPECT_EQ(c[2], want) << "help/settings.html: default of " << c[0];
  }
  for (const SettingInfo& s : kSettingTable) {
    if (s.use == SettingUse::kNeverWritten) continue;
    EXPECT_EQ(on_page.count(s.name), 1u) << "help/settings.html lacks " << s.name;
  }

  // The README's settings paragraph names them all, and nothing else, in backticks.
  const std::string readme = source_text("README.md");
  const size_t from = readme.find("- Settings:");
  ASSERT_NE(from, std::string::npos);
  const std::string part = readme.substr(from, readme.find("\n- ", from + 1) - from);
  std::set<std::string> in_readme;
  for (size_t at = part.find('`'); at != std::string::npos; at = part.find('`', at + 1)) {
    if (at + 3 >= part.size() || part[at + 3] != '`' ||
        !std::islower(static_cast<unsigned char>(part[at + 1])))
      continue;
    const std::string name = part.substr(at + 1, 2);
    in_readme.insert(name);
    EXPECT_NE(table_setting(name), nullptr) << "README.md names " << name << ", which is no setting";
    at += 3;
  }
  for (const SettingInfo& s : kSettingTable)
    EXPECT_EQ(in_readme.count(s.name), 1u) << "README.md lacks " << s.name;
}

}  // namespace
}  // namespace kelvane
