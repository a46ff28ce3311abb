// Reply layout, checksum and the folding of the two-multiplier words.
#include <gtest/gtest.h>

#include <cmath>

#include "files/settings.h"
#include "instrument/frequency_programming.h"
#include "instrument/measurement_reply.h"
#include "shell/state.h"

namespace vna {
namespace {

TEST(PointReply, ChecksumIsTheWordSumModulo65536) {
  int bytes[kReplyBytes] = {};
  // Words summing to 70000: 65535 + 4465.
  bytes[4] = 0xFF, bytes[5] = 0xFF;
  bytes[6] = 4465 / 256, bytes[7] = 4465 % 256;
  EXPECT_EQ(ReplyWordSum(bytes), 70000);
  SetReplyChecksum(bytes);
  EXPECT_EQ(256 * bytes[70] + bytes[71], 4464);
  EXPECT_TRUE(ReplyChecksumOk(bytes));
  bytes[71] ^= 1;
  EXPECT_FALSE(ReplyChecksumOk(bytes));

  int zeros[kReplyBytes] = {};
  EXPECT_TRUE(ReplyChecksumOk(zeros));  // matches, yet never analysed (sum 0)
}

TEST(PointReply, FieldsAreBigEndian) {
  int bytes[kReplyBytes] = {};
  bytes[0] = 0x80, bytes[1] = 0x01, bytes[2] = 0x02, bytes[3] = 0x03;
  bytes[4 + 2 * 32] = 0x12, bytes[5 + 2 * 32] = 0x34;
  bytes[4] = 0xAB, bytes[5] = 0xCD;
  EXPECT_EQ(ReplyTuningWord(bytes), static_cast<int32_t>(0x80010203u));
  EXPECT_EQ(ReplyAdcWord(bytes, 0), 0xABCD);
  EXPECT_EQ(ReplyAdcWord(bytes, 32), 0x1234);
}

TEST(PointReply, NyquistFoldingAndTheWord) {
  const struct {
    double x, folded;
    bool out;
  } cases[] = {{0.2, 0.2, false},  {0.5, 0.5, false}, {0.7142857, 0.2857143, false},
               {1.2, 0.2, false},  {1.7, 0.3, false}, {2.25, 0.25, false},
               {3.6, 0.4, false},  {4.4, 0.4, false}, {4.5, 4.5, true},
               {-0.3, -0.3, false}};
  for (const auto& c : cases) {
    bool out = false;
    EXPECT_NEAR(FoldNyquist(c.x, out), c.folded, 1e-9) << c.x;
    EXPECT_EQ(out, c.out) << c.x;
  }
  EXPECT_EQ(RatioWord(0.5), 0x7FFFFFFFu);
  EXPECT_EQ(RatioWord(4.5), 0x7FFFFFFFu);
  EXPECT_EQ(RatioWord(0.25), 0x40000000u);
  EXPECT_EQ(RatioWord(-0.25), ~0xC0000000u);  // the complement of the negative word
}

TEST(PointReply, MultiplierPairsTheCommandCanCarry) {
  EXPECT_TRUE(ValidMultiplierPair(5, 20));
  EXPECT_TRUE(ValidMultiplierPair(14, 13));
  EXPECT_FALSE(ValidMultiplierPair(0, 0));
  EXPECT_FALSE(ValidMultiplierPair(9, 25));
  EXPECT_FALSE(ValidMultiplierPair(4, 13));
  EXPECT_FALSE(ValidMultiplierPair(21, 13));
}

TEST(PointReply, ProgrammableFrequencies) {
  min_freq = 0.005;
  maximumfreq = 1200;
  const struct {
    double asked, programmed;
  } cases[] = {{100, 100},       {0.005, 0.005},    {0.001, 0.005}, {-7, 0.005},
               {1200, 1200},     {1200.5, 1200},    {1e300, 1200},  {std::nan(""), 0.005},
               {INFINITY, 1200}, {-INFINITY, 0.005}};
  for (const auto& c : cases) EXPECT_EQ(ProgrammableFreq(c.asked), c.programmed) << c.asked;
  // Before the model decision there is no upper limit yet.
  maximumfreq = 0;
  EXPECT_EQ(ProgrammableFreq(5000), 5000);
  EXPECT_EQ(ProgrammableFreq(-1), 0.005);
}

}  // namespace
}  // namespace vna
