#include "tools/channel_scan.h"

#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/state.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

// Holds mux_busy while a channel scan has the multiplexer.
struct BusyMux {
  BusyMux() { mux_busy = 1; }
  ~BusyMux() { mux_busy = 0; }
  BusyMux(const BusyMux&) = delete;
  BusyMux& operator=(const BusyMux&) = delete;
};

// A channel after the first reached a point channel 1 did not measure.
void NoChannelOneReadingBox(int chan) {
  const std::string c = NumStr(chan);
  // Nothing stored: the list in scanB_freq is the earlier scan's again.
  const std::string where = scan_npoints > 0
                                ? " stopped at" + NumStr(scanB_freq[scan_npoints]) +
                                      " MHz, where channel 1 has no reading"
                                : " was not scanned: channel 1 has no reading at its first point";
  FailedMeasurementBox(" Scan channel" + c, "Channel" + c + where, kStatusNoChannelOneRef,
                       "Scan channel 1 over the same range first: the other channels are "
                       "measured against it.");
}

// True when the channel's Port B scan ran (whatever it measured).
bool ScanChannel(int ask) {
  if (vna_present == 0) {
    NeedsHardware();
    return false;
  }
  if (scan_running != 0) return false;
  if (!LoadChannelCal()) return false;
  if (PortB_cal == 0) {
    NoChannelCalBox();
    mux_chan = 0;
    return false;
  }
  PortB_on = 1;
  mux_select = mux_chan;
  ExternalPort();
  if (ask != 0) {
    const int answer = MsgBox(&main_win, " Connect channel" + NumStr(mux_chan) + " to Port B.",
                              " Scan channel" + NumStr(mux_chan), kMbYesNo, kIconNone, true);
    if (answer != kIdYes) return false;
  }
  PortB_title.clear();
  rescan_on = 0;
  color_index = 0;
  if (ask != 0) FocusMainWindow();
  // An Array Scan button has it set already: the later channels' files must
  // set the scan limits too.
  const int saved_multichan = multichan_scan;
  multichan_scan = 1;
  const int saved_plots21 = plots21;
  plots21 = 1;
  Scan_B();
  multichan_scan = saved_multichan;
  plots21 = saved_plots21;
  if (vna_status == kStatusNoChannelOneRef) NoChannelOneReadingBox(mux_chan);
  return true;
}

// Whether the channels after channel 1 may be scanned: each is shown as its
// difference to channel 1 at every point, so channel 1 must have measured
// them all. A failure is said once; a channel 1 without its calibration has
// said so itself. Without an instrument each channel asks for it in turn.
bool ChannelOneMeasured(bool scanned) {
  if (!scanned) return vna_present == 0;
  if (vna_status != 0) {
    FailedMeasurementBox(" Array Scan", "Channel 1 could not be scanned", vna_status,
                         "The other channels are measured against it: they were not scanned.");
    return false;
  }
  // A Halt or Stop/Exit ends the run by itself; a list that ran past the
  // scan's stop holds points channel 1 did not measure, where each later
  // channel ends and says so.
  return mux_ref_npoints > 0;
}

// Whether the run may go on after channel c (after channel 1) was scanned: a
// channel whose scan failed ends it, said once, with the failure's status
// kept (the next channel's scan would start from a clean one).
bool ChannelMeasured(int c) {
  const int status = vna_status;
  if (status == 0) return true;
  // The missing channel 1 reading, the link's own boxes: said already.
  if (status != kStatusNoChannelOneRef && !FailureSaidByLink(status)) {
    FailedMeasurementBox(" Array Scan", "Channel" + NumStr(c) + " could not be scanned", status,
                         "The channels after it were not scanned.");
  }
  vna_status = status;
  return false;
}

void FillChannelColours() {
  const int table[7][3] = {
      {0, 0, 0},
      {Rgb(81, 207, 37), Rgb(202, 94, 242), RedColor},
      {Rgb(129, 237, 93), Rgb(146, 94, 242), White},
      {Rgb(93, 233, 126), Rgb(136, 122, 244), White},
      {Rgb(46, 228, 174), Rgb(122, 182, 244), White},
      {Rgb(123, 243, 188), Rgb(71, 154, 234), White},
      {Rgb(50, 243, 50), Rgb(240, 0, 240), 0},
  };
  for (int c = 1; c <= 6; ++c) {
    for (int k = 0; k < 3; ++k) chan_colors[c][k] = table[c][k];
  }
}

}  // namespace

int ScanMuxChannel(int ask) {
  // Another scan or a scope reading has the multiplexer.
  if (mux_busy != 0) return 0;
  const BusyMux busy;
  ScanChannel(ask);
  return 0;
}

int ScanAllChannels() {
  if (mux_busy != 0) return 0;
  if (vscope_open == 0) {
    MsgBox(&main_win, "Vector Scope must be open in order to scan all channels.",
           " Need Vector Scope", kMbOk, kIconNone, true);
    return 0;
  }
  const BusyMux busy;
  const bool from_array = multichan_scan != 0;
  chan_scan_stop = 0;
  mux_ref_npoints = 0;  // an earlier run's channel 1 is no reference for this one
  FillChannelColours();
  for (int c = 1; c <= 6; ++c) {
    if (c > 1 && (chan_scan_stop != 0 || main_loop_on == 0 || vscope_open == 0 ||
                  (from_array && arrayscan_open == 0)))
      break;
    if (c != 1 && chan_enabled[c] == 0) continue;
    mux_chan = c;
    const bool scanned = ScanChannel(0);
    if (c == 1 && !ChannelOneMeasured(scanned)) break;
    if (c > 1 && scanned && !ChannelMeasured(c)) break;
  }
  mux_chan = 0;
  return 0;
}

}  // namespace vna
