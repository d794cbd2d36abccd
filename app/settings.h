#pragma once
// Reading the settings: the colour file, the drive rule and the registry's DWORD values.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/settings.h"

namespace kelvane {

// The colour file beside a program: the program's extension (from the last '.' of its file
// name) becomes ".cfg"; a name without a dot gets ".cfg" appended. A dot in a folder name
// never counts, so C:\my.tools\kelvane reads C:\my.tools\kelvane.cfg.
std::string colour_file_path(const std::string& program_path);

// 1 when the upper-cased first character of path is 'H' or later (drives H: to Z: and
// network paths, which begin with a backslash), else 0.
int high_drive(const std::string& path);

// The colour table from the text of a colour file (as read in text mode). The text is taken
// in pieces of at most 254 characters, each ending at a line end or where the piece is full.
// Colours land in order in the first 16 slots; the rest stay as they are. Returns the number
// of colour lines found (all of them, also those past the sixteenth).
int parse_colours(std::string_view text, uint32_t (&color)[16]);

// The table used when the colour file is missing: greys from 0xF0F0F0 down to black.
void fill_greys(uint32_t (&color)[16]);

// One DWORD setting of the registry key.
struct DwordSetting {
  const char* name;
  int Settings::*field;
  int fallback;
  bool write_back;  // a missing value gets its default stored (db never does)
};

// The ten DWORD settings in the order they are read.
extern const DwordSetting kDwordSettings[10];

// Our own DWORD read after those: the scan's sequential mode (sq). Never written back.
extern const DwordSetting kSequentialScan;

// What a registry read of a DWORD gives: the value, or -1 when it is not stored as a 4-byte
// REG_DWORD (type 4). A value with the top bit set comes back negative and counts as missing.
int registry_dword_value(unsigned long type, unsigned long size, uint32_t raw);

// Puts a read result (negative: missing or unusable) into settings; true when the default
// was used and has to be written back to the registry.
bool apply_dword(Settings& settings, const DwordSetting& setting, int read);

}  // namespace kelvane
