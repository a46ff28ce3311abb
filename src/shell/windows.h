// Window records of the shell. They outlive their on-screen windows: opening
// creates the widget, closing destroys it, the record opens again.
#pragma once

#include "platform/ui.h"

namespace vna {

extern Window main_win;    // the main graph window
extern Window hidden_win;  // never shown; owns message boxes raised inside scans
extern Window help_win;    // the browser window of the help pages and web links

int MainWindowHandler();
int HiddenWindowHandler();

}  // namespace vna
