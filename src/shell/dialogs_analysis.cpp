// Controls of the dialogs of the scans, the graphs and the analysis tools.
#include "shell/dialog_controls.h"
#include "shell/dialog_layouts.h"

namespace vna::dlgdef {

// Two frames side by side, each headed "Frequencies in MHz" with its own
// Enter: start/stop/step on the left, centre/span/step on the right.
Controls ScanLimitsControls() {
  return {
      Edit(2, "Edit2", 90, 67, 170, 24, kCtlTabStop),
      Edit(3, "Edit3", 90, 102, 170, 24, kCtlTabStop),
      Edit(4, "Edit4", 90, 137, 170, 24, kCtlTabStop),
      Static(8, "Step", 30, 140, 50, 18),
      Check(9, "Start Plot at Zero", 30, 245, 200, 22),
      Button(10, "Enter", 100, 180, 80, 28),
      Static(11, "Frequencies in MHz", 30, 35, 200, 18),
      Static(17, "Start", 30, 70, 50, 18),
      Static(18, "Stop", 30, 105, 50, 18),
      Static(20, "Frequencies in MHz", 315, 35, 200, 18),
      RichEdit(25, "", 385, 67, 165, 24, kCtlMultiLine),
      Static(26, "Center", 315, 70, 60, 18),
      Static(30, "Step", 315, 140, 60, 18),
      Static(31, "Span", 315, 105, 60, 18),
      RichEdit(32, "", 385, 102, 165, 24, kCtlMultiLine),
      RichEdit(34, "", 385, 137, 165, 24, kCtlMultiLine),
      Button(35, "Enter", 395, 180, 80, 28),
      Group(12, " ", 15, 15, 265, 215),
      Group(19, "", 300, 15, 265, 215),
  };
}

// Nine simple combo boxes under their headings: five in "Port A", four in
// "Port B" (the S21 offset lower down). Lists of 333, 194 and 427 pixels.
Controls GraphScalesControls() {
  constexpr int kHeadY = 40, kComboY = 62, kW = 95;
  return {
      Static(4, "SWR", 30, kHeadY, kW, 18),
      Static(5, "Zmag", 140, kHeadY, kW, 18),
      Static(6, "Zphase ", 250, kHeadY, kW, 18),
      Button(7, "Enter", 300, 470, 100, 30, kCtlDefault),
      Combo(1, "ComboBox1", 30, kComboY, kW, 333),
      Combo(2, "ComboBox2", 140, kComboY, kW, 333),
      Combo(3, "ComboBox3", 250, kComboY, kW, 333),
      Combo(12, "ComboBox4", 360, kComboY, kW, 333),
      Static(13, "Return Loss", 360, kHeadY, kW, 18),
      Combo(14, "ComboBox5", 470, kComboY, kW, 333),
      Combo(15, "ComboBox6", 612, kComboY, kW, 194),
      Static(17, "Q", 470, kHeadY, kW, 18),
      Static(18, "S21mag (dB/div)", 612, kHeadY, kW, 18),
      Static(19, "Group Delay(ns)", 818, kHeadY, kW, 18),
      Button(20, "Cancel", 420, 470, 100, 30),
      Combo(21, "ComboBox8", 818, kComboY, kW, 427),
      Combo(25, "ComboBox10", 715, kComboY, kW, 194),
      Combo(26, "ComboBox11", 612, 302, kW, 194),
      Static(27, "S21 Offset (div)", 612, 280, 160, 18),
      Static(28, "S21phase", 715, kHeadY, kW, 18),
      Group(29, "Port A", 15, 15, 570, 395),
      Group(30, "Port B", 600, 15, 319, 501),
      Static(31, "Any full scale value can be", 30, 420, 300, 18),
      Static(32, "entered in the edit box.", 30, 440, 300, 18),
  };
}

// One value: a single-line field, so Return presses Enter.
Controls VelocityFactorControls() {
  return {
      Edit(1, "Edit1", 35, 60, 120, 26),
      Button(2, "Enter", 105, 120, 90, 30, kCtlDefault),
      Static(11, "Enter the Cable's Velocity Factor:", 35, 35, 240, 18),
      Group(13, "", 15, 10, 275, 175),
  };
}

// The two radio buttons sit in their own inner frame and form one choice;
// Enter is the default button, so Return in the field measures.
Controls CrystalMeasControls() {
  return {
      Group(9, "", 10, 8, 280, 215),
      Edit(1, "Edit1", 30, 45, 150, 24),
      Static(2, "Crystal Frequency (MHz)", 30, 25, 200, 18),
      Radio(4, "Standard Q", 45, 100, 120, 20),
      Radio(6, "High Q", 45, 128, 120, 20),
      Button(8, "Enter", 100, 175, 100, 30, kCtlDefault),
      Group(10, "", 30, 85, 160, 75),
  };
}

// Seven labelled result fields, then END and SAVE.
Controls CrystalParamsControls() {
  const char* labels[7] = {"Series Resonant Freq (MHz)", "Parallel Resonant Freq (MHz)",
                           "Series Resistance",          "Inductance (mH)",
                           "Series Capacitance (pF)",    "Parallel Capacitance (pF)",
                           "Q at Series Resonance"};
  Controls c;
  for (int k = 0; k < 7; ++k) c.push_back(Static(1 + k, labels[k], 25, 30 + 40 * k, 200, 18));
  for (int k = 0; k < 7; ++k)
    c.push_back(Edit(9 + k, "Edit" + std::to_string(1 + k), 235, 27 + 40 * k, 120, 24));
  c.push_back(Group(17, "", 10, 8, 360, 300));
  c.push_back(Button(18, "END", 80, 318, 100, 30, kCtlDefault));
  c.push_back(Button(19, "SAVE", 200, 318, 100, 30));
  return c;
}

// "Graph A" and "Graph B", each split into a left and a right axis.
Controls PlotParamsControls() {
  constexpr int kW = 105, kH = 22;
  return {
      Group(1, "Graph A", 15, 10, 290, 420),
      Group(2, "Left axis", 30, 35, 125, 380),
      Group(3, "Right axis", 165, 35, 125, 380),
      Group(4, "Graph B", 325, 10, 290, 420),
      Group(5, "Left axis", 340, 35, 125, 380),
      Group(6, "Right axis", 475, 35, 125, 380),
      Button(7, "Enter", 190, 450, 100, 30, kCtlDefault),
      Button(8, "Cancel", 340, 450, 100, 30),
      Check(9, "SWR", 42, 60, kW, kH),
      Check(10, "Return Loss", 42, 95, kW, kH),
      Check(11, "Q", 42, 130, kW, kH),
      Check(12, "Zmag", 177, 60, kW, kH),
      Check(13, "Rs, Xs", 177, 95, kW, kH),
      Check(14, "Rp, Xp", 177, 130, kW, kH),
      Check(15, "S21", 352, 60, kW, kH),
      Check(18, "S11", 352, 95, kW, kH),
      Check(19, "Z-Phase", 177, 165, kW, kH),
      Check(22, "Group delay", 487, 60, kW, kH),
      Check(29, "S21-Phase", 487, 95, kW, kH),
      Check(34, "SWR", 352, 130, kW, kH),
  };
}

Controls EnterFreqControls() {
  return {
      Edit(1, "Edit1", 30, 35, 235, 24),
      Button(7, "Single Shot", 30, 95, 110, 30, kCtlDefault),
      Button(2, "Tune", 155, 95, 110, 30),
      Group(3, "", 10, 8, 275, 150),
  };
}

// Three lines of instruction above the field, "SWR = " to its left; the
// field holds one value on one line, so Return presses Enter.
Controls SwrRulerControls() {
  return {
      Edit(1, "Edit1", 80, 90, 100, 26),
      Static(3, "Enter an SWR value to display", 25, 20, 250, 18),
      Static(2, "a horizontal ruler.", 25, 38, 250, 18),
      Static(4, "SWR = ", 25, 95, 50, 18),
      Static(5, "( enter 0.0 to turn ruler off )", 25, 56, 250, 18),
      Group(6, "", 10, 8, 280, 170),
      Button(7, "Enter", 100, 135, 100, 30, kCtlDefault),
  };
}

Controls TuningStubControls() {
  return {
      Edit(1, "Edit1", 190, 32, 140, 24, kCtlTabStop),
      Static(2, "Desired Freq (MHz)", 30, 35, 150, 18),
      Static(3, "Starting Length ", 30, 75, 150, 18),
      Edit(4, "Edit2", 190, 72, 140, 24, kCtlTabStop),
      Button(5, "Enter", 135, 130, 100, 30, kCtlDefault),
      Group(7, "", 10, 8, 352, 180),
  };
}

// One field above a row of four buttons.
Controls SmoothingControls() {
  return {
      Edit(1, "Edit1", 30, 40, 200, 24),   Button(2, "Manual", 30, 110, 95, 30),
      Button(3, "Auto", 135, 110, 95, 30), Button(4, "Smoothing ON", 240, 110, 95, 30),
      Group(5, "", 10, 8, 444, 185),       Button(6, "Smoothing OFF", 345, 110, 95, 30),
  };
}

// One field under "Marker Freq (MHz)", then Insert, Remove, Cancel.
Controls MarkerControls() {
  return {
      Edit(1, "Edit1", 30, 45, 170, 24),
      Button(3, "Insert", 30, 100, 85, 30, kCtlDefault),
      Button(4, "Cancel", 220, 100, 85, 30),
      Button(5, "Remove", 125, 100, 85, 30),
      Static(8, "Marker Freq (MHz)", 30, 25, 200, 18),
      Group(10, "", 10, 8, 315, 155),
  };
}

// Six style boxes one beneath the other, then OK.
Controls StyleControls() {
  const char* styles[6] = {"Plain line", "Short Dash", "Long Dash",
                           "Circle",     "Square",     "Wide Line"};
  Controls c;
  for (int k = 0; k < 6; ++k) c.push_back(Check(1 + k, styles[k], 40, 25 + 35 * k, 150, 22));
  c.push_back(Button(7, "OK", 73, 270, 100, 30, kCtlDefault));
  c.push_back(Group(8, "", 15, 8, 216, 230));
  return c;
}

// Upper frame: the six trace buttons on a colour panel (the plain static 99
// under them), then "Scan" and "Rescan" over their "Colors" labels; lower
// frame: restore and save.
Controls ColorsControls() {
  const char* traces[6] = {"SWR", "Zmag", "Phase", "Rs, Delay", "Xs", "Return Loss, S11"};
  Controls c = {
      Static(99, "", 25, 25, 188, 220, kCtlPlain),
      Group(7, "", 10, 8, 218, 330),
      Button(10, "Exit and Save", 25, 400, 188, 30),
      Group(11, "", 10, 345, 218, 100),
      Button(12, "Restore Default Colors", 25, 360, 188, 30),
  };
  for (int k = 0; k < 6; ++k) c.push_back(Button(13 + k, traces[k], 30, 30 + 36 * k, 178, 30));
  c.push_back(Check(19, "Scan", 30, 255, 80, 22));
  c.push_back(Check(20, "Rescan", 125, 255, 80, 22));
  c.push_back(Static(21, "Colors", 30, 278, 80, 18));
  c.push_back(Static(22, "Colors", 125, 278, 80, 18));
  return c;
}

// Two simple combo boxes side by side under their headings, Enter below.
Controls TdrScalesControls() {
  return {
      Button(8, "Enter", 131, 270, 100, 30),    Combo(1, "ComboBox1", 30, 45, 140, 200),
      Static(3, "Distance", 30, 25, 140, 18),   Group(4, "", 10, 8, 342, 250),
      Combo(5, "ComboBox2", 190, 45, 140, 200), Static(6, "Impedance", 190, 25, 140, 18),
  };
}

}  // namespace vna::dlgdef
