// Placeholders until the scan subsystem is built (see pending.h).
#include "scan/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int ScanLimitsHandler() { return InertDialogEvent(); }
[[gnu::weak]] int EnterFreqHandler() { return InertDialogEvent(); }
[[gnu::weak]] int SmoothingHandler() { return InertDialogEvent(); }

}  // namespace vna
