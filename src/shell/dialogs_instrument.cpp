// Controls of the dialogs that drive the instrument or a calibration: the
// constant-frequency and instrument test panels, the multiplexer panel, and
// the calibration limits, prompt, cable data and line extension dialogs.
#include "shell/dialog_controls.h"
#include "shell/dialog_layouts.h"

namespace vna::dlgdef {

// A frequency field with Enter; eight step columns (one per decimal place,
// "+" above "-" under the place label); nine presets in three rows; an
// amplitude field with five presets beneath it; Cal and Exit.
Controls ConstFreqControls() {
  // Step columns, left to right: 10MHz, 1MHz, 100KHz ... 1Hz.
  constexpr int kCol[8] = {30, 92, 154, 216, 278, 340, 402, 464};
  constexpr int kLabelY = 80, kPlusY = 100, kMinusY = 128, kW = 55;
  // Presets: rows "1 3.5 7.0" / "5 10 14" / "100 21 28".
  constexpr int kPx[3] = {45, 110, 175};
  constexpr int kPy[3] = {192, 222, 252};
  return {
      Edit(1, "Edit1", 30, 40, 150, 24),
      Static(2, "Freq (MHz)", 30, 20, 100, 18),
      Button(3, "Enter", 190, 39, 70, 26),
      Button(4, "+", kCol[1], kPlusY, kW, 24),
      Static(5, "1MHz", kCol[1], kLabelY, kW, 18),
      Static(8, "100KHz", kCol[2], kLabelY, kW, 18),
      Static(9, "10KHz", kCol[3], kLabelY, kW, 18),
      Static(10, "1KHz", kCol[4], kLabelY, kW, 18),
      Static(11, "100Hz", kCol[5], kLabelY, kW, 18),
      Static(12, "10Hz", kCol[6], kLabelY, kW, 18),
      Static(13, "1Hz", kCol[7], kLabelY, kW, 18),
      Button(14, "-", kCol[1], kMinusY, kW, 24),
      Button(15, "+", kCol[2], kPlusY, kW, 24),
      Button(16, "-", kCol[2], kMinusY, kW, 24),
      Button(17, "+", kCol[3], kPlusY, kW, 24),
      Button(18, "-", kCol[3], kMinusY, kW, 24),
      Button(19, "+", kCol[4], kPlusY, kW, 24),
      Button(20, "-", kCol[4], kMinusY, kW, 24),
      Button(21, "+", kCol[5], kPlusY, kW, 24),
      Button(22, "-", kCol[5], kMinusY, kW, 24),
      Button(23, "+", kCol[6], kPlusY, kW, 24),
      Button(24, "-", kCol[6], kMinusY, kW, 24),
      Button(25, "+", kCol[7], kPlusY, kW, 24),
      Button(26, "-", kCol[7], kMinusY, kW, 24),
      Button(27, "3.5", kPx[1], kPy[0], 60, 24),
      Button(28, "10", kPx[1], kPy[1], 60, 24),
      Button(29, "21", kPx[1], kPy[2], 60, 24),
      Button(30, "7.0", kPx[2], kPy[0], 60, 24),
      Button(31, "14", kPx[2], kPy[1], 60, 24),
      Button(32, "28", kPx[2], kPy[2], 60, 24),
      Button(33, "Cal", 300, 320, 100, 30),
      Button(34, "Exit", 420, 320, 100, 30),
      Group(35, "", 10, 5, 552, 375),
      Group(36, "Preset Freq (MHz)", 30, 170, 240, 125),
      Button(37, "+", kCol[0], kPlusY, kW, 24),
      Button(38, "-", kCol[0], kMinusY, kW, 24),
      Static(39, "10MHz", kCol[0], kLabelY, kW, 18),
      Button(40, "1", kPx[0], kPy[0], 60, 24),
      Button(41, "5", kPx[0], kPy[1], 60, 24),
      Button(42, "100", kPx[0], kPy[2], 60, 24),
      Edit(43, "Edit2", 300, 195, 100, 24),
      Static(44, "Amplitude (%)", 300, 175, 120, 18),
      Button(45, "100", 300, 230, 45, 24),
      Button(46, "50", 350, 230, 45, 24),
      Button(47, "25", 400, 230, 45, 24),
      Button(48, "10", 450, 230, 45, 24),
      Button(49, "0", 500, 230, 45, 24),
  };
}

// Left: the DDS1 frequency and amplitude columns with the clock boxes below;
// right: the "Port A" and "Port B" frames; three exit buttons at the bottom.
Controls VnaTestControls() {
  Controls c = {
      Edit(2, "Edit1", 30, 45, 130, 24),   Static(114, "DDS1 Freq (MHz)", 30, 25, 130, 18),
      Edit(5, "Edit2", 180, 45, 130, 24),  Static(117, "DDS1 Amplitude (%)", 180, 25, 140, 18),
      Button(4, "ENTER", 30, 75, 130, 26),
  };
  const char* freqs[8] = {"1 MHz",  "2 MHz",  "5 MHz",   "10 MHz",
                          "20 MHz", "50 MHz", "100 MHz", "150 MHz"};
  for (int k = 0; k < 8; ++k) c.push_back(Button(8 + k, freqs[k], 30, 110 + 28 * k, 130, 24));
  c.push_back(Button(7, "ENTER", 180, 75, 130, 26));
  const char* amps[6] = {"100 %", "75 %", "50 %", "25 %", "10 %", "5 %"};
  for (int k = 0; k < 6; ++k) c.push_back(Button(16 + k, amps[k], 180, 110 + 28 * k, 130, 24));
  const Controls rest = {
      // Port A: RELAY, OUTPUT and GAIN rows, then SIG-A and SIG-B.
      Check(32, "closed", 530, 43, 90, 22),
      Check(23, "Open", 430, 43, 90, 22),
      Static(29, "RELAY", 355, 45, 65, 18),
      Check(26, " HiSens", 530, 73, 90, 22),
      Check(25, "LowSens", 430, 73, 90, 22),
      Check(28, "Med", 530, 103, 90, 22),
      Check(27, "Low", 430, 103, 90, 22),
      Check(30, "High", 630, 103, 90, 22),
      Static(39, "OUTPUT", 355, 75, 65, 18),
      Static(140, "GAIN", 355, 105, 65, 18),
      Check(33, "SIG-A", 430, 140, 80, 22, kCtlTextLeft),
      Check(34, "SIG-B", 530, 140, 80, 22, kCtlTextLeft),
      Check(71, "CLK1", 30, 345, 70, 22, kCtlTextLeft),
      Check(72, "CLK2", 110, 345, 70, 22, kCtlTextLeft),
      // Port B: RELAY and INPUT rows; the five gains one beneath the other.
      Check(40, "Open", 420, 223, 80, 22),
      Check(41, "Closed", 500, 223, 80, 22),
      Static(54, "RELAY", 355, 225, 60, 18),
      Check(42, "LowSens", 420, 253, 80, 22),
      Check(43, "HiSens", 500, 253, 80, 22),
      Check(44, "1x ", 650, 225, 130, 22),
      Check(45, "5x (14 dB)", 650, 250, 130, 22),
      Check(46, "24x (28 dB)", 650, 275, 130, 22),
      Check(47, "122 (42 dB)", 650, 300, 130, 22),
      Check(52, "513x (54 dB)", 650, 325, 130, 22),
      Group(62, "Port A", 340, 20, 450, 170),
      Group(63, "Port B", 340, 200, 450, 170),
      Static(66, "INPUT", 355, 255, 60, 18),
      Static(67, "GAIN", 600, 227, 45, 18),
      Group(68, " ", 10, 5, 794, 420),
      Button(49, "Exit/Keep Values", 340, 385, 140, 28),
      Button(35, "Exit/DDS Off", 495, 385, 140, 28),
      Button(48, "Restore Defaults", 650, 385, 140, 28),
  };
  c.insert(c.end(), rest.begin(), rest.end());
  return c;
}

// Six channel boxes in one row inside the frame, then Exit beneath.
Controls MuxControls() {
  return {
      Check(3, "B1", 25, 50, 45, 22),        Check(4, "B2", 73, 50, 45, 22),
      Check(5, "B3", 121, 50, 45, 22),       Check(6, "B4", 169, 50, 45, 22),
      Button(10, "Exit", 117, 135, 100, 30), Group(13, "", 10, 8, 314, 110),
      Check(17, "B5", 217, 50, 45, 22),      Check(18, "B6", 265, 50, 45, 22),
  };
}

// Five fields, each with its label on the left and its unit on the right.
Controls CalLimitsControls() {
  return {
      Group(1, "", 15, 10, 275, 300),
      Edit(2, "Edit1", 110, 30, 110, 24, kCtlTabStop),
      Edit(3, "Edit2", 110, 75, 110, 24, kCtlTabStop),
      Edit(4, "Edit3", 110, 120, 110, 24, kCtlTabStop),
      Edit(5, "Edit4", 110, 165, 110, 24, kCtlTabStop),
      Edit(21, "Edit5", 110, 210, 110, 24, kCtlTabStop),
      Button(7, "Enter", 50, 325, 90, 30, kCtlDefault | kCtlTabStop),
      Button(8, "Cancel", 165, 325, 90, 30, kCtlTabStop),
      Static(9, "Start ", 30, 33, 70, 18),
      Static(10, "Stop", 30, 78, 70, 18),
      Static(11, "Step", 30, 123, 70, 18),
      Static(12, "Amplitude", 30, 176, 75, 18),
      Static(15, "MHz", 228, 33, 50, 18),
      Static(16, "MHz", 228, 78, 50, 18),
      Static(17, "MHz", 228, 123, 50, 18),
      Static(18, "Percent", 228, 168, 55, 18),
      Static(22, "Driver", 30, 158, 70, 18),
      Static(23, "Average", 30, 203, 70, 18),
      Static(24, "Readings", 30, 221, 70, 18),
  };
}

// The prompt of each calibration step is one line in static 3.
Controls CalibrationControls() {
  return {
      Button(1, "Continue", 100, 75, 100, 30, kCtlDefault),
      Button(2, "Cancel", 250, 75, 100, 30),
      Static(3, " Attach short circuit to the Port A connector.", 25, 15, 400, 40),
  };
}

Controls CableDataControls() {
  return {
      Edit(1, "Edit1", 180, 27, 120, 24, kCtlTabStop),
      Edit(2, "Edit2", 180, 72, 120, 24, kCtlTabStop),
      Edit(3, "Edit3", 180, 117, 120, 24, kCtlTabStop),
      Edit(4, "Edit4", 180, 162, 120, 24, kCtlTabStop),
      Static(5, "Length (ft or m)", 25, 30, 140, 18),
      Static(6, "Loss dB/100ft(m)", 25, 68, 140, 18),
      Static(12, "@ 1 MHz", 25, 86, 140, 18),
      Static(7, "Impedance Z0", 25, 120, 140, 18),
      Static(8, "Velocity factor", 25, 165, 140, 18),
      Group(9, "", 10, 8, 308, 210),
      Button(10, "OK", 60, 232, 90, 30, kCtlDefault),
      Button(11, "Cancel", 180, 232, 90, 30),
  };
}

Controls LineExtControls() {
  return {
      Edit(6, "Edit1", 180, 32, 150, 24),
      Edit(7, "Edit2", 180, 77, 150, 24),
      Edit(8, "Edit3", 180, 122, 150, 24),
      Button(2, "Enable", 60, 205, 100, 30, kCtlDefault),
      Static(3, "Length (c,m,i,f)", 30, 35, 140, 18),
      Static(4, "Zo", 30, 80, 140, 18),
      Static(5, "Velocity Factor", 30, 125, 140, 18),
      Button(9, "Disable", 200, 205, 100, 30),
      Group(10, "", 10, 8, 342, 180),
  };
}

}  // namespace vna::dlgdef
