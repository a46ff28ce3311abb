// Placeholders until the owning routines are built (see pending.h).
#include "calibration/pending.h"
#include "calibration/state.h"
#include "shell/dialogs.h"

namespace vna {

// The defaults until a Port B calibration measures them.
[[gnu::weak]] double RngGain[6] = {0, 1, 4.9, 24, 117.4, 487.7};

[[gnu::weak]] double ratio_BA = 0;

[[gnu::weak]] void CorrectB() {}

[[gnu::weak]] void InitPortLoadTables() {}

[[gnu::weak]] Complex s21;
[[gnu::weak]] void CorrectS21() {}

[[gnu::weak]] void CalB() {
  calB_error = -1;
}
[[gnu::weak]] void CalMultiChannel() {}
[[gnu::weak]] void CleanRelays(int) {}

}  // namespace vna
