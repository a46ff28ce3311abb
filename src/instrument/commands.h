// The short commands that set the instrument's state: relays, DDS power and
// amplitude, gains, averaging, oscillator, power-down, power-off, the logic
// test, the external port, and the instrument's default state.
#pragma once

namespace vna {

// Relay code: 0 both off, 3 both on; otherwise bit 0 switches relay A on and
// bit 1 relay B (a clear bit leaves its relay as it was).
void ProgRelay(int code);
// n: bit mask of the two DDS outputs, 3 = both on.
void DDSPower(int n);
// Port A output amplitude in percent, kept within 0..100; a request equal to
// the last one sends nothing.
void DDSAmplitude(double percent);
// The amplitude code 0..1023 that DDSAmplitude sends for a percentage.
int AmplitudeCode(double percent);
// Sends the gains and sensitivities of both ports (also without an instrument).
void ProgGain();
// Readings averaged per point, 1..256 (anything else takes 1). A quiet call
// leaves the info panel alone.
void AverageADC(int n, bool quiet = false);
// AverageADC without its report of success: run between a reading and the
// test of its status, it must not cover the reading's failure.
void RestoreAveraging(int n, bool quiet = false);
// Oscillator 1 or 2 of a two-oscillator instrument: its clock, offset and
// correction factor become the ones in use.
void SelectOsc(int n);
void SetAutoPowerDown(int on);
// Ask, then switch the instrument's DC power off.
void PowerOff();
// Ask, then start the instrument's endless logic-line test.
void LogicTest();
// Switches the Port B multiplexer to mux_select and reads the external port.
void ExternalPort();
// The instrument's default frequency, amplitude, relays and gains.
void ResetInstrument();
// The " Port B Mux" panel, modeless, owned by the main window.
void ShowMuxDialog();
// Resets the instrument's loop counter ("Y" and its six fixed bytes), then
// waits 5 ms. Sent whatever vna_present says, as every SendData command.
void ResetLoopCounter();

}  // namespace vna
