// Port B scans through the channels of the external multiplexer, each with
// its own calibration file. The Port B scan draws them into the Array Scan
// window while multichan_scan is set, every channel after the first relative
// to channel 1.
#pragma once

namespace vna {

// Scans channel mux_chan over the scan limits. With ask != 0 the user is
// asked to connect the channel first. Returns 0.
int ScanMuxChannel(int ask);
// Scans channel 1 and every enabled channel 2..6 in turn, without asking;
// needs the Vector Scope open. Halt, the Array Scan's Stop/Exit, a closed
// window and the end of the program stop it before its next channel.
// Returns 0.
int ScanAllChannels();

}  // namespace vna
