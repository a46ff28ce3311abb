// Handlers of dialogs that the spine defines but whose analysis tool is not built
// yet. Placeholders until it is: each is a weak definition in pending.cpp
// (the dialog centres itself and waits for its close box), so the real
// handler takes its place; delete the entry then.
#pragma once

namespace vna {

int VelocityFactorHandler();
int CrystalMeasHandler();
int CrystalParamsHandler();
int TuningStubHandler();

}  // namespace vna
