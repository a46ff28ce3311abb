// Handlers of dialogs that the spine defines but whose graph subsystem is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int GraphScalesHandler();
int PlotParamsHandler();
int SWRRulerHandler();
int MarkerDlgHandler();
int GraphStyleHandler();
int ColorSelectionHandler();
int TDRScalesHandler();

}  // namespace vna
