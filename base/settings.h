#pragma once
// The program's settings as plain data: what the registry and the colour file gave at start.
// CGUI (app/cgui.h) fills them on Windows; every layer and the tests read them directly.
// kSettingTable below is the one place a registry setting is declared: the record's defaults,
// the loader (app/settings_loader.h), the values written at a first start and the checks of the
// manual's settings page and the README all come from it.
#include <cstdint>
#include <string>

namespace kelvane {

struct Settings {
  Settings();  // every setting at its default from the table

  int xo;          // top edge of the main window
  int yo;          // left edge of the main window
  int xs;          // right edge
  int ys;          // bottom edge
  int ft;          // flat toolbar
  int tm;          // slice threshold in degrees
  int ud;          // delete to the recycle bin
  int un;          // size unit 0..4 = B, KB, MB, GB, TB; changed by the View menu
  int vl;          // log verbosity
  int db;          // diagnostic switches
  int sq;          // 1: the scan reads its folders on one thread
  std::string mf;  // font face
  std::string iv;  // picture viewer program, empty when absent
  int winver = 0;
  int highdrive = 0;
  uint32_t color[16] = {};  // slice colours, 0x00BBGGRR
};

// What start-up does with a setting whose stored value is missing or unusable.
enum class SettingUse {
  kWriteBack,     // the default is used and written, so the user finds it to edit
  kOnlyRead,      // the default is used; the value stays absent until the user adds it
  kNeverWritten,  // our own switch, read after all the others and never written
};

struct SettingInfo {
  const char* name;
  bool is_dword;  // a REG_DWORD, else a REG_SZ string
  int dword_default;
  const char* text_default;
  SettingUse use;
  int Settings::*dword = nullptr;
  std::string Settings::*text = nullptr;
};

constexpr SettingInfo dword_setting(const char* name, int Settings::*field, int fallback, SettingUse use) {
  return SettingInfo{name, true, fallback, "", use, field, nullptr};
}
constexpr SettingInfo text_setting(const char* name, std::string Settings::*field, const char* fallback,
                                   SettingUse use) {
  return SettingInfo{name, false, 0, fallback, use, nullptr, field};
}

// In the order start-up reads them. tests/e2e/test_first_start.sh reads the rows of this
// table, one to a line.
// clang-format off
inline constexpr SettingInfo kSettingTable[] = {
    dword_setting("xo", &Settings::xo,  10, SettingUse::kWriteBack),
    dword_setting("yo", &Settings::yo,  10, SettingUse::kWriteBack),
    dword_setting("xs", &Settings::xs, 700, SettingUse::kWriteBack),
    dword_setting("ys", &Settings::ys, 400, SettingUse::kWriteBack),
    dword_setting("ft", &Settings::ft,   1, SettingUse::kWriteBack),
    dword_setting("tm", &Settings::tm,   3, SettingUse::kWriteBack),
    dword_setting("ud", &Settings::ud,   1, SettingUse::kWriteBack),
    dword_setting("un", &Settings::un,   2, SettingUse::kWriteBack),
    dword_setting("vl", &Settings::vl,   0, SettingUse::kWriteBack),
    dword_setting("db", &Settings::db,   0, SettingUse::kOnlyRead),
    text_setting("mf",  &Settings::mf, "Tahoma", SettingUse::kWriteBack),
    text_setting("iv",  &Settings::iv, "",       SettingUse::kOnlyRead),
    dword_setting("sq", &Settings::sq,   0, SettingUse::kNeverWritten),
};
// clang-format on

inline Settings::Settings() {
  for (const SettingInfo& s : kSettingTable) {
    if (s.is_dword) {
      this->*s.dword = s.dword_default;
    } else {
      this->*s.text = s.text_default;
    }
  }
}

}  // namespace kelvane
