// Placeholders until the owning routines are built (see pending.h).
#include "graph/pending.h"

#include "files/settings.h"
#include "platform/ui.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int tdr_mode = 0;

[[gnu::weak]] int GraphScalesHandler() {
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

[[gnu::weak]] void TDRScales() {}
[[gnu::weak]] void GraphScales() {}
[[gnu::weak]] void ShowCursorData() {}
[[gnu::weak]] void SetStyles(int) {}
[[gnu::weak]] void SelectStyle(int, int) {}
[[gnu::weak]] void ShowLegend() {}
[[gnu::weak]] void SelectColors() {}
[[gnu::weak]] void EnterSwrRuler() {}

[[gnu::weak]] void CloseCursorData() {}

}  // namespace vna
