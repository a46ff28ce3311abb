// The frequency plan, its lookup table and the oscillator band rule.
#include <gtest/gtest.h>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "shell/state.h"

namespace vna {
namespace {

// The plan tables as the program starts: every test here reads them as if
// it were the first to build them, whatever ran before it in this process.
void FreshPlanTables() {
  for (int i = 0; i < kPlanSize; ++i) {
    freqplan_bp[i] = freqplan_code[i] = 0;
    freqplan_default_bp[i] = freqplan_default_code[i] = 0;
  }
  for (int& code : freq_mult_table) code = 0;
}

TEST(FreqPlan, LookupTableAtTheSegmentEdges) {
  FreshPlanTables();
  MaxFreqUHF = 1200;
  InitFreqPlan();
  EXPECT_EQ(format, 25);
  EXPECT_EQ(clk_intervals, 23);
  EXPECT_DOUBLE_EQ(diag_freq_offset, 0.02);
  struct Case {
    int mhz, code;
  };
  const Case cases[] = {{0, 461},    {39, 461},   {40, 428},  {64, 428},  {65, 461},  {307, 461},
                        {308, 460},  {384, 460},  {385, 461}, {584, 461}, {585, 329}, {709, 329},
                        {710, 362},  {839, 362},  {840, 428}, {939, 428}, {940, 461}, {1214, 461},
                        {1215, 393}, {1379, 393}, {1380, 0},  {1629, 0},  {1999, 0}};
  for (const Case& c : cases) EXPECT_EQ(freq_mult_table[c.mhz], c.code) << c.mhz << " MHz";
}

TEST(FreqPlan, HigherMaximumWritesTheNextSegmentAndAShorterPlanLeavesIt) {
  MaxFreqUHF = 1300;
  InitFreqPlan();
  EXPECT_EQ(freq_mult_table[1380], 427);
  EXPECT_EQ(freq_mult_table[1629], 427);
  EXPECT_EQ(freq_mult_table[1630], 0);
  // The table is never cleared: a shorter build leaves what the longer wrote.
  MaxFreqUHF = 1200;
  InitFreqPlan();
  EXPECT_EQ(freq_mult_table[1380], 427);
  EXPECT_EQ(freq_mult_table[1379], 393);
}

TEST(FreqPlan, Model7306LeavesEverythingAlone) {
  FreshPlanTables();
  model7306 = 1;
  format = 7;
  freq_mult_table[100] = 99;
  freqplan_code[0] = 0;
  InitFreqPlan();
  EXPECT_EQ(format, 7);
  EXPECT_EQ(freq_mult_table[100], 99);
  EXPECT_EQ(freqplan_code[0], 0);
  model7306 = 0;
}

TEST(FreqPlan, LoadedPlanNeverWritesOutsideTheTable) {
  MaxFreqUHF = 1200;
  InitFreqPlan();
  // A plan as a damaged calibration file could hold: a negative start, a
  // segment running past 1999 MHz, and no end mark before the last entry.
  for (int i = 0; i < kPlanSize; ++i) {
    freqplan_bp[i] = 100 * i - 50;
    freqplan_code[i] = 300 + i;
  }
  freqplan_bp[13] = 1250;
  freqplan_bp[14] = 5000;
  BuildFreqLookup();
  EXPECT_EQ(freq_mult_table[0], 300);
  EXPECT_EQ(freq_mult_table[49], 300);
  EXPECT_EQ(freq_mult_table[50], 301);
  EXPECT_EQ(freq_mult_table[1250], 313);
  EXPECT_EQ(freq_mult_table[1999], 313);
}

TEST(FreqPlan, CopyTakesEntriesZeroToN) {
  InitFreqPlan();
  freqplan_bp[3] = freqplan_code[3] = freqplan_bp[4] = freqplan_code[4] = -1;
  CopyFreqPlan(3);
  EXPECT_EQ(freqplan_bp[3], 308);
  EXPECT_EQ(freqplan_code[3], 460);
  EXPECT_EQ(freqplan_bp[4], -1);
}

// Every band of the second oscillator: both edges as stored, and the rule
// around them (an edge itself belongs to oscillator 1).
TEST(OscBands, EveryBandAndItsEdges) {
  struct Band {
    double lo, hi;
  };
  const Band kBands[42] = {{},           {0.1, 60},    {99, 110},    {148.5, 160},   {198, 220},
                           {248, 255},   {272, 278},   {297.5, 304}, {320, 330},     {347, 360},
                           {373, 378},   {397.5, 410}, {423, 429},   {446.5, 460},   {470, 480},
                           {496, 510},   {545, 555},   {570, 580},   {11595, 11605}, {620, 630},
                           {645, 655},   {695, 705},   {745, 755},   {770, 780},     {795, 805},
                           {820, 830},   {845, 855},   {870, 880},   {895, 905},     {920, 930},
                           {945, 955},   {970, 980},   {995, 1003},  {1020, 1028},   {1045, 1055},
                           {1070, 1080}, {1145, 1155}, {1190, 1205}, {1220, 1230},   {1245, 1255},
                           {1270, 1280}, {1295, 1305}};
  InitOscBands();
  ASSERT_EQ(osc_band_count, 41);
  two_osc = 2;
  osc_manual = 0;
  MyVar1 = 0;
  ddsclk1 = 50;
  ddsclk2 = 49.152;
  for (int i = 1; i <= 41; ++i) {
    SCOPED_TRACE("band " + std::to_string(i));
    EXPECT_DOUBLE_EQ(osc_band_lo[i], kBands[i].lo);
    EXPECT_DOUBLE_EQ(osc_band_hi[i], kBands[i].hi);
    const struct {
      double mhz;
      int osc;
    } probes[] = {{kBands[i].lo, 1}, {(kBands[i].lo + kBands[i].hi) / 2, 2}, {kBands[i].hi, 1}};
    for (const auto& p : probes) {
      OSC = p.osc == 1 ? 2 : 1;  // so that every probe has to switch
      freq = p.mhz;
      SelectOscBand();
      EXPECT_EQ(OSC, p.osc) << p.mhz << " MHz";
    }
  }
  OSC = 1;
}

// SelectOscBand without an instrument: SelectOsc switches the clocks and
// writes to a closed port, which fails without effect.
class OscChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    InitOscBands();
    two_osc = 2;
    osc_manual = 0;
    MyVar1 = 0;
    ddsclk1 = 50;
    ddsclk2 = 49.152;
    DDS_Clk = ddsclk1;
    OSC = 1;
  }
};

