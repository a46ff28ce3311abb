#include "shell/chart_loops.h"

#include "graph/smith_chart.h"
#include "graph/state.h"
#include "scan/state.h"
#include "tools/stored_scan.h"

namespace vna {

bool DrawsAnew(Window& win, void (*draw)()) {
  const int opens_before = win.instance;
  draw();
  return win.instance != opens_before;
}

void RepeatSmith() {
  do {
    if (!DrawsAnew(smith_win, Smith)) return;
  } while (MeasuredPointsA() > 1 && smith_closed == 0);
}

void RepeatSmith2() {
  do {
    if (!DrawsAnew(smith2_win, Smith_2)) return;
  } while (smith2_closed == 0);
}

}  // namespace vna
