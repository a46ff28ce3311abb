#include "tuning.h"

#include <cmath>
#include <limits>

namespace vna::sim {

namespace {

// The frequency plan ends at 1630 MHz; images above it are never the test
// signal, and without this bound a far image can agree with both words.
constexpr double kHighestImage = 1650;

}  // namespace

bool ParseHexWord(const char* digits, uint32_t& word) {
  uint32_t w = 0;
  for (int i = 0; i < 8; ++i) {
    const char c = digits[i];
    uint32_t d;
    if (c >= '0' && c <= '9') {
      d = static_cast<uint32_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      d = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    w = w * 16 + d;
  }
  word = w;
  return true;
}

double WordFrequency(uint32_t word, double clock) { return word / 4294967296.0 * clock; }

TwoWordFrequency DecodeTwoWords(uint32_t word1, uint32_t word2, double clock1, double clock2,
                                double offset) {
  const double x1 = word1 / 4294967296.0;
  const double x2 = word2 / 4294967296.0;
  TwoWordFrequency best;
  best.mismatch = std::numeric_limits<double>::infinity();
  // A sampled output at x of the clock also appears at n - x and n + x; the
  // program folds ratios up to 4.5 clocks.
  for (int n = 0; n <= 5; ++n) {
    for (int sign = -1; sign <= 1; sign += 2) {
      const double ratio = n + sign * x1;
      if (ratio <= 0 || ratio > 4.5) continue;
      const double f1 = ratio * clock1;
      if (f1 > kHighestImage) continue;
      const double r2 = (f1 + offset) / clock2;
      const double folded = std::fabs(r2 - std::round(r2));
      const double mismatch = std::fabs(folded - x2) * clock2;
      if (mismatch < best.mismatch) {
        best.mismatch = mismatch;
        best.f1 = f1;
      }
    }
  }
  return best;
}

}  // namespace vna::sim
