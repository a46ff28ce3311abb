// Routines of other subsystems that the defaults and the settings files call
// but that are not built yet. Each has a weak placeholder in placeholders.cpp
// that does nothing; the real definition, wherever it lands in the library,
// takes its place at link time. Delete an entry here once its real header
// exists.
#pragma once

namespace vna {

void BuildMenus();    // shell: menu bar and button bar from the present settings
void DrawGraph();     // graph: the main graph frame

}  // namespace vna
