#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace vna {

namespace {
uint64_t g_tick_offset = 0;
}  // namespace

uint64_t TickMs64() {
  using namespace std::chrono;
  return g_tick_offset +
         static_cast<uint64_t>(
             duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SetTickOffset(uint64_t ms) {
  g_tick_offset = ms;
}

uint32_t TickCount32() {
  return static_cast<uint32_t>(TickMs64());
}

LocalTime NowLocal() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace vna
