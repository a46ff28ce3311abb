#include "scan/point_win.h"

#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/keys.h"
#include "shell/state.h"

namespace vna {

int PointWinHandler() {
  switch (msg_id) {
    case kEvKeyDown:
      key_code = msg_wparam;
      key_down = 1;
      HandleKey();
      break;
    case kEvKeyUp:
      key_down = 0;
      key_code = msg_wparam;
      if (msg_wparam == kVkCtrl) ctrl_key_down = 0;
      break;
    case kEvClose:
      CloseWindow(point_win);
      osc_manual = 0;  // a hand-chosen oscillator never outlives the window
      pointwin_run = 0;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vna
