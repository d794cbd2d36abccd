#include "app/settings_loader.h"

#include <iterator>

namespace kelvane {
namespace {

// The colour file is read in pieces of this many characters at most, as a line reader with a
// 255-byte buffer would; a longer line thereby becomes several lines.
constexpr size_t kPiece = 254;

constexpr uint32_t kColourMask = 0x00FFFFFF;

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0x" and at least one hex digit right after it; what follows the digits does not matter.
bool parse_colour_line(std::string_view line, uint32_t& colour) {
  if (line.size() < 3 || line[0] != '0' || line[1] != 'x' || hex_digit(line[2]) < 0) return false;
  uint32_t value = 0;
  for (size_t i = 2; i < line.size() && hex_digit(line[i]) >= 0; ++i)
    value = (value << 4) | static_cast<uint32_t>(hex_digit(line[i]));  // keeps the low 32 bits
  // The top byte has no meaning in a colour; passed on, it would make the painter read the
  // value as a palette index instead of a colour.
  colour = value & kColourMask;
  return true;
}

}  // namespace

std::string colour_file_path(const std::string& program_path) {
  const size_t slash = program_path.find_last_of("\\/");
  const size_t name_start = (slash == std::string::npos) ? 0 : slash + 1;
  const size_t dot = program_path.find_last_of('.');
  if (dot == std::string::npos || dot < name_start) return program_path + ".cfg";
  return program_path.substr(0, dot) + ".cfg";
}

int high_drive(const std::string& path) {
  if (path.empty()) return 0;
  unsigned char first = static_cast<unsigned char>(path[0]);
  if (first >= 'a' && first <= 'z') first = static_cast<unsigned char>(first - 'a' + 'A');
  return first >= 'H' ? 1 : 0;
}

int parse_colours(std::string_view text, uint32_t (&color)[16]) {
  int found = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end_of_line = text.find('\n', pos);
    size_t len = (end_of_line == std::string_view::npos) ? text.size() - pos : end_of_line - pos + 1;
    if (len > kPiece) len = kPiece;
    const std::string_view piece = text.substr(pos, len);
    pos += len;
    if (piece.size() <= 1 || piece[0] == ';' || piece[0] == '[') continue;
    uint32_t colour = 0;
    if (!parse_colour_line(piece, colour)) continue;
    if (found < 16) color[found] = colour;
    ++found;
  }
  return found;
}

void fill_greys(uint32_t (&color)[16]) {
  for (int i = 0; i < 16; ++i) color[i] = 0xF0F0F0u - static_cast<uint32_t>(i) * 0x101010u;
}

int registry_dword_value(unsigned long type, unsigned long size, uint32_t raw) {
  constexpr unsigned long kRegDword = 4;
  if (type != kRegDword || size != 4) return -1;
  return static_cast<int>(raw);
}

void load_settings(Settings& settings, SettingStore& store) {
  const auto put_dword = [&](const SettingInfo& s, int read) {
    if (read >= 0) {
      settings.*s.dword = read;
      return;
    }
    settings.*s.dword = s.dword_default;
    if (s.use == SettingUse::kWriteBack) store.write_dword(s.name, s.dword_default);
  };
  const auto read_first = [](const SettingInfo& s) {
    return s.is_dword && s.use != SettingUse::kNeverWritten;
  };

  int read[std::size(kSettingTable)];
  for (size_t i = 0; i < std::size(kSettingTable); ++i)
    if (read_first(kSettingTable[i])) read[i] = store.read_dword(kSettingTable[i].name);
  for (size_t i = 0; i < std::size(kSettingTable); ++i)
    if (read_first(kSettingTable[i])) put_dword(kSettingTable[i], read[i]);

  for (const SettingInfo& s : kSettingTable) {
    if (s.is_dword) continue;
    std::string text = store.read_text(s.name);
    if (text.empty()) {
      text = s.text_default;
      if (s.use == SettingUse::kWriteBack) store.write_text(s.name, text);
    }
    settings.*s.text = text;
  }

  for (const SettingInfo& s : kSettingTable)
    if (s.is_dword && !read_first(s)) put_dword(s, store.read_dword(s.name));
}

}  // namespace kelvane
