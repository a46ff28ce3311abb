#include "graph/graph_dialogs.h"

#include "files/settings.h"
#include "graph/marker_lines.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {
namespace {

// The trace switches of "Parameters to Plot", by check box.
struct PlotBox {
  int id;
  int* trace;
};
const PlotBox kPlotBoxes[] = {
    {9, &plot_swrA}, {10, &plot_rt},   {11, &plot_Q},       {12, &plot_zmagA},
    {13, &plot_rsA}, {14, &plot_rpA},  {19, &plot_ZphaseA}, {15, &plots21},
    {18, &plot_s11}, {34, &plot_swrB}, {22, &plot_delay},   {29, &plot_phaseS21},
};

void ShowPlotSwitches() {
  for (const PlotBox& b : kPlotBoxes) SetCheck(dlg_plot_params, b.id, *b.trace != 0);
}

// Toggles the box's trace; a trace switched on takes its axis from the ones
// it cannot be shown with.
void TogglePlotBox(int id) {
  for (const PlotBox& b : kPlotBoxes) {
    if (b.id != id) continue;
    *b.trace = *b.trace != 0 ? 0 : 1;
    if (*b.trace == 0) return;
    switch (id) {
      case 9:
        plot_Q = 0;
        break;
      case 11:
        plot_swrA = 0;
        break;
      case 10:
        plot_rt_alt = 0;
        break;
      case 13:
        plot_rpA = 0;
        break;
      case 14:
        plot_rsA = 0;
        break;
      case 18:
        plot_swrB = 0;
        break;
      case 34:
        plot_s11 = 0;
        break;
      case 22:
        plot_insloss = plot_zmagB = plot_rsB = plot_rpB = 0;
        break;
      default:
        break;
    }
    return;
  }
}

}  // namespace

int PlotParamsHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_plot_params);
    ShowPlotSwitches();
  } else if (msg_id == kEvCommand) {
    const int id = msg_ctl_id;
    if (id == 7 || id == 8) {
      CloseDialog(dlg_plot_params, id == 7 ? 1 : 2);
      FocusMainWindow();
      if (id == 7) RedrawGraph();
    } else {
      TogglePlotBox(id);
    }
    ShowPlotSwitches();
  }
  return 0;
}

int SWRRulerHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_swr_ruler);
    SetCtlText(dlg_swr_ruler, 1, " " + NumStr(swr_ruler));
  } else if (msg_id == kEvCommand && msg_ctl_id == 7) {
    dlg_text1 = GetCtlText(dlg_swr_ruler, 1);
    CloseDialog(dlg_swr_ruler, 1);
  }
  return 0;
}

void EnterSwrRuler() {
  RunModal(dlg_swr_ruler, &main_win);
  if (dlg_result == 1 && !dlg_text1.empty()) DrawSWRRuler(ParseNumber(dlg_text1));
  FocusMainWindow();
}

int MarkerDlgHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_marker);
    SetCtlText(dlg_marker, 1, NumStr(freq));
  } else if (msg_id == kEvCommand) {
    SetDigits(5);
    const int id = msg_ctl_id;
    if (id == 3 || id == 5 || id == 4) {
      dlg_text1 = GetCtlText(dlg_marker, 1);
      cmd_param = id == 3 ? 1 : id == 5 ? 2 : 0;
      CloseDialog(dlg_marker, 1);
    }
  }
  return 0;
}

}  // namespace vna
