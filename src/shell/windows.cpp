#include "shell/windows.h"

namespace vna {

Window main_win{"main_win"};
Window hidden_win{"hidden_win"};
Window help_win{"help_win"};

int HiddenWindowHandler() {
  if (msg_id == kEvClose) CloseWindow(hidden_win);
  return 0;
}

}  // namespace vna
