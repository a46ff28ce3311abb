// Placeholders until the owning routines are built (see pending.h).
#include "graph/pending.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int graph_left = 0;
[[gnu::weak]] int graph_right = 0;
[[gnu::weak]] int graph_top = 0;
[[gnu::weak]] int graph_bottom = 0;
[[gnu::weak]] int graph_mid_x = 0;
[[gnu::weak]] int tdr_mode = 0;

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

[[gnu::weak]] void Initgrafsize() {}
[[gnu::weak]] void FreqGrid() {}

}  // namespace vna
