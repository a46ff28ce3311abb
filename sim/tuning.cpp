#include "tuning.h"

#include <cmath>
#include <limits>
#include <vector>

namespace vna::sim {

namespace {

// The frequency plan ends at 1630 MHz; images above it are never the test
// signal, and without this bound a far image can agree with both words.
constexpr double kHighestImage = 1650;
constexpr double kTie = 1e-5;  // MHz

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

uint32_t FoldedWord(double mhz, double clock) {
  const double ratio = mhz / clock;
  const double folded = std::fabs(ratio - std::round(ratio));
  const double w = std::round(folded * 4294967296.0);
  return w >= 2147483648.0 ? 0x7FFFFFFFu : static_cast<uint32_t>(w);
}

double WordFrequency(uint32_t word, double clock) {
  return word / 4294967296.0 * clock;
}

bool BandMultipliers(double mhz, int& m1, int& m2) {
  struct Band {
    int from_mhz, m1, m2;
  };
  static const Band kBands[] = {{0, 14, 13},   {40, 13, 12},  {65, 14, 13},  {308, 14, 12},
                                {385, 14, 13}, {585, 10, 9},  {710, 11, 10}, {840, 13, 12},
                                {940, 14, 13}, {1215, 12, 9}, {1380, 13, 11}};
  if (mhz < 0 || mhz >= 1630) return false;
  for (const Band& b : kBands) {
    if (mhz >= b.from_mhz) {
      m1 = b.m1;
      m2 = b.m2;
    }
  }
  return true;
}

TwoWordFrequency DecodeTwoWords(uint32_t word1, uint32_t word2, double clock, int m1, int m2,
                                double offset) {
  const double x1 = word1 / 4294967296.0;
  const double x2 = word2 / 4294967296.0;
  const double clock1 = clock * m1, clock2 = clock * m2;
  struct Image {
    double f, f2, mismatch;
  };
  std::vector<Image> images;
  // A sampled output at x of the clock also appears at n - x and n + x; the
  // program folds ratios up to 4.5 clocks.
  for (int n = 0; n <= 5; ++n) {
    for (int sign = -1; sign <= 1; sign += 2) {
      const double ratio = n + sign * x1;
      if (ratio <= 0 || ratio > 4.5) continue;
      const double f1 = ratio * clock1;
      if (f1 > kHighestImage) continue;
      // The second word's image on the same side of its zone edge as f1 + offset.
      const double r2 = (f1 + offset) / clock2;
      const double n2 = std::round(r2);
      const double f2 = (r2 >= n2 ? n2 + x2 : n2 - x2) * clock2;
      images.push_back({f1, f2, std::fabs(f2 - (f1 + offset))});
    }
  }
  TwoWordFrequency best;
  best.mismatch = std::numeric_limits<double>::infinity();
  for (const Image& im : images) best.mismatch = std::min(best.mismatch, im.mismatch);
  // Images that agree as well as the best one, within the words' resolution.
  bool in_band = false;
  for (const Image& im : images) {
    if (im.mismatch > best.mismatch + kTie) continue;
    int b1 = 0, b2 = 0;
    const bool passes = BandMultipliers(im.f, b1, b2) && b1 == m1 && b2 == m2;
    if (best.f1 == 0 || (passes && !in_band) || (passes == in_band && im.f < best.f1)) {
      best.f1 = im.f;
      best.f2 = im.f2;
      in_band = passes;
    }
  }
  return best;
}

}  // namespace vna::sim
