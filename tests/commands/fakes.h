// Stand-ins for the routines the main window's commands reach in other
// subsystems (and for the instrument commands), defined in this test program
// so they take the place of the library's: each records its call, with its
// arguments, and runs the behaviour a test gave it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vna::test {

// Calls recorded since the last ClearCalls, in order: "Scan_A",
// "MarkerCommand(9)", "CursorReadout(12,34)".
std::vector<std::string>& Calls();
void ClearCalls();
// What a fake does besides recording (none by default); cleared by
// ClearBehaviours.
void OnCall(const std::string& name, std::function<void()> behaviour);
void ClearBehaviours();

}  // namespace vna::test
