// Placeholders until the scans are built (see pending.h).
#include "scan/pending.h"

namespace vna {

[[gnu::weak]] double scan_extra_value = 0;
[[gnu::weak]] void SmoothA() {}

}  // namespace vna
