#include <gtest/gtest.h>

#include "base/strf.h"

namespace kelvane {

TEST(Strf, FormatsWithoutCutting) {
  const std::string long_name(600, 'x');
  EXPECT_EQ(strf("%s\\%s", "C:", long_name.c_str()).size(), 603u);
  EXPECT_EQ(strf("%lld B", 5368709120LL), "5368709120 B");
}

}  // namespace kelvane
