// Shell routines and globals that other folders call or read but that are
// not built yet: a shared slot.
// Each is a weak
// definition in pending.cpp, so the real one takes its place; delete the
// entry then.
#pragma once

#include <string>

namespace vna {

// Shared parameter slot: a command stores a small number here before it calls
// a routine that reads it (the marker sub-commands). Placeholder: 0.
extern int cmd_param;

}  // namespace vna
