#include "charts/fakes.h"

#include "files/state.h"
#include "files/tdr_file.h"
#include "graph/cursor_readout.h"
#include "graph/marker_commands.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "shell/state.h"

namespace vna::test {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}
void ClearCalls() {
  Calls().clear();
}

}  // namespace vna::test

namespace vna {

using test::Calls;

void CursorReadout(int x, int y) {
  Calls().push_back("CursorReadout(" + std::to_string(x) + "," + std::to_string(y) + ")");
}
void MarkerCommand(int sub) {
  Calls().push_back("MarkerCommand(" + std::to_string(sub) + ")");
}
void MarkerData_A() {
  Calls().push_back("MarkerData_A");
}
void ListMarkers_A() {
  Calls().push_back("ListMarkers_A");
}
void SaveMarkers() {
  Calls().push_back("SaveMarkers(" + std::to_string(cmd_param) + ")");
}
void LoadMarkers() {
  Calls().push_back("LoadMarkers");
}
void SaveTDR(int mode) {
  Calls().push_back("SaveTDR(" + std::to_string(mode) + "," + file_name + ")");
}

}  // namespace vna
