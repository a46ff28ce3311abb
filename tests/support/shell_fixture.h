// What the shell's tests start from: the defaults as start-up leaves them on
// the two-multiplier model (Port A mode, no TDR, no diagnostic mode), the
// main window at a known size, and scripted answers for its dialogs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna::test {

// Defaults, then an instrument (or none) of the two-multiplier model, and
// main_win opened at 1024 x 700 with its button bar at y 600.
inline void OpenShell(int instrument, Handler handler) {
  maximumfreq = 1200;
  InitVars();
  min_Zref = 1;
  vna_present = instrument;
  model_uhf = 1;
  PortB_on = 0;
  PortB_cal = 0;
  DIAGMODE = 0;
  dsp_debug = coord_debug = no_cal_comp = 0;
  tdr_mode = 0;
  focus_win = 0;
  WinWidth = 1024;
  WinHeight = 700;
  WinLeft = 0;
  status_y = 600;
  OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu | kWinSizing, "",
             std::move(handler));
}

// The next dialog titled `title`: type these texts, set these check boxes,
// then press a control (0: the close box).
inline void AnswerDialog(const std::string& title, std::vector<std::pair<int, std::string>> texts,
                         int press, std::vector<std::pair<int, bool>> checks = {}) {
  testhook::Answer a;
  a.caption = title;
  a.texts = std::move(texts);
  a.checks = std::move(checks);
  if (press) {
    a.press = press;
  } else {
    a.close_box = true;
  }
  testhook::QueueAnswer(a);
}

}  // namespace vna::test
