// Placeholders until the owning routines are built (see pending.h).
#include "calibration/pending.h"
#include "calibration/state.h"
#include "files/state.h"
#include "instrument/state.h"
#include "shell/text.h"
#include "shell/dialogs.h"

namespace vna {

// The defaults until a Port B calibration measures them.
[[gnu::weak]] double RngGain[6] = {0, 1, 4.9, 24, 117.4, 487.7};
[[gnu::weak]] double Cs = 0;

[[gnu::weak]] void CorrectA() {}
[[gnu::weak]] void CorrectB() {}

[[gnu::weak]] int CalLimitsHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CalibrationHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CableDataHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int LineExtensionHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void InitPortLoadTables() {}

[[gnu::weak]] void GetPortACal(int) {
  vna_status = 0;
  TextFile probe;
  if (OpenTextFile(probe, file_name, "R") != 0) {
    vna_status = 34508;
    return;
  }
  CloseTextFile(probe);
}

[[gnu::weak]] void SetLineExtension() {}
[[gnu::weak]] void RefToAntenna() {}
[[gnu::weak]] void CalA() {}
[[gnu::weak]] void CalB() {
  calB_error = -1;
}
[[gnu::weak]] void SaveCalFile() {}
[[gnu::weak]] void CalMultiChannel() {}
[[gnu::weak]] void CleanRelays(int) {}

}  // namespace vna
