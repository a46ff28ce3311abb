// Stand-ins for what the file commands reach in the calibration and graph
// subsystems, defined in this test program so they take the place of the
// library's: each records its call. GetPortACal keeps to its interface: a
// file that cannot be opened gives 34508 (with its " Cal Required" box while
// an instrument answers), a file whose first line is "refuse" gives 25, any
// other file 0.
#pragma once

#include <string>
#include <vector>

namespace vna::test {

// "GetPortACal(1) <file_name>", "InfoPanel(4)", "DrawFilesPanel", "FreqGrid",
// "DrawGraph", in the order they came.
std::vector<std::string>& Calls();
void ClearCalls();

}  // namespace vna::test
