// The program's start, main loop and exit.
#pragma once

namespace vna {

int MainProgram(int argc, char** argv);

// Start-up step 2: the version texts, the lowest accepted config version and
// the manual names.
void SetProgramVersion();

}  // namespace vna
