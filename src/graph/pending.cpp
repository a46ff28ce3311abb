// Placeholders until the graphs are built (see pending.h).
#include "graph/pending.h"

namespace vna {

[[gnu::weak]] int graph_left = 0;
[[gnu::weak]] int graph_right = 0;
[[gnu::weak]] int graph_top = 0;
[[gnu::weak]] int graph_bottom = 0;
[[gnu::weak]] int graph_mid_x = 0;
[[gnu::weak]] int tdr_mode = 0;

[[gnu::weak]] void InfoPanel(int) {}
[[gnu::weak]] void DrawDateStamp() {}

}  // namespace vna
