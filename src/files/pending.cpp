// Placeholders until the scan files are built (see pending.h).
#include "files/pending.h"

namespace vna {

[[gnu::weak]] void LoadScanA() {}
[[gnu::weak]] void LoadScanB() {}
[[gnu::weak]] void SaveScanA() {}
[[gnu::weak]] void SaveScanB() {}
[[gnu::weak]] void SaveTDR(int) {}

[[gnu::weak]] void LoadTDR(int) {}
[[gnu::weak]] void RecallAutoSave(int) {}
[[gnu::weak]] void LoadCalibrationFile() {}
[[gnu::weak]] void LoadConfigFile() {}
[[gnu::weak]] void SaveStateFile() {}
[[gnu::weak]] void LoadStateFile() {}
[[gnu::weak]] void ConfigEditor() {}

}  // namespace vna
