#include "files/auto_save.h"

#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/windows.h"

namespace vna {

void RecallAutoSave(int /*n*/) {
  if (autosave_graph == 0) {
    MsgBox(&main_win,
           "Graphs are not being saved automatically.\rThis feature can be enabled with the "
           "'auto save graph'  flag\rin the config file.",
           "Auto Save", kMbOk, kIconNone, true);
    return;
  }
  int& flip = PortB_on == 0 ? autosave_flipA : autosave_flipB;
  save_mode = 10;
  autosave_block = 1;
  // The digit moves before the load, and stays moved when the file is missing.
  flip = flip == 0 ? 1 : 0;
  msg_text.assign(1, flip == 1 ? '1' : '0');
  if (PortB_on == 0) {
    LoadScanA();
  } else {
    LoadScanB();
  }
  autosave_block = 0;
}

}  // namespace vna
