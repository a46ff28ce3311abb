// Defaults of every setting, built-in table and run-state flag.
#pragma once

namespace vna {

// Gives every setting, table and run-state flag its default, always the same
// values (apart from the maximum frequency, the screen size and the program
// folder, which it copies from the present state). Start-up calls it before
// the init and config files are read; a later call resets the user's
// settings too.
void InitVars();

}  // namespace vna
