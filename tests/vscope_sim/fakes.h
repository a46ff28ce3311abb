// A stand-in for the Port B scan, defined in this test program so it takes
// the place of the library's: it measures nothing, records the channel and
// frequency it was asked for, lets events through as a scan does, and leaves
// the reading the test set for that channel in element 0 of the Port B
// arrays.
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace vna::test {

struct ChannelReading {
  double db = 0;     // S21, dB
  double phase = 0;  // radians
};
struct ScanRecord {
  int channel = 0;  // mux_select
  double start = 0, end = 0, step = 0;
  int multichan = 0, scanning = 0, plots21 = 0;
};

std::map<int, ChannelReading>& Readings();
std::vector<ScanRecord>& Scans();
std::vector<int> ScannedChannels();
// Runs inside each scan (scan_running 1) with the channel scanned.
std::function<void(int)>& DuringScan();

}  // namespace vna::test
