// Millisecond ticks and the local date and time.
#pragma once

#include <cstdint>

namespace vna {

// Monotonic milliseconds since an arbitrary start; 64 bits, so waits never
// meet a wrap however long the program runs.
uint64_t TickMs64();
// The same count cut to 32 bits, for the few places that store a tick count
// in a file as a signed 32-bit number.
uint32_t TickCount32();
// Moves every tick count on by ms (0 = the true count), so a test can run the
// program as a machine that has been up for weeks, past the 32-bit wrap.
void SetTickOffset(uint64_t ms);

struct LocalTime {
  int year, month, day;  // month 1..12
  int hour, minute, second;
};
LocalTime NowLocal();
// Makes NowLocal report this date (its time of day stays the clock's), so a
// test can run the program on a chosen day; year 0 goes back to the clock.
void SetLocalDate(int year, int month, int day);

}  // namespace vna
