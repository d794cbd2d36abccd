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

// Where the settings are stored (the registry key on Windows, a map in the tests).
class SettingStore {
 public:
  virtual ~SettingStore() = default;
  // The value, or -1 when it is missing or unusable.
  virtual int read_dword(const char* name) = 0;
  // The text, or empty when it is missing, not a string, or empty.
  virtual std::string read_text(const char* name) = 0;
  // Failures are ignored: the default holds for this run and the next start tries again.
  virtual void write_dword(const char* name, int value) = 0;
  virtual void write_text(const char* name, const std::string& value) = 0;
};

// Fills the settings of kSettingTable from the store, writing back the defaults the table says
// to. The DWORDs are all read before any default is written, then come the strings, then our
// own DWORDs.
void load_settings(Settings& settings, SettingStore& store);

// What a registry read of a DWORD gives: the value, or -1 when it is not stored as a 4-byte
// REG_DWORD (type 4). A value with the top bit set comes back negative and counts as missing.
int registry_dword_value(unsigned long type, unsigned long size, uint32_t raw);

}  // namespace kelvane
