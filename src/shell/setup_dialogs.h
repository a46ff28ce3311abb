// The setup entries: one procedure per setting of the measurement, the
// display and the link, each run by one menu command or button. An entry
// called in a mode it does not serve returns at once.
#pragma once

#include <string>

namespace vna {

void EnterDDSdelay();        // settling time, 1..31 ms
void EnterAverage();         // averaging count, 1..256, sent to the instrument
void EnterZref();            // reference impedance; the caller redraws the graph
void EnterSmithRotation();   // Port A only: rotation of the second Smith chart
void EnterDelayOffset();     // Port B only: group-delay offset
void EnterDelaySmoothing();  // Port B only: group-delay smoothing
void EnterRecycleDepth();    // scans after which Recycle clears the graph
void EnterCommPort();        // serial port 1..255, then the link is opened there
void ToggleVoice();          // voice output on or off
// The graph comment of the current port, or the TDR title. Leaves in
// msg_text the accepted text, or the text shown when nothing was accepted.
void EnterComment();
void ShowRulers();  // Port B only: the two dB rulers

// Handlers of the entries' dialogs.
int AverageHandler();
int CableZoHandler();
int DelayTimeHandler();
int CommPortHandler();
int CommentHandler();
int RulersHandler();

// The level of a ruler as typed: dB ("-3", "-3 dB"), or a voltage ratio with
// an "x" ("0.5x"). False when the text gives no finite level (a ratio of 0).
bool ParseRulerLevel(const std::string& text, double& level);

}  // namespace vna
