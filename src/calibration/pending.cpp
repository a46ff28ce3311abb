// Placeholders until the calibration is built (see pending.h).
#include "calibration/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int CalLimitsHandler() { return InertDialogEvent(); }
[[gnu::weak]] int CalibrationHandler() { return InertDialogEvent(); }
[[gnu::weak]] int CableDataHandler() { return InertDialogEvent(); }
[[gnu::weak]] int LineExtensionHandler() { return InertDialogEvent(); }

}  // namespace vna
