// The tick offset that lets tests cross the 32-bit wrap of the tick count.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/events.h"

namespace vna {
namespace {

TEST(TickOffset, MovesBothCountsAndDelaysStillEnd) {
  const uint64_t before = TickMs64();
  const uint64_t wrap = (before / 0x100000000ull + 1) * 0x100000000ull;
  SetTickOffset(wrap - 20 - before);  // the 32-bit count wraps 20 ms from now
  const uint32_t low = TickCount32();
  EXPECT_GT(low, 0xFFFFFF00u);
  DelayMs(50);
  EXPECT_LT(TickCount32(), 1000u);
  EXPECT_GE(TickMs64(), wrap + 30);
  SetTickOffset(0);
  EXPECT_LT(TickMs64(), before + 1000);
}

}  // namespace
}  // namespace vna
