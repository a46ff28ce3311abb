// The panels that drive the instrument by hand: " VNA Test" (modeless), the
// Constant Test Frequency panel (modal) and the " Port B Mux" panel
// (modeless), and the guard on changes of the Port A output amplitude.
#pragma once

namespace vna {

// Handlers of dlg_vna_test, dlg_const_freq and dlg_mux: the dialog-open event
// and the control commands; the close box of the two modeless panels acts as
// their exit button.
int VnaTestHandler();
int ConstantTestFreqHandler();
int MuxHandler();

// Runs the Constant Test Frequency panel over the main window, then switches
// both relays off; after "Exit" freq goes back to the frequency last entered
// in the panel's field, and the next opening starts where this one ended.
void EnterConstantFreq();

// Applies the amplitude in input_value (percent); a change of more than
// amp_change_limit percent first asks whether the active port is to be
// recalibrated, and Yes marks its calibration invalid.
void AmplitudeCheck();

}  // namespace vna
