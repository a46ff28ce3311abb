// Placeholders until the spine and the menus are built (see pending.h).
#include "shell/pending.h"

namespace vna {

[[gnu::weak]] int DIAGMODE = 0;
[[gnu::weak]] int trace_serial = 0;
[[gnu::weak]] int monitor_trace = 0;
[[gnu::weak]] int api_busy = 0;
[[gnu::weak]] std::string prog_date;

}  // namespace vna
