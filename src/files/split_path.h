// Splitting a path into its folder and name.
#pragma once

namespace vna {

// The folder of the path in msg_text, with its trailing separator, into
// aux_text ("" when the path has no folder). Both the program's backslash and
// the host's "/" separate folders.
void SplitPath();

}  // namespace vna
