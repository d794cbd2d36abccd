#include "ui/splitter_layout.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Splitter, ColumnZeroKeepsItsWidthAndColumnOneTakesTheRest) {
  const SplitterLayout l = splitter_layout(800, 500, 300, 0);
  EXPECT_EQ(l.pane0, (PixelRect{1, 1, 301, 499}));
  EXPECT_EQ(l.bar, (PixelRect{301, 1, 306, 499}));
  EXPECT_EQ(l.pane1, (PixelRect{306, 1, 799, 499}));
}

TEST(Splitter, NarrowClientShrinksColumnZeroAndNothingGoesNegative) {
  SplitterLayout l = splitter_layout(200, 100, 300, 0);
  EXPECT_EQ(l.pane0.width(), 193);
  EXPECT_EQ(l.pane1.width(), 0);
  l = splitter_layout(3, 3, 300, 0);
  EXPECT_GE(l.pane0.width(), 0);
  EXPECT_GE(l.bar.width(), 0);
  EXPECT_GE(l.pane1.width(), 0);
  EXPECT_GE(l.pane0.height(), 0);
}

TEST(Splitter, DraggingPutsTheBarMiddleUnderThePointer) {
  EXPECT_EQ(splitter_column_for_drag(103, 800, 0), 100);
  EXPECT_EQ(splitter_column_for_drag(-50, 800, 0), 0);
  EXPECT_EQ(splitter_column_for_drag(5000, 800, 0), 793);
}

}  // namespace
}  // namespace kelvane
