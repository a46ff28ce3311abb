// Event fields, the dispatcher and the waits.
//
// The program is single-threaded and its handlers take no arguments: before a
// handler runs, the fields below are filled with the event it is to handle, and
// they are restored when a nested dispatch returns so an outer handler still
// sees its own event.
#pragma once

#include <cstdint>
#include <functional>

namespace vna {

// Event ids the handlers test (msg_id).
enum : int {
  kEvResize = 5,     // window resized (outer size readable with OuterSize)
  kEvKeyDown = 256,  // msg_wparam = virtual-key code
  kEvKeyUp = 257,
  kEvInitDialog = 272,  // dialog opened: controls exist, the user cannot act yet
  kEvMenu = 273,        // menu pick, id in msg_menu_id
  kEvMouseMove = 512,   // msg_mouse_x, msg_mouse_y in drawing-area pixels
  kEvLButtonDown = 513,
  kEvLButtonUp = 514,
  kEvRButtonDown = 516,
  kEvClose = 32770,    // close box, system-menu Close, Alt+F4: never closes by itself
  kEvCommand = 32772,  // control command, id in msg_ctl_id
};

// Virtual-key codes that are not plain upper-case letters or digits.
enum : int {
  kVkEnter = 13,
  kVkShift = 16,
  kVkCtrl = 17,
  kVkEsc = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkNumpad0 = 96,  // keypad digits 96..105
  kVkF1 = 112,      // F1..F12 112..123
};

struct Form;

extern int msg_id;
extern int msg_ctl_id;
extern int msg_menu_id;
extern int msg_wparam;
extern int msg_mouse_x;
extern int msg_mouse_y;
extern Form* msg_form;  // the window or dialog the current event belongs to

using Handler = std::function<int()>;

// Brings up the windowing system; call once before any window is opened.
// Safe to call again. Without it the waits still work (they only sleep).
void PlatformInit(int& argc, char** argv);
bool PlatformReady();

// Handles every pending event, then returns at once.
void PumpEvents();
// Blocks until at least one event is pending, then handles every pending event.
void WaitEvents();
// Wakes a WaitEvents that is blocked, so a loop can test its flags again.
void WakeEvents();
// Waits ms milliseconds while events keep flowing; returns no earlier than the
// deadline and pumps at least once. It sleeps in the event wait, not in a spin.
void DelayMs(int ms);

// Posts an event for a form's handler as if the user had caused it. The layer
// uses it for every widget event; tests use it to act like a person would.
void PostEvent(Form& form, int id, int ctl_id = 0, int wparam = 0, int x = 0, int y = 0,
               int menu_id = 0);

// SIGINT and SIGTERM post a close request to this window, so a headless run
// can be ended cleanly: open message boxes and modal dialogs close as by
// their close box, and later ones are answered that way at once without
// being shown. A signal that comes before the window opens reaches it when
// this is called again with the open window. nullptr turns it off and forgets
// a request.
void SetSignalCloseTarget(Form* form);
// True once a signal asked the program to end.
bool EndRequested();

}  // namespace vna
