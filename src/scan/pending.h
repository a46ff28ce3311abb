// Handlers of dialogs that the spine defines but whose scan subsystem is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int ScanLimitsHandler();
int EnterFreqHandler();
int SmoothingHandler();

}  // namespace vna
