// Recording stand-ins for the cursor readout, the marker routines and the
// TDR file writer, defined in this test program so they take the place of
// the library's.
#pragma once

#include <string>
#include <vector>

namespace vna::test {

// Calls since the last ClearCalls, in order: "CursorReadout(62,40)",
// "MarkerCommand(9)", "SaveMarkers(8)", "SaveTDR(1,last_VNATDR_file.tdr)".
std::vector<std::string>& Calls();
void ClearCalls();

}  // namespace vna::test
