// Placeholders until the analysis tool is built (see pending.h).
#include "tools/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int VelocityFactorHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CrystalMeasHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CrystalParamsHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int TuningStubHandler() {
  return InertDialogEvent();
}

}  // namespace vna
