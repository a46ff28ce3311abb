#include "shell/chart_loops.h"

#include "graph/pending.h"
#include "graph/state.h"
#include "scan/state.h"

namespace vna {
namespace {

// A chart procedure opens its window afresh on every call that draws, so a
// window that was not opened again means the call drew nothing.
template <typename Draw>
bool DrawnAnew(Window& win, Draw draw) {
  const int opens_before = win.instance;
  draw();
  return win.instance != opens_before;
}

}  // namespace

void RepeatSmith() {
  do {
    if (!DrawnAnew(smith_win, Smith)) return;
  } while (scan_npoints > 1 && smith_closed == 0);
}

void RepeatSmith2() {
  do {
    if (!DrawnAnew(smith2_win, Smith_2)) return;
  } while (smith2_closed == 0);
}

}  // namespace vna
