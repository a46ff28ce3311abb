// Handlers of dialogs that the spine defines but whose test panel is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int ConstantTestFreqHandler();
int VnaTestHandler();
int MuxHandler();

}  // namespace vna
