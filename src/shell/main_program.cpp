#include "shell/main_program.h"

#include "platform/events.h"
#include "shell/windows.h"

namespace vna {

Window main_win{"main_win"};
Window hidden_win{"hidden_win"};

int main_loop_on = 0;

int MainWindowHandler() {
  if (msg_id == kEvClose) {
    main_loop_on = 0;
    WakeEvents();
  }
  return 0;
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
