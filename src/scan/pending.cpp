// Placeholders until the owning routines are built (see pending.h).
#include "scan/pending.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] double scan_extra_value = 0;
[[gnu::weak]] void SmoothA() {}

[[gnu::weak]] int ScanLimitsHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int EnterFreqHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int SmoothingHandler() {
  return InertDialogEvent();
}

}  // namespace vna
