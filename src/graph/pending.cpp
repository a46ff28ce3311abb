// Placeholders until the owning routines are built (see pending.h).
#include "graph/pending.h"

namespace vna {

[[gnu::weak]] int tdr_mode = 0;

}  // namespace vna
