#include "graph/redraw.h"

#include "files/settings.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "graph/tdr_plot.h"
#include "graph/text_panels.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/windows.h"
#include "tools/tdr.h"
#include "tools/tdr_frame.h"

namespace vna {

void RedrawGraph() {
  const int saved_smoothing = smoothing;
  if (tdr_mode != 0) {
    DrawTDR();
    PlotStoredTDR();  // with its own point count and feet per sample
    DrawTitle();
    MoveTo(main_win, 10, line2_y);
    PrintText(main_win, scan_stamp + "   ");
    return;
  }
  if (scanloop == 0) {
    DrawGraph();
    return;
  }
  live_data = 0;
  FreqGrid();
  DrawGraph();
  smoothing = 0;
  if (scana_ok == 1 && PortB_on == 0) {
    Scan_A();
  } else if (PortB_on == 1 && scanb_ok == 1) {
    Scan_B();
  }
  smoothing = saved_smoothing;
  live_data = 1;
}

}  // namespace vna
