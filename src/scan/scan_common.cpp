#include "scan/scan_common.h"

#include <algorithm>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "instrument/serial_link.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

void StoredList::Take() {
  points_ = Numscanpts;
  const int n = std::clamp(points_ + 1, 0, kScanArraySize);
  freq_.assign(list_, list_ + n);
}

void StoredList::Restore() const {
  Numscanpts = points_;
  std::copy(freq_.begin(), freq_.end(), list_);
}

bool WithinCalibration(double f) {
  constexpr double kOneHertz = 1e-6;  // MHz
  return f <= cal_end_freq + kOneHertz;
}

void NoReferenceText() {
  MoveTo(main_win, 100, 200);
  PrintText(main_win, "    ****   There is no reference signal from the VNA at " + NumStr(freq) +
                          " MHz  **** //89237   ");
}

void SendLoopCounterReset() {
  std::string command = "Y";
  for (int b : {37, 100, 41, 99, 26, 127}) command += static_cast<char>(b);
  SendData(command, 7);
}

void CloseSmithCharts(bool focus_main) {
  if (smith_open != 0 || smith_win.IsOpen()) {
    smith_open = 0;
    smith_closed = 1;
    focus_win = 5;
    CloseWindow(smith_win);
    if (smith2_open != 0 || smith2_win.IsOpen()) {
      smith2_open = 0;
      smith2_closed = 1;
      CloseWindow(smith2_win);
    }
  }
  if (focus_main) FocusMainWindow();
}

}  // namespace vna
