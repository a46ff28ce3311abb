// Weak placeholders: see placeholders.h. They do nothing, so a test of the
// settings files sees only what the files themselves change.
#include "shell/placeholders.h"

namespace vna {

[[gnu::weak]] void BuildMenus() {}
[[gnu::weak]] void DrawGraph() {}

}  // namespace vna
