// The dialogs kept for their records: no command, key or procedure opens
// them, but their records stand in the dialog index with their titles,
// sizes and handler names. Their controls and handlers are this program's
// own: fields with labels, OK (id 1) and Cancel (id 2). OK hands the texts
// of the fields back in dlg_text1.. in the order of the fields and closes
// with 1; Cancel closes with 2.
#include "shell/dialog_controls.h"
#include "shell/dialog_layouts.h"
#include "shell/dialogs.h"

namespace vna {
namespace dlgdef {

Controls CableLengthControls() {
  return {
      Static(10, "Cable length (ft or m)", 20, 15, 160, 18),
      Edit(3, "Edit1", 20, 38, 150, 24, kCtlTabStop),
      Button(1, "Enter", 190, 20, 85, 26, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 190, 55, 85, 26, kCtlTabStop),
  };
}

Controls MeasResultsControls() {
  return {
      Static(10, "Frequency (MHz)", 20, 20, 110, 18),
      Edit(3, "", 135, 17, 115, 24, kCtlReadOnly),
      Static(11, "Rs (ohms)", 20, 55, 110, 18),
      Edit(4, "", 135, 52, 115, 24, kCtlReadOnly),
      Static(12, "Xs (ohms)", 20, 90, 110, 18),
      Edit(5, "", 135, 87, 115, 24, kCtlReadOnly),
      Static(13, "SWR", 20, 125, 110, 18),
      Edit(6, "", 135, 122, 115, 24, kCtlReadOnly),
      Button(1, "Close", 90, 170, 90, 30, kCtlDefault),
  };
}

Controls TestFreqControls() {
  return {
      Static(10, "Test Frequency (MHz)", 15, 12, 180, 18),
      Edit(3, "Edit1", 15, 35, 110, 24, kCtlTabStop),
      Button(1, "Enter", 135, 33, 65, 26, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 135, 70, 65, 26, kCtlTabStop),
  };
}

Controls LineLengthControls() {
  return {
      Static(10, "Frequency (MHz)", 25, 25, 120, 18),
      Edit(3, "Edit1", 150, 22, 120, 24, kCtlTabStop),
      Static(11, "Length", 25, 60, 120, 18),
      Edit(4, "Edit2", 150, 57, 120, 24, kCtlTabStop),
      Static(12, "Impedance (ohms)", 25, 95, 120, 18),
      Edit(5, "Edit3", 150, 92, 120, 24, kCtlTabStop),
      Button(1, "Measure", 50, 150, 90, 30, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 165, 150, 90, 30, kCtlTabStop),
  };
}

Controls VoiceControls() {
  return {
      Group(20, "", 10, 8, 280, 135),
      Check(3, "Speak the readings", 30, 30, 200, 22),
      Static(10, "Voice file folder", 30, 70, 200, 18),
      Edit(4, "Edit1", 30, 90, 240, 24, kCtlTabStop),
      Button(1, "OK", 50, 160, 90, 30, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 160, 160, 90, 30, kCtlTabStop),
  };
}

Controls SweepControls() {
  const char* labels[4] = {"Start (MHz)", "Stop (MHz)", "Step (MHz)", "Dwell (msec)"};
  Controls c = {Group(20, "", 15, 15, 349, 350)};
  for (int k = 0; k < 4; ++k) {
    c.push_back(Static(10 + k, labels[k], 40, 43 + 45 * k, 120, 18));
    c.push_back(
        Edit(3 + k, "Edit" + std::to_string(1 + k), 180, 40 + 45 * k, 150, 24, kCtlTabStop));
  }
  c.push_back(Button(1, "Enter", 80, 390, 100, 30, kCtlDefault | kCtlTabStop));
  c.push_back(Button(2, "Cancel", 200, 390, 100, 30, kCtlTabStop));
  return c;
}

// Two choices, each in its own frame.
Controls TouchstoneControls() {
  return {
      Group(20, "Parameters", 20, 15, 200, 150),
      Group(21, "Number format", 240, 15, 205, 150),
      Radio(3, "S11 only (.s1p)", 35, 45, 170, 22),
      Radio(4, "S11 and S21 (.s2p)", 35, 80, 170, 22),
      Radio(5, "Real / Imaginary", 255, 45, 175, 22),
      Radio(6, "Magnitude / Angle", 255, 80, 175, 22),
      Radio(7, "dB / Angle", 255, 115, 175, 22),
      Button(1, "OK", 120, 200, 100, 30, kCtlDefault),
      Button(2, "Cancel", 245, 200, 100, 30),
  };
}

Controls GainControls() {
  return {
      Group(20, "", 15, 8, 494, 150),
      Static(10, "Gain", 30, 28, 200, 18),
      Edit(3, "Edit1", 30, 50, 300, 24, kCtlTabStop),
      Button(1, "Enter", 350, 48, 70, 26, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 430, 48, 70, 26, kCtlTabStop),
  };
}

Controls ChanRefControls() {
  return {
      Group(20, "", 10, 8, 280, 130),
      Static(10, "Reference channel (1-6)", 30, 35, 200, 18),
      Edit(3, "Edit1", 30, 58, 120, 24, kCtlTabStop),
      Button(1, "OK", 50, 150, 90, 30, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 160, 150, 90, 30, kCtlTabStop),
  };
}

Controls RefCirclesControls() {
  return {
      Group(20, "", 10, 8, 287, 160),
      Static(10, "First SWR circle", 30, 33, 130, 18),
      Edit(3, "Edit1", 170, 30, 100, 24, kCtlTabStop),
      Static(11, "Second SWR circle", 30, 73, 130, 18),
      Edit(4, "Edit2", 170, 70, 100, 24, kCtlTabStop),
      Check(5, "Show the circles", 30, 115, 200, 22),
      Button(1, "OK", 50, 185, 90, 30, kCtlDefault | kCtlTabStop),
      Button(2, "Cancel", 165, 185, 90, 30, kCtlTabStop),
  };
}

// One current field per array element.
Controls ArrayCurrentControls() {
  Controls c = {Group(20, "", 10, 8, 281, 280)};
  for (int k = 0; k < 5; ++k) {
    c.push_back(Static(10 + k, "Element " + std::to_string(1 + k), 30, 33 + 50 * k, 100, 18));
    c.push_back(
        Edit(3 + k, "Edit" + std::to_string(1 + k), 140, 30 + 50 * k, 130, 24, kCtlTabStop));
  }
  c.push_back(Button(1, "OK", 50, 305, 90, 30, kCtlDefault | kCtlTabStop));
  c.push_back(Button(2, "Cancel", 160, 305, 90, 30, kCtlTabStop));
  return c;
}

}  // namespace dlgdef

namespace {

// OK (1): the field texts into dlg_text1.. and close with 1; Cancel (2):
// close with 2; opening centres the dialog.
int PlainDialogEvent(Dialog& dlg) {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg);
  } else if (msg_id == kEvCommand && msg_ctl_id == 1) {
    int n = 0;
    for (const ControlDef& c : dlg.controls) {
      if (c.kind != CtlKind::Edit && c.kind != CtlKind::RichEdit) continue;
      if (++n > 10) break;
      DlgText(n) = GetCtlText(dlg, c.id);
    }
    CloseDialog(dlg, 1);
  } else if (msg_id == kEvCommand && msg_ctl_id == 2) {
    CloseDialog(dlg, 2);
  }
  return 0;
}

}  // namespace

int CableLengthHandler() {
  return PlainDialogEvent(dlg_cable_length);
}
int MeasResultsHandler() {
  return PlainDialogEvent(dlg_meas_results);
}
int TestFreqHandler() {
  return PlainDialogEvent(dlg_test_freq);
}
int LineLengthHandler() {
  return PlainDialogEvent(dlg_line_length);
}
int VoiceHandler() {
  return PlainDialogEvent(dlg_voice);
}
int SweepParamsHandler() {
  return PlainDialogEvent(dlg_sweep);
}
int TouchstoneHandler() {
  return PlainDialogEvent(dlg_touchstone);
}
int GainHandler() {
  return PlainDialogEvent(dlg_gain);
}
int ChannelRefHandler() {
  return PlainDialogEvent(dlg_chan_ref);
}
int ReferenceCirclesHandler() {
  return PlainDialogEvent(dlg_ref_circles);
}
int ArrayCurrentHandler() {
  return PlainDialogEvent(dlg_array_current);
}

}  // namespace vna
