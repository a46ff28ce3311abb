// Shell routines and globals that other folders call or read but that are
// not built yet. Placeholders until the setup entries and the diagnostic
// switches are built: each is a weak definition in pending.cpp (a dialog
// handler centres its dialog and waits for the close box), so the real one
// takes its place; delete the entry then.
#pragma once

namespace vna {

extern int monitor_trace;      // diagnostic switch: echo serial commands

int CableZoHandler();
int CommentHandler();
int CommPortHandler();
int RulersHandler();
int AverageHandler();
int DelayTimeHandler();

}  // namespace vna
