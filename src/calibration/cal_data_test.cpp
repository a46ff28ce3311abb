#include "calibration/cal_data_test.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "platform/debug_out.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/point_win.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"

namespace vna {

void TestCalData() {
  cal_test_count = 0;
  if (cal_points < 2) return;  // no interval to test
  const int s = std::max(1, cal_points / 100);
  bool failed = false;
  double e_max = 0, f_fail = 0;
  const int kept = CalinProgress;
  CalinProgress = 0;  // the readings are corrected with the new tables
  OpenWindow(point_win, 0, 0, 700, 200,
             kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax | kWinTopmost,
             " Cal Data Test", PointWinHandler);
  pointwin_run = 1;
  int i = 0;
  do {
    freq = (CalDataA[i].freq + CalDataA[i + 1].freq) / 2;
    ReadPoint_A(0);
    if (ReadingFailed()) {
      // No reading to judge (below 10 MHz the link leaves a missing
      // reference to us): the test ends there, said once. The calibration's
      // own readings are not in question.
      SayReadingFailed(vna_status, " Cal Data Test", "The calibration data could not be checked.");
      break;
    }
    const double e = std::abs(point_Rs - Rstd) / Rstd * 100;
    if (e > e_max && !failed) e_max = e;
    if (e > freq * 0.01 + 5) {
      if (!failed) f_fail = freq;
      failed = true;
    }
    msg_text = NumStr(freq);
    if (DIAGMODE != 0)
      msg_text = " freq=" + NumStr(freq) + "  max err=" + NumStr(e_max) + " %         ";
    if (cal_test_count % 10 != 0) {
      const std::string line = "  Checking Cal Data:  " + msg_text;
      MoveTo(point_win, 50, 50);
      PrintText(point_win, line);
      DebugOutput(line);
    }
    ++cal_test_count;
    i += s;
    PumpEvents();
  } while (i < cal_points - 1 && freq <= CalDataA[cal_points - 2].freq && cal_test_count <= 101);
  CloseWindow(point_win);
  pointwin_run = 0;
  if (failed) {
    const std::string nl = "\r\n";
    MsgBox(&main_win,
           "The measurement of the Standard Resistor between cal points" + nl +
               "is off by more than " + NumStr(e_max) + "% at " + NumStr(f_fail) + " MHz." + nl +
               nl + "This data can be used but it is recommended" + nl +
               "to make the frequency step smaller if you are" + nl +
               "making measurements near or above this frequency.",
           " Warning: Cal step too large", kMbOk, kIconNone, true);
  }
  CalinProgress = kept;
}

}  // namespace vna
