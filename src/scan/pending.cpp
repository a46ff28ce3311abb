// Placeholders until the owning routines are built (see pending.h).
#include "scan/pending.h"
#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int EnterFreqHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void Scan_B() {}
[[gnu::weak]] void BandScan() {}
[[gnu::weak]] void PointDataMode() {}
[[gnu::weak]] void RescanCenter() {}

}  // namespace vna
