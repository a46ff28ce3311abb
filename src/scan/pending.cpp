// Placeholders until the owning routines are built (see pending.h).
#include "scan/pending.h"

namespace vna {

[[gnu::weak]] void Scan_B() {}

}  // namespace vna
