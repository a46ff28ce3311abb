// Placeholders until the analysis tool is built (see pending.h).
#include "tools/pending.h"

#include "shell/dialogs.h"

namespace vna {

[[gnu::weak]] int multichan_scan = 0;
[[gnu::weak]] int CrystalMeasHandler() {
  return InertDialogEvent();
}
[[gnu::weak]] int CrystalParamsHandler() {
  return InertDialogEvent();
}

[[gnu::weak]] void ScanAllChannels() {}
[[gnu::weak]] void ReadAllElements() {}
[[gnu::weak]] void MeasureCrystal() {}
[[gnu::weak]] void MeasureQ() {}
[[gnu::weak]] void AntennaBandwidth() {}
[[gnu::weak]] void Bandwidth() {}
[[gnu::weak]] void OpenVectorScope() {}
[[gnu::weak]] void ScanMuxChannel(int) {}

}  // namespace vna
