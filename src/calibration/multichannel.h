// The multiplexer of Port B: cleaning its relay contacts, and the
// calibration of all its channels in one run, one calibration file each.
#pragma once

namespace vna {

extern int day_number;  // today's count from GetDayNumber

// day_number = (yy + 2000) + 30 x (MM - 1) + dd of the local date; the date
// as "yyMMdd" is left in msg_text. The year is not scaled to days, so the
// count drops across a new year.
void GetDayNumber();

// The relay cycles a cleaning runs: |today - last| \ 2 + count, at most 8.
int CleaningCycles(int today, int last, int count);

// Switches the multiplexer through channels 1..6 (500 ms on each) for
// CleaningCycles(today, Mux_Cal, count) rounds, until Halt; Mux_Cal becomes
// today first. mux_chan and mux_select are left at the last channel.
void CleanRelays(int count);

// Cleans the relays once, runs the Port A calibration with the Port B one of
// channel 1 (the reference line), then offers channels 2..6 in turn: each
// accepted one gets a Port B calibration and its own calibration file; No,
// or a Port B calibration that failed, ends the run. PortB_cal is what the
// last Port B calibration left; mux_chan ends at 1.
void CalMultiChannel();

}  // namespace vna
