// The program's start, main loop and exit.
#pragma once

namespace vna {

int MainProgram(int argc, char** argv);

}  // namespace vna
