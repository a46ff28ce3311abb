// Values of the instrument's protocol shared by its command handlers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace vna::sim {

// Frequency offsets of the two-multiplier model's second DDS, in units of
// 1e-8 MHz as the version text gives them ("dfr1=", "dfr2=").
constexpr uint32_t kOffset1 = 0x03E153;
constexpr uint32_t kOffset2 = 0x03F28F;
constexpr double kUhfClock1 = 50.0, kUhfClock2 = 49.152;  // MHz
constexpr double kVhfClock = 400.0;                       // MHz
constexpr uint8_t kAck = 0x06;                            // answer to a frequency-only "E"
constexpr int kBandScanEnd = 30117;

// Consumes one use of a counted fault.
inline bool Take(int& count) {
  if (count == 0) return false;
  if (count > 0) --count;
  return true;
}

// A two-byte reply, high byte first.
inline std::string TwoBytes(long value) {
  const long v = std::clamp(value, 0L, 65535L);
  return std::string{static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

}  // namespace vna::sim
