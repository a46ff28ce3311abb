#include "vscope_sim/fakes.h"

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "tools/state.h"

namespace vna::test {

std::map<int, ChannelReading>& Readings() {
  static std::map<int, ChannelReading> r;
  return r;
}
std::vector<ScanRecord>& Scans() {
  static std::vector<ScanRecord> s;
  return s;
}
std::vector<int> ScannedChannels() {
  std::vector<int> out;
  for (const ScanRecord& s : Scans()) out.push_back(s.channel);
  return out;
}
std::function<void(int)>& DuringScan() {
  static std::function<void(int)> f;
  return f;
}

}  // namespace vna::test

namespace vna {

void Scan_B() {
  using namespace test;
  const int channel = mux_select;
  Scans().push_back(
      {channel, start_freq, end_freq, delta_freq, multichan_scan, vscope_scanning, plots21});
  scan_running = 1;
  PortB_on = 1;
  PumpEvents();
  if (DuringScan()) DuringScan()(channel);
  const ChannelReading r = Readings()[channel];
  s21_dB[0] = r.db;
  scanB_phase[0] = r.phase;
  scanB_npoints = scan_npoints = 1;  // measured, as a scan that succeeded leaves it
  if (multichan_scan != 0 && mux_chan <= 1) mux_ref_npoints = 1;  // the other channels' reference
  vna_status = 0;
  scan_running = 0;
}

}  // namespace vna
