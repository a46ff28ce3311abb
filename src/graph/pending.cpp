// Placeholders until the owning routines are built (see pending.h).
#include "graph/pending.h"

#include "files/settings.h"
#include "platform/ui.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int graph_left = 0;
[[gnu::weak]] int graph_right = 0;
[[gnu::weak]] int graph_top = 0;
[[gnu::weak]] int graph_bottom = 0;
[[gnu::weak]] int graph_mid_x = 0;
[[gnu::weak]] int tdr_mode = 0;
[[gnu::weak]] double graph_start = 0;
[[gnu::weak]] double px_per_MHz = 0;
[[gnu::weak]] double grid_units_per_div = 0;
[[gnu::weak]] double s21mag_yscale = 0;
[[gnu::weak]] int cursor_index = 0;
[[gnu::weak]] int WinTop = 0;
[[gnu::weak]] double cursor_freq = 0;
[[gnu::weak]] int graph_zero_y = 0;
[[gnu::weak]] float win_yscale = 1;
[[gnu::weak]] std::string graph_stamp;

[[gnu::weak]] void InfoPanel(int) {}
[[gnu::weak]] void DrawDateStamp() {}

[[gnu::weak]] int GraphScalesHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int PlotParamsHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int SWRRulerHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int MarkerDlgHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int GraphStyleHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int ColorSelectionHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int TDRScalesHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void Initgrafsize() {
  int sw = 0, sh = 0;
  ScreenSize(sw, sh);
  if (sw > 0 && WinWidth > sw) WinWidth = sw;
  if (sh > 0 && WinHeight > sh) WinHeight = sh;
  if (WinWidth < 200) WinWidth = 200;
  if (WinHeight < 100) WinHeight = 100;
}
[[gnu::weak]] void FreqGrid() {}

[[gnu::weak]] void RedrawGraph() {}
[[gnu::weak]] void DrawTitle() {}
[[gnu::weak]] void CursorReadout(int, int) {}
[[gnu::weak]] void MarkerCommand(int) {}
[[gnu::weak]] void TDRScales() {}
[[gnu::weak]] void GraphScales() {}
[[gnu::weak]] void ReopenMainWindow(int) {}
[[gnu::weak]] void ShowCursorData() {}
[[gnu::weak]] void ClearGraph() {}
[[gnu::weak]] void CheckScreenDimensions() {}
[[gnu::weak]] void DrawFilesPanel() {}
[[gnu::weak]] void SetStyles(int) {}
[[gnu::weak]] void SelectStyle(int, int) {}
[[gnu::weak]] void ShowLegend() {}
[[gnu::weak]] void SelectColors() {}
[[gnu::weak]] void EnterSwrRuler() {}

[[gnu::weak]] int marker_measure = 0;
[[gnu::weak]] void MarkerData_A() {}
[[gnu::weak]] void ListMarkers_A() {}
[[gnu::weak]] void SaveMarkers() {}
[[gnu::weak]] void LoadMarkers() {}

}  // namespace vna
