// Turns the text pixel maps beside this file into the bitmap, icon and cursor resources.
// Built with the host compiler during the build; it needs nothing but the standard library.
//
//   pixmap_tool bmp INPUT OUTPUT            16-colour bitmap
//   pixmap_tool ico INPUT OUTPUT            16-colour icon, blank = transparent
//   pixmap_tool cur INPUT OUTPUT HX HY      monochrome cursor with its hot spot
//
// Input: lines starting with '#' are comments; every other line is one row of pixels, one
// character per pixel, all rows of the same length.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The 16 colours of the system palette, in its order, as 0xRRGGBB.
const uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
const char kCodes[] = "krgonpt.dRGYBMCW";  // one letter per palette entry, same order

int colour_of(char c) {
  for (int i = 0; i < 16; ++i)
    if (kCodes[i] == c) return i;
  return -1;  // transparent (icons, cursors)
}

struct Map {
  int width = 0;
  std::vector<std::string> rows;
};

bool read_map(const char* path, Map& map) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << "pixmap_tool: cannot read " << path << "\n";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '#') continue;
    if (line.empty() && map.rows.empty()) continue;
    if (map.rows.empty()) map.width = static_cast<int>(line.size());
    if (static_cast<int>(line.size()) != map.width) {
      std::cerr << "pixmap_tool: " << path << ": row " << map.rows.size() << " is " << line.size()
                << " wide, not " << map.width << "\n";
      return false;
    }
    map.rows.push_back(line);
  }
  if (map.rows.empty() || map.width == 0) {
    std::cerr << "pixmap_tool: " << path << ": no pixels\n";
    return false;
  }
  return true;
}

struct Out {
  std::vector<uint8_t> bytes;
  void u8(unsigned v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void u16(unsigned v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
};

void info_header(Out& o, int width, int height, int bits, int colours, uint32_t image_size) {
  o.u32(40);
  o.u32(static_cast<uint32_t>(width));
  o.u32(static_cast<uint32_t>(height));
  o.u16(1);
  o.u16(static_cast<unsigned>(bits));
  o.u32(0);
  o.u32(image_size);
  o.u32(0);
  o.u32(0);
  o.u32(static_cast<uint32_t>(colours));
  o.u32(0);
}

void palette(Out& o, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t rgb = count == 2 ? (i ? 0xFFFFFF : 0) : kPalette[i];
    o.u8(rgb & 0xFF);
    o.u8((rgb >> 8) & 0xFF);
    o.u8((rgb >> 16) & 0xFF);
    o.u8(0);
  }
}

int stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// 4-bit pixels, bottom row first; transparent pixels become colour 0.
void four_bit_rows(Out& o, const Map& m) {
  const int h = static_cast<int>(m.rows.size());
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(stride(m.width, 4)), 0);
    for (int x = 0; x < m.width; ++x) {
      const int c = colour_of(m.rows[y][x]);
      const int v = c < 0 ? 0 : c;
      row[x / 2] |= static_cast<uint8_t>((x % 2) ? v : (v << 4));
    }
    o.bytes.insert(o.bytes.end(), row.begin(), row.end());
  }
}

// 1-bit rows; bit set where pick() says so.
template <typename Pick>
void one_bit_rows(Out& o, const Map& m, Pick pick) {
  const int h = static_cast<int>(m.rows.size());
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<size_t>(stride(m.width, 1)), 0);
    for (int x = 0; x < m.width; ++x)
      if (pick(m.rows[y][x])) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    o.bytes.insert(o.bytes.end(), row.begin(), row.end());
  }
}

Out make_bmp(const Map& m) {
  const int h = static_cast<int>(m.rows.size());
  Out image;
  four_bit_rows(image, m);
  Out o;
  const uint32_t offset = 14 + 40 + 16 * 4;
  o.u8('B');
  o.u8('M');
  o.u32(offset + static_cast<uint32_t>(image.bytes.size()));
  o.u32(0);
  o.u32(offset);
  info_header(o, m.width, h, 4, 16, static_cast<uint32_t>(image.bytes.size()));
  palette(o, 16);
  o.bytes.insert(o.bytes.end(), image.bytes.begin(), image.bytes.end());
  return o;
}

Out make_icon_or_cursor(const Map& m, bool cursor, int hx, int hy) {
  const int h = static_cast<int>(m.rows.size());
  Out image;
  const int bits = cursor ? 1 : 4;
  const int colours = cursor ? 2 : 16;
  Out pixels;
  if (cursor)
    one_bit_rows(pixels, m, [](char c) { return c == 'W'; });
  else
    four_bit_rows(pixels, m);
  // The mask: set where the screen shows through (a blank in icons; neither black nor white
  // in the monochrome cursor).
  if (cursor)
    one_bit_rows(pixels, m, [](char c) { return c != 'k' && c != 'W'; });
  else
    one_bit_rows(pixels, m, [](char c) { return colour_of(c) < 0; });
  info_header(image, m.width, 2 * h, bits, colours, static_cast<uint32_t>(pixels.bytes.size()));
  palette(image, colours);
  image.bytes.insert(image.bytes.end(), pixels.bytes.begin(), pixels.bytes.end());

  Out o;
  o.u16(0);
  o.u16(cursor ? 2 : 1);
  o.u16(1);
  o.u8(static_cast<unsigned>(m.width));
  o.u8(static_cast<unsigned>(h));
  o.u8(cursor ? 2 : 16);
  o.u8(0);
  o.u16(cursor ? static_cast<unsigned>(hx) : 1);
  o.u16(cursor ? static_cast<unsigned>(hy) : static_cast<unsigned>(bits));
  o.u32(static_cast<uint32_t>(image.bytes.size()));
  o.u32(6 + 16);
  o.bytes.insert(o.bytes.end(), image.bytes.begin(), image.bytes.end());
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: pixmap_tool bmp|ico|cur INPUT OUTPUT [HX HY]\n";
    return 2;
  }
  const std::string kind = argv[1];
  Map map;
  if (!read_map(argv[2], map)) return 1;
  Out out;
  if (kind == "bmp") {
    out = make_bmp(map);
  } else if (kind == "ico") {
    out = make_icon_or_cursor(map, false, 0, 0);
  } else if (kind == "cur" && argc >= 6) {
    out = make_icon_or_cursor(map, true, std::atoi(argv[4]), std::atoi(argv[5]));
  } else {
    std::cerr << "pixmap_tool: unknown kind " << kind << "\n";
    return 2;
  }
  std::ofstream file(argv[3], std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.bytes.data()), static_cast<std::streamsize>(out.bytes.size()));
  return file ? 0 : 1;
}
