// The noise filter command's live rescan: a typed centre of 0.1 MHz or more
// rescans the instrument around it at 1 kHz steps, then the filter cleans
// the new scan.
#include <cmath>

#include "scan/noise_filters.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

testhook::Answer Typed(const std::string& caption, const std::string& text) {
  testhook::Answer a;
  a.caption = caption;
  a.texts = {{1, text}};
  a.press = 2;
  return a;
}

TEST_P(ScanSimModels, RescanAroundATypedCentreThenFilter) {
  Begin();
  Calibrate(13.5, 15, 0.05);
  Sim().SetDut("r=75");
  start_freq = 13.6;
  end_freq = 14.9;
  delta_freq = 0.05;
  dsp_filter = 1;
  Mark();
  testhook::QueueAnswer(Typed("Enter Center Freq (0=Don't rescan)", "14.2"));
  // Above 10 MHz the half-width is at most 1 % of the centre.
  testhook::QueueAnswer(Typed("Scan Half-Width", "0.5"));
  RescanCenter();
  test::SaveMainWindowPng(Png("rescan_filter_1"));
  EXPECT_NEAR(rescan_center, 14.2, 1e-9);
  EXPECT_NEAR(rescan_halfwidth, 0.142, 1e-9);
  EXPECT_NEAR(start_freq, 14.058, 1e-9);
  // 14.342, then moved by the graph's frequency grid to a whole division.
  EXPECT_GE(end_freq, 14.342 - 1e-9);
  EXPECT_LE(end_freq, 14.4);
  EXPECT_EQ(delta_freq, 0.001);
  EXPECT_EQ(Numscanpts, Rnd((end_freq - start_freq) / 0.001) + 1);
  // Measured live: one frequency command per point.
  EXPECT_GE(FreqCommands(SentSince("step1")), Numscanpts);
  EXPECT_EQ(live_data, 1);
  EXPECT_EQ(scan_recalled, 1);
  for (int i = 0; i < Numscanpts; ++i) {
    EXPECT_NEAR(readA_zmag[i], 75, 0.75) << i;
    EXPECT_NEAR(readA_phase[i], 0, 0.02) << i;
  }
}

TEST_P(ScanSimModels, RescanCancelledAtTheHalfWidthChangesNothing) {
  Begin();
  start_freq = 13.6;
  end_freq = 14.9;
  delta_freq = 0.05;
  dsp_filter = 2;
  Mark();
  testhook::QueueAnswer(Typed("Enter Center Freq (0=Don't rescan)", "14.2"));
  testhook::Answer cancel;
  cancel.caption = "Scan Half-Width";
  cancel.press = 3;
  testhook::QueueAnswer(cancel);
  RescanCenter();
  EXPECT_EQ(start_freq, 13.6);
  EXPECT_EQ(end_freq, 14.9);
  EXPECT_EQ(delta_freq, 0.05);
  EXPECT_EQ(FreqCommands(SentSince("step1")), 0);
}

}  // namespace
}  // namespace vna
