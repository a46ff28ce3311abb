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

}  // namespace vna
