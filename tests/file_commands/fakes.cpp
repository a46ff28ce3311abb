#include "file_commands/fakes.h"

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/text_panels.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

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

void GetPortACal(int show) {
  Calls().push_back("GetPortACal(" + std::string(show ? "1" : "0") + ") " + file_name);
  vna_status = 0;
  TextFile f;
  if (OpenTextFile(f, file_name, "R") != 0) {
    if (vna_present == 1 && api_busy == 0)
      MsgBox(&main_win,
             "The calibration file was not found.\rPlease run the calibration procedure before "
             "doing any tests.",
             " Cal Required", kMbOk, kIconNone, true);
    vna_status = 34508;
    return;
  }
  std::string first;
  ReadLine(f, first);
  CloseTextFile(f);
  if (first == "refuse") vna_status = 25;
}
void InfoPanel(int n) {
  Calls().push_back("InfoPanel(" + std::string(1, static_cast<char>('0' + n)) + ")");
}
void DrawFilesPanel() {
  Calls().push_back("DrawFilesPanel");
}
void FreqGrid() {
  Calls().push_back("FreqGrid");
}
void DrawGraph() {
  Calls().push_back("DrawGraph");
}

}  // namespace vna
