// Shell globals the instrument link reads that the shell does not define yet.
// Placeholders until the spine and the menus are built: each is a weak
// definition in pending.cpp, so the real one in shell/state.cpp takes its
// place; delete the entry then.
#pragma once

#include <string>

namespace vna {

extern int DIAGMODE;           // diagnostic mode: extra readouts and the serial echo
extern int trace_serial;       // diagnostic switch: echo serial commands
extern int monitor_trace;      // diagnostic switch: echo serial commands
extern int api_busy;           // 1 while an exported function runs: no message boxes
extern std::string prog_date;  // "Program version " + version + date

}  // namespace vna
