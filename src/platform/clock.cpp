#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace vna {

namespace {
uint64_t g_tick_offset = 0;
int g_year = 0, g_month = 0, g_day = 0;  // the date NowLocal reports; year 0: the clock's
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
  if (g_year != 0) return LocalTime{g_year, g_month, g_day, tm.tm_hour, tm.tm_min, tm.tm_sec};
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void SetLocalDate(int year, int month, int day) {
  g_year = year;
  g_month = month;
  g_day = day;
}

}  // namespace vna
