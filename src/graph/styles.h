// How each trace looks: its line style (one setting per trace) and its
// colour (a normal and a light set), chosen in the " Graph Style" and
// " Color Selection" dialogs, and the overlay of a scan file in one style.
#pragma once

namespace vna {

// The " Graph Style" dialog for trace 1..9 (SWR, Zmag, Rs, Xs, Phase,
// Return loss, S11, Gain (S21), Group Delay), opened with `style` ticked. A
// box picked (0..5) becomes the trace's style and the graph is redrawn,
// whether the dialog is left with OK or its close box; no pick changes
// nothing.
void SelectStyle(int trace, int style);
int GraphStyleHandler();

// The six Port A styles become `style` and a scan file of the present port
// is loaded and drawn with them in the normal colours. Refused in TDR mode.
void SetStyles(int style);

// The " Color Selection" dialog: "Exit and Save" keeps the colours picked,
// the close box puts the twelve colours back as they were; the graph is
// redrawn either way.
void SelectColors();
int ColorSelectionHandler();

}  // namespace vna
