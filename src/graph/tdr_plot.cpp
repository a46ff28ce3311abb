#include "files/tdr_file.h"
#include "graph/tdr_plot.h"

#include <algorithm>

#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

void PlotTDR() {
  // A colour index read from a damaged TDR file starts the sequence again.
  if (tdr_overlay < 1 || tdr_overlay > 5) tdr_overlay = 1;
  const int color = tdr_colors[tdr_overlay];
  tdr_overlay = tdr_overlay < 5 ? tdr_overlay + 1 : 1;
  Window& w = main_win;
  SetPen(w, color, kPenSolid, 2);
  SetFill(w, true, color);
  const int last = std::min(Numpts / 2 - 1, kTdrTraceEntries - 1);
  int prev_x = 0, prev_y = 0;
  for (int i = 1; i <= last; ++i) {
    const double rho = std::clamp(tdr_response[i], -0.999, 0.999);
    const double z = tdr_zo * (1 + rho) / (1 - rho);
    int y = tdr_linear_z != 0 ? Rnd(tdr_zo_y - (z - tdr_zo) * tdr_zscale)
                              : Rnd(graph_zero_y - tdr_response[i] * tdr_rho_scale);
    // Sample i sums the impulse response up to i, and the default smoothing
    // averages it with i + 1: a reflection at i + 1 samples shows its edge's
    // middle at i, so the sample is drawn one sample further out.
    const int x = Rnd(graph_left + DXfactor * (FeetPerNdx * (i + 1) - LengthOffset));
    if (DIAGMODE != 0) {
      MoveTo(w, 100, 100);
      PrintText(w, "DXscale=" + NumStr(DXscale) + "  Feetperndx=" + NumStr(FeetPerNdx) +
                       " len-offset=" + NumStr(LengthOffset) + " DXfactor=" + NumStr(DXfactor) +
                       "  //29942");
    }
    tdr_trace_table[i][0] = x;
    tdr_trace_table[i][1] = z;
    y = std::clamp(y, graph_top, std::max(graph_top, graph_bottom));
    if (i == 1) {
      prev_x = x;
      prev_y = y;
    }
    if (DIAGMODE == 1 || (prev_x >= graph_left && x >= graph_left && x <= graph_right)) {
      if (tdr_lines != 0) {
        DrawLine(w, prev_x, prev_y, x, y);
      } else {
        DrawCircle(w, x, y, 2);
      }
    }
    prev_x = x;
    prev_y = y;
  }
  SetFill(w, false);
  file_name = "last_VNATDR_file.tdr";
  SaveTDR(1);
}

}  // namespace vna
