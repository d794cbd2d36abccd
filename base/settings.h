#pragma once
// The program's settings as plain data: what the registry and the colour file gave at start.
// CGUI (app/cgui.h) fills them on Windows; every layer and the tests read them directly.
#include <cstdint>
#include <string>

namespace kelvane {

struct Settings {
  int xo = 10;   // top edge of the main window
  int yo = 10;   // left edge of the main window
  int xs = 700;  // right edge
  int ys = 400;  // bottom edge
  int ft = 1;    // flat toolbar
  int tm = 3;    // slice threshold in degrees
  int ud = 1;    // delete to the recycle bin
  int un = 2;    // size unit 0..4 = B, KB, MB, GB, TB; changed by the View menu
  int vl = 0;    // log verbosity
  int db = 0;    // diagnostic switches, never written back
  int sq = 0;    // 1: the scan reads its folders on one thread; never written back
  int winver = 0;
  int highdrive = 0;
  std::string mf = "Tahoma";  // font face
  std::string iv;             // picture viewer program, empty when absent
  uint32_t color[16] = {};    // slice colours, 0x00BBGGRR
};

}  // namespace kelvane
