// Placeholders until the graph subsystem is built (see pending.h).
#include "graph/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int GraphScalesHandler() { return InertDialogEvent(); }
[[gnu::weak]] int PlotParamsHandler() { return InertDialogEvent(); }
[[gnu::weak]] int SWRRulerHandler() { return InertDialogEvent(); }
[[gnu::weak]] int MarkerDlgHandler() { return InertDialogEvent(); }
[[gnu::weak]] int GraphStyleHandler() { return InertDialogEvent(); }
[[gnu::weak]] int ColorSelectionHandler() { return InertDialogEvent(); }
[[gnu::weak]] int TDRScalesHandler() { return InertDialogEvent(); }

}  // namespace vna
