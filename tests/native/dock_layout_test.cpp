// Docking rules of the toolbar: which side a drop selects, the room bar and client get, and
// where a floating bar's window goes.
#include "frame/dock_layout.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(DockLayout, DropNearAnEdgeDocksThereElsewhereFloats) {
  const PixelRect client{100, 50, 780, 450};  // screen coordinates
  EXPECT_EQ(dock_side_for_drop(client, 400, 52), DockSide::top);
  EXPECT_EQ(dock_side_for_drop(client, 400, 440), DockSide::bottom);
  EXPECT_EQ(dock_side_for_drop(client, 104, 250), DockSide::left);
  EXPECT_EQ(dock_side_for_drop(client, 770, 250), DockSide::right);
  // Just outside the frame still counts; the middle, or far outside, floats.
  EXPECT_EQ(dock_side_for_drop(client, 80, 250), DockSide::left);
  EXPECT_EQ(dock_side_for_drop(client, 400, 30), DockSide::top);
  EXPECT_EQ(dock_side_for_drop(client, 440, 250), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, 1000, 250), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, 60, 250), DockSide::floating);
  // In a corner the nearer edge wins, top first on a tie.
  EXPECT_EQ(dock_side_for_drop(client, 103, 60), DockSide::left);
  EXPECT_EQ(dock_side_for_drop(client, 105, 55), DockSide::top);
}

TEST(DockLayout, EachEdgeReachesThirtyOnePixelsEitherSide) {
  const PixelRect client{100, 50, 780, 450};  // edges at x 100 and 779, y 50 and 449
  const struct {
    int x, y;
    DockSide side;
  } cases[] = {{440, 19, DockSide::top},       {440, 18, DockSide::floating},  {440, 81, DockSide::top},
               {440, 82, DockSide::floating},  {440, 480, DockSide::bottom},   {440, 481, DockSide::floating},
               {440, 418, DockSide::bottom},   {440, 417, DockSide::floating}, {69, 250, DockSide::left},
               {68, 250, DockSide::floating},  {131, 250, DockSide::left},     {132, 250, DockSide::floating},
               {810, 250, DockSide::right},    {811, 250, DockSide::floating}, {748, 250, DockSide::right},
               {747, 250, DockSide::floating}, {68, 18, DockSide::floating}};
  for (const auto& c : cases) EXPECT_EQ(dock_side_for_drop(client, c.x, c.y), c.side) << c.x << "," << c.y;
}

TEST(DockLayout, ReachPixelsPastTheClientFloatsEvenOnAnotherEdgesLine) {
  // A drop on an edge's line docks there only within reach of the client: it floats from reach
  // pixels past the client's bottom or right (both exclusive), and from reach + 1 pixels before
  // its top or left; one pixel nearer it docks on the edge whose line it is on.
  const PixelRect client{100, 50, 780, 450};
  EXPECT_EQ(dock_side_for_drop(client, client.left, client.bottom + kDockReach), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, client.left, client.bottom + kDockReach - 1), DockSide::left);
  EXPECT_EQ(dock_side_for_drop(client, client.right + kDockReach, client.top), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, client.right + kDockReach - 1, client.top), DockSide::top);
  EXPECT_EQ(dock_side_for_drop(client, client.left, client.top - kDockReach - 1), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, client.left, client.top - kDockReach), DockSide::left);
  EXPECT_EQ(dock_side_for_drop(client, client.left - kDockReach - 1, client.top), DockSide::floating);
  EXPECT_EQ(dock_side_for_drop(client, client.left - kDockReach, client.top), DockSide::top);
}

TEST(DockLayout, BarTakesItsSideAndTheClientTheRestAboveTheStatusBar) {
  // 680 x 320 client, status bar 20, horizontal bar 27 high, vertical bar 28 wide.
  DockLayout l = dock_layout(680, 320, DockSide::top, 27, 20);
  EXPECT_EQ(l.bar, (PixelRect{0, 0, 682, 27}));
  EXPECT_EQ(l.client, (PixelRect{0, 27, 680, 300}));
  l = dock_layout(680, 320, DockSide::bottom, 27, 20);
  EXPECT_EQ(l.bar, (PixelRect{0, 273, 682, 300}));
  EXPECT_EQ(l.client, (PixelRect{0, 0, 680, 273}));
  l = dock_layout(680, 320, DockSide::left, 28, 20);
  EXPECT_EQ(l.bar, (PixelRect{0, 0, 28, 300}));
  EXPECT_EQ(l.client, (PixelRect{28, 0, 680, 300}));
  l = dock_layout(680, 320, DockSide::right, 28, 20);
  EXPECT_EQ(l.bar, (PixelRect{652, 0, 680, 300}));
  EXPECT_EQ(l.client, (PixelRect{0, 0, 652, 300}));
  // Floating or hidden, the bar takes nothing.
  for (const DockLayout& none :
       {dock_layout(680, 320, DockSide::floating, 27, 20), dock_layout(680, 320, DockSide::left, 0, 20)}) {
    EXPECT_TRUE(none.bar.empty());
    EXPECT_EQ(none.client, (PixelRect{0, 0, 680, 300}));
  }
  // A frame smaller than its bars gives no negative rectangles.
  l = dock_layout(20, 30, DockSide::left, 28, 40);
  EXPECT_EQ(l.client.width(), 0);
  EXPECT_EQ(l.client.height(), 0);
  EXPECT_GE(l.bar.width(), 0);
}

TEST(DockLayout, FloatingBarKeepsItsGrabUnderThePointerAndItsCaptionOnScreen) {
  const PixelRect insets{3, 20, 3, 3};
  const PixelRect work{0, 0, 1280, 1024};
  // Grabbed 10, 5 from its corner: the corner lands 10, 5 before the drop point.
  EXPECT_EQ(floating_client_rect(400, 600, 10, 5, 680, 27, insets, work), (PixelRect{390, 595, 1070, 622}));
  // A grab beyond the new size (a tall vertical bar) is cut to it.
  EXPECT_EQ(floating_client_rect(900, 600, 10, 200, 680, 27, insets, work).top, 600 - 26);
  // Taken by the caption (negative grab), the caption stays under the pointer.
  EXPECT_EQ(floating_client_rect(900, 600, 10, -8, 300, 27, insets, work).top, 608);
  // Near the top-left of the screen the window is moved in so its caption stays reachable.
  const PixelRect corner = floating_client_rect(2, 2, 10, 5, 300, 27, insets, work);
  EXPECT_EQ(corner.left, 3);
  EXPECT_EQ(corner.top, 20);
  // Near the bottom-right it is moved back onto the work area, keeping its size.
  const PixelRect far = floating_client_rect(1279, 1023, 0, 0, 300, 27, insets, work);
  EXPECT_EQ(far.right, 1277);
  EXPECT_EQ(far.bottom, 1021);
  EXPECT_EQ(far.width(), 300);
}

}  // namespace
}  // namespace kelvane