TEST_F(OscChoice, BandsPickTheSecondOscillatorStrictlyInside) {
  struct Case {
    double mhz;
    int osc;
  };
  const Case cases[] = {{0.05, 1},  {0.1, 1}, {0.2, 2},  {59.9, 2}, {60, 1},   {99, 1},
                        {100, 2},   {110, 1}, {150, 2},  {300, 2},  {304, 1},  {600, 1},
                        {595.5, 1}, {604, 1}, {1000, 2}, {1003, 1}, {1200, 2}, {1210, 1}};
  for (const Case& c : cases) {
    freq = c.mhz;
    SelectOscBand();
    EXPECT_EQ(OSC, c.osc) << c.mhz << " MHz";
    EXPECT_DOUBLE_EQ(DDS_Clk, c.osc == 1 ? 50 : 49.152) << c.mhz << " MHz";
  }
}

TEST_F(OscChoice, ManualSingleOscillatorAndDiagnosticValueKeepTheirOwn) {
  freq = 100;
  osc_manual = 1;
  SelectOscBand();
  EXPECT_EQ(OSC, 1);
  osc_manual = 0;
  two_osc = 0;
  SelectOscBand();
  EXPECT_EQ(OSC, 1);
  two_osc = 2;
  SelectOscBand();
  EXPECT_EQ(OSC, 2);
  MyVar1 = 0.5;
  SelectOscBand();
  EXPECT_EQ(OSC, 1);
}

TEST(FreqPlan, DiagnosticOverlayRowsAndEndMark) {
  FreshPlanTables();
  MaxFreqUHF = 1200;
  model7306 = 0;
  for (int i = 0; i < kPlanSize; ++i) freqplan_bp[i] = freqplan_code[i] = 0;  // as at start
  InitFreqPlan();
  // Entries after the default plan's end as a fresh start leaves them.
  for (int i = 13; i < kPlanSize; ++i) freqplan_bp[i] = freqplan_code[i] = 0;
  model_uhf = 1;
  DIAGMODE = 1;
  graph_left = 10;
  graph_bottom = 300;
  testhook::ClearLogs();
  ShowFreqPlan();
  std::vector<std::string> rows(3);
  std::string end_mark;
  for (const auto& p : testhook::Prints()) {
    if (p.text == "  //23621") {
      end_mark = std::to_string(p.x) + "," + std::to_string(p.y);
      continue;
    }
    ASSERT_EQ((p.y - 260) % 15, 0);
    rows[(p.y - 260) / 15] += p.text;
  }
  EXPECT_EQ(rows[0],
            "0 =(14 ,13 )  40 =(13 ,12 )  65 =(14 ,13 )  308 =(14 ,12 )  385 =(14 ,13 )  "
            "585 =(10 ,9 )  710 =(11 ,10 )  ");
  EXPECT_EQ(rows[1], "840 =(13 ,12 )  940 =(14 ,13 )  1215 =(12 ,9 )  1380 =(13 ,11 )  ");
  EXPECT_EQ(rows[2], "");
  EXPECT_EQ(end_mark, "30,290");  // after the third row, which is empty
  // Outside diagnostic mode, or on the single-DDS model, nothing.
  testhook::ClearLogs();
  DIAGMODE = 0;
  ShowFreqPlan();
  ShowOscBands();
  EXPECT_TRUE(testhook::Prints().empty());
}

}  // namespace
}  // namespace vna
