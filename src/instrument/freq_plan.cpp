#include "instrument/freq_plan.h"

#include <algorithm>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

struct PlanEntry {
  int bp;    // MHz where the segment starts
  int code;  // 32 x first multiplier + second; 0 ends the plan
};
constexpr PlanEntry kDefaultPlan[] = {
    {0, 461},   {40, 428},  {65, 461},   {308, 460},  {385, 461}, {585, 329}, {710, 362},
    {840, 428}, {940, 461}, {1215, 393}, {1380, 427}, {1630, 0},  {1650, 0},
};
constexpr int kDefaultPlanLast = 12;

struct Band {
  double lo, hi;
};
// Band 18 lies far above both instruments' range, so 595..605 MHz stays on
// oscillator 1.
constexpr Band kOscBands[] = {
    {0.1, 60},    {99, 110},    {148.5, 160}, {198, 220},   {248, 255},   {272, 278},
    {297.5, 304}, {320, 330},   {347, 360},   {373, 378},   {397.5, 410}, {423, 429},
    {446.5, 460}, {470, 480},   {496, 510},   {545, 555},   {570, 580},   {11595, 11605},
    {620, 630},   {645, 655},   {695, 705},   {745, 755},   {770, 780},   {795, 805},
    {820, 830},   {845, 855},   {870, 880},   {895, 905},   {920, 930},   {945, 955},
    {970, 980},   {995, 1003},  {1020, 1028}, {1045, 1055}, {1070, 1080}, {1145, 1155},
    {1190, 1205}, {1220, 1230}, {1245, 1255}, {1270, 1280}, {1295, 1305},
};
constexpr int kOscBandCount = sizeof(kOscBands) / sizeof(kOscBands[0]);
static_assert(kOscBandCount == 41);

}  // namespace

void InitFreqPlan() {
  if (model7306 == 1) return;
  format = 25;
  for (int i = 0; i <= kDefaultPlanLast; ++i) {
    freqplan_default_bp[i] = kDefaultPlan[i].bp;
    freqplan_default_code[i] = kDefaultPlan[i].code;
  }
  CopyFreqPlan(kDefaultPlanLast);
  BuildFreqLookup();
  InitOscBands();
  diag_freq_offset = 0.02;
}

void CopyFreqPlan(int n) {
  n = std::min(n, kPlanSize - 1);
  for (int i = 0; i <= n; ++i) {
    freqplan_bp[i] = freqplan_default_bp[i];
    freqplan_code[i] = freqplan_default_code[i];
  }
}

void BuildFreqLookup() {
  // A plan loaded from a calibration file may hold anything: the segments are
  // cut at both ends of the table, and the walk stops at the plan's last entry.
  for (int i = 0; i + 1 < kPlanSize; ++i) {
    const int lo = freqplan_bp[i];
    const int hi = freqplan_bp[i + 1] - 1;
    if (i > 0 && (freqplan_code[i] < 1 || lo > MaxFreqUHF + 100)) break;
    for (int m = std::max(lo, 0); m <= std::min(hi, kFreqTableSize - 1); ++m) {
      freq_mult_table[m] = freqplan_code[i];
    }
  }
}

void InitOscBands() {
  clk_intervals = 23;
  osc_band_count = kOscBandCount;
  for (int i = 0; i < kOscBandCount; ++i) {
    osc_band_lo[i + 1] = kOscBands[i].lo;
    osc_band_hi[i + 1] = kOscBands[i].hi;
  }
}

void SelectOscBand() {
  if (!(two_osc > 0) || osc_manual != 0) return;
  if (MyVar1 > 0.1) {
    if (OSC == 2) SelectOsc(1);
    return;
  }
  int choice = 1;
  const int count = std::min(osc_band_count, kOscBandSize - 1);
  for (int i = 1; i <= count; ++i) {
    if (osc_band_lo[i] < freq && freq < osc_band_hi[i]) choice = 2;
  }
  if (choice != OSC) SelectOsc(choice);
}

void ShowFreqPlan() {
  if (!(model_uhf > 0) || !(DIAGMODE > 0)) return;
  SetTextColor(main_win, RedColor);
  for (int row = 0; row < 3; ++row) {
    MoveTo(main_win, graph_left + 20, graph_bottom - 40 + 15 * row);
    for (int i = 7 * row; i < 7 * row + 7; ++i) {
      const int first = freqplan_code[i] / 32;
      if (first == 0) continue;
      PrintItems(main_win, {freqplan_bp[i], "=(", first, ",", freqplan_code[i] % 32, ")  "});
    }
  }
  PrintItems(main_win, {"  //23621"});
  SetTextColor(main_win, Black);
}

void ShowOscBands() {
  if (!(model_uhf > 0) || !(DIAGMODE > 0)) return;
  const int count = std::min(osc_band_count, kOscBandSize - 1);
  for (int i = 1; i <= count; ++i) {
    MoveTo(main_win, graph_left + 50, graph_top + 2 + 15 * (i - 1));
    PrintItems(main_win, {" ", i, " ", osc_band_lo[i], " ", osc_band_hi[i], "  "});
  }
}

}  // namespace vna
