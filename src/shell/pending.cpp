// Placeholders until the owning routines are built (see pending.h).
#include "shell/pending.h"

namespace vna {

[[gnu::weak]] int cmd_param = 0;

}  // namespace vna
