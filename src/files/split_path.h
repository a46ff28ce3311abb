// Splitting a path into its folder and name.
#pragma once

#include <string>

namespace vna {

// Splits the path in msg_text at its last separator: the name stays in
// msg_text (empty when the path ends in a separator), the folder with its
// trailing separator goes to aux_text. A path without a separator, or whose
// last one is its first or second character ("\x", "C\x"), is left as it is
// in msg_text and aux_text becomes "". The program's backslash and the
// host's "/" both separate folders.
void SplitPath();

// SplitPath on path, the name and folder copied at once into the caller's
// own globals (msg_text and aux_text are left as SplitPath leaves them).
void SplitPathInto(const std::string& path, std::string& name, std::string& folder);

}  // namespace vna
