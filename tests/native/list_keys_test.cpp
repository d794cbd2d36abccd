#include "views/list_keys.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

constexpr unsigned kBack = 0x08, kReturn = 0x0D, kDelete = 0x2E, kF5 = 0x74;

TEST(ListKeys, EnterOpensTheSelectionBackspaceGoesUpWhereThereIsADotDotRow) {
  using A = ListKeyAction;
  // Enter: any selected row, in either mode; without a selection the frame keeps the key.
  EXPECT_EQ(list_key_action(kReturn, kListFiles, false, true, 0), A::kOpen);
  EXPECT_EQ(list_key_action(kReturn, kListFiles, false, true, 1), A::kOpen);
  EXPECT_EQ(list_key_action(kReturn, kListDrives, false, true, 0), A::kOpen);
  EXPECT_EQ(list_key_action(kReturn, kListFiles, false, false, 0), A::kNone);
  // Backspace: selection or not, but only below a drive root and never in the drive list.
  EXPECT_EQ(list_key_action(kBack, kListFiles, false, false, 0), A::kUp);
  EXPECT_EQ(list_key_action(kBack, kListFiles, false, true, 0), A::kUp);
  EXPECT_EQ(list_key_action(kBack, kListFiles, false, true, 1), A::kNone);
  EXPECT_EQ(list_key_action(kBack, kListDrives, false, true, 0), A::kNone);
  // During a scan neither acts; other keys are not this list's.
  EXPECT_EQ(list_key_action(kReturn, kListFiles, true, true, 0), A::kNone);
  EXPECT_EQ(list_key_action(kBack, kListFiles, true, true, 0), A::kNone);
  EXPECT_EQ(list_key_action(kDelete, kListFiles, false, true, 0), A::kNone);
  EXPECT_EQ(list_key_action(kF5, kListFiles, false, true, 0), A::kNone);
}

}  // namespace
}  // namespace kelvane
