#include "shell/main_program.h"

#include "platform/events.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "files/state.h"

namespace vna {

int MainWindowHandler() {
  if (msg_id == kEvClose) {
    main_loop_on = 0;
    WakeEvents();
  }
  return 0;
}

void SetProgramVersion() {
  prog_ver = "636";
  prog_subver = "A";
  config_version_min = 252;
  prog_date = "Program version " + prog_ver + prog_subver + " Aug 12 2018";
  manual_name_single = "//zelmar-7306_032417.pdf";
  manual_name_uhf = "//zelmar-7306_032417.pdf";
}

int MainProgram(int argc, char** argv) {
  PlatformInit(argc, argv);
  OpenWindow(main_win, 0, 0, 1024, 768, kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax,
             "", MainWindowHandler);
  SetSignalCloseTarget(&main_win);
  main_loop_on = 1;
  while (main_loop_on) WaitEvents();
  SetSignalCloseTarget(nullptr);
  CloseWindow(main_win);
  PumpEvents();
  return 0;
}

}  // namespace vna
