// Placeholders until the analysis tool is built (see pending.h).
#include "tools/pending.h"

namespace vna {

[[gnu::weak]] int multichan_scan = 0;

[[gnu::weak]] void ScanAllChannels() {}
[[gnu::weak]] void ReadAllElements() {}
[[gnu::weak]] void OpenVectorScope() {}
[[gnu::weak]] void ScanMuxChannel(int) {}

}  // namespace vna
