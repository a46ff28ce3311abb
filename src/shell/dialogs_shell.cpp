// Controls of the dialogs that the shell's own entries open: the number box,
// the comment, comm port, cable Zo, rulers, averaging and delay-time entries,
// and the About box.
#include "shell/dialog_controls.h"
#include "shell/dialog_layouts.h"
#include "shell/state.h"

namespace vna::dlgdef {

// One entry field with four step buttons in two columns.
Controls CableZoControls() {
  return {
      Edit(1, "Edit1", 35, 35, 120, 24),   Button(2, "Enter", 170, 33, 95, 26, kCtlDefault),
      Button(4, "+ 1", 55, 85, 60, 26),    Button(5, "- 1", 55, 120, 60, 26),
      Button(6, "+ 0.1", 140, 85, 60, 26), Button(7, "- 0.1", 140, 120, 60, 26),
      Group(8, "", 15, 10, 270, 180),
  };
}

Controls CommentControls() {
  return {
      Edit(1, "Edit1", 25, 35, 560, 24),
      Button(2, "Enter", 600, 33, 90, 28, kCtlDefault),
      Group(3, "", 10, 8, 700, 85),
  };
}

Controls CommPortControls() {
  return {
      Edit(1, "Edit1", 30, 30, 110, 24),
      Button(2, "Enter", 45, 68, 80, 28, kCtlDefault),
      Group(4, "", 10, 8, 153, 100),
  };
}

// The generic number box.
Controls EnterDataControls() {
  return {
      Edit(1, "Edit1", 30, 40, 360, 24),
      Button(2, "Enter", 90, 100, 100, 30, kCtlDefault),
      Button(3, "Cancel", 230, 100, 100, 30),
      Group(4, "", 10, 8, 402, 150),
  };
}

// Each ruler's field has its label on the left and its "ON" box on the right.
Controls RulersControls() {
  return {
      Edit(5, "Edit1", 95, 32, 100, 24, kCtlTabStop),
      Edit(6, "Edit2", 95, 77, 100, 24, kCtlTabStop),
      Static(1, "Ruler 1", 30, 35, 60, 18),
      Static(2, "Ruler 2", 30, 80, 60, 18),
      Check(7, "ON", 210, 33, 60, 22),
      Check(8, "ON", 210, 78, 60, 22),
      Group(3, "", 10, 8, 280, 120),
      Button(9, "Enter", 100, 140, 100, 30),
  };
}

Controls AverageControls() {
  return {
      Combo(1, "ComboBox1", 30, 30, 120, 200),
      Button(2, "Enter", 170, 30, 100, 30),
      Button(3, "Cancel", 170, 75, 100, 30),
      Group(4, " ", 10, 8, 283, 245),
  };
}

Controls DelayTimeControls() {
  return {
      Edit(1, "Edit1", 30, 35, 200, 24, kCtlTabStop),
      Button(2, "Enter", 250, 33, 100, 28),
      Button(3, "Null the Delay", 30, 120, 140, 30),
      Button(4, "Cancel", 250, 120, 100, 30),
      Group(5, " ", 10, 8, 359, 190),
  };
}

Controls AboutControls() {
  return {
      Static(1, prog_date, 182, 29, 287, 22, kCtlCentered),
      Static(2, "(C) Zelmar Instruments", 245, 103, 160, 20),
      Button(3, "Close", 290, 133, 70, 20, kCtlDefault),
      Group(4, "", 26, 6, 589, 175),
      Static(6, "Product pages: www.zelmar-vna.example", 245, 77, 254, 19),
      Edit(9, "Edit1", 69, 50, 513, 24),
  };
}

}  // namespace vna::dlgdef
