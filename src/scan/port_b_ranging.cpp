#include "scan/port_b_ranging.h"

#include <cmath>

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "scan/group_delay.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

double gain_phase_offset = 0;

int LoadLevel() {
  return (load_adc_max - load_adc_min) / 2;
}

void AutorangePoint(const std::function<void()>& reread) {
  int level = LoadLevel();
  if (level >= kLoadLevelLow && level <= kLoadLevelHigh) return;
  // Sum of the jumps of the gain steps taken at this point since the offset
  // was last reset; each jump is a phase difference, so it is wrapped on its
  // own before it is added.
  double jumps = 0;
  // A re-read that fails ends the ranging with its status: its words are no
  // level to range on, and the next re-read would fail (and say so) again.
  bool failed = false;
  auto step_gain = [&](int by) {
    const double before = Delta_Phase;
    PortB_Gain += by;
    reread();
    failed = vna_status != 0;
    level = LoadLevel();
    jumps += WrapPhase(Delta_Phase - before);
  };
  auto switch_sensitivity = [&](int sens) {
    PortB_Sens = sens;
    jumps = 0;
    gain_phase_offset = 0;
    reread();
    failed = vna_status != 0;
    level = LoadLevel();
  };
  if (level > kLoadLevelHigh) {
    while (!failed && level > kLoadLevelHigh && PortB_Gain > 1) step_gain(-1);
    if (!failed && level > kLoadLevelHigh && model_uhf == 0 && PortB_Sens == 2) {
      switch_sensitivity(1);
    }
    if (failed) return;
    if (level <= kLoadLevelHigh) gain_phase_offset += jumps;
    jumps = 0;
  }
  if (level < kLoadLevelLow) {
    if (model_uhf == 0 && PortB_Sens == 1) switch_sensitivity(2);
    while (!failed && level < kLoadLevelLow && PortB_Gain < 5) step_gain(+1);
    if (failed) return;
    if (level >= kLoadLevelLow) gain_phase_offset += jumps;
  }
}

void OverloadNotice() {
  if (!(MagLoad > kOverloadMag)) return;
  Window& w = main_win;
  SetTextColor(w, RedColor);
  MoveTo(w, 200, 200);
  PrintItems(w, {" Port B Overload at ", NumStr(freq), " MHz     LoadVal= ", LoadLevel(), "    "});
  SetTextColor(w, Black);
}

AveragingLevels AveragingLevelsFor(double weight) {
  auto level = [weight](int n) { return Rnd(n * weight); };
  return {level(8), level(16), level(32), level(64)};
}

int LevelAveraging(const AveragingLevels& a, double s, int n) {
  if (s < -100 && n < a.a64) {
    n = a.a64;
  } else if (s < -90 && n < a.a32) {
    n = a.a32;
  }
  if (s > -90 && n > a.a32) {
    n = a.a32;
  } else if (s > -80 && n > a.a16) {
    n = a.a8;
  }
  return n;
}

}  // namespace vna
