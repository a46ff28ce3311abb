#include "scan/band_scan.h"

#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/measurement_reply.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr int kMaxEmptyReads = 50000;
// Empty reads in a row after which the stream has stopped: the longest wait
// a measurement reply gets (Get_Raw_Data at its highest averaging).
constexpr int kSilentReads = 1000;
constexpr int kMaxReadings = 30000;
constexpr double kDipSpan = 0.03;  // MHz blanked after a sudden drop

// Settings the band scan changes for its pass and gives back.
struct Kept {
  int gain_a, gain_b;
  double delta, ruler;
};

void Restore(const Kept& k) {
  delta_freq = k.delta;
  swr_ruler = k.ruler;
  PortA_Gain = k.gain_a;
  PortB_Gain = k.gain_b;
  ProgGain();
}

void SendByte(int b) {
  SendData(std::string(1, static_cast<char>(b)), 1);
}

std::string TuningWord(double mhz) {
  const double clock = model_uhf != 0 ? DDS_Clk * dds_mult2 : osc_freq;
  return HexDigits(Rnd64(dds_scale * mhz / clock + 0.5), 8);
}

void Say(int x, int y, const std::string& text) {
  MoveTo(main_win, x, y);
  PrintText(main_win, text);
}

// The pass: draws every level as it arrives until the end marker, Halt, a
// silent instrument or the most readings a pass may hold. False when the
// instrument stopped sending part way (no end marker came before it fell
// silent) or went away.
bool Pass(int estimate) {
  DrawGraph();
  DrawDateStamp();
  SetPen(main_win, LightRed);
  DrawLine(main_win, graph_left, graph_top, graph_right, graph_top);
  SetTextColor(main_win, Black);
  Say(450, 450, "5 dB per vertical div");
  Say(450, 470, "Click Rescan button to repeat Band Scan");
  Say(450, 500, "Click HALT to stop scan");
  Say(450, 520, "Scan time approx = " + NumStr(estimate).substr(1) + " sec");

  const double fs = freq_comp * start_freq, fe = freq_comp * end_freq;
  const double fd = freq_comp * delta_freq;
  last_step = fd;
  SendData("N" + TuningWord(fs), 9);
  SendData(TuningWord(fe), 8);
  SendData(TuningWord(fd), 8);

  SetDigits(3);
  const int height = graph_zero_y - graph_top;
  const double per_decade = 0.4 * height;
  const double top_scale = std::pow(10, 2.5) / 1200;  // a level of 1200 reaches the top
  const int dip_threshold = Rnd(0.1 * height);
  int history[4] = {};  // the last four levels drawn
  scanloop = 0;
  double d = fs + 0.0025;
  double dip_freq = -1;
  int readings = 0, empty_reads = 0, gate_count = 0, previous_l0 = 0, high = -1;
  int quiet = 0;             // empty reads since the last byte
  bool marker_seen = false;  // an early end marker: the stream may have ended there
  bool silent = false;
  bool gate_open = false;
  while (scan_running != 0 && main_loop_on != 0) {
    // The read before the pass gives up looks at the line, whatever reads a
    // wait that lasted longer (a busy machine) still owes: a level that came
    // meanwhile is no stopped stream.
    const bool last = quiet >= kSilentReads || empty_reads >= kMaxEmptyReads;
    if (ReadOneByte(high < 0 ? 2 : 1, last ? 1 : 0) == 0) {
      port_status = 0;
      ++empty_reads;
      if (empty_reads % 101 == 0) PumpEvents();
      if (empty_reads > kMaxEmptyReads) break;
      if (++quiet > kSilentReads) {
        silent = !marker_seen;
        break;
      }
      continue;
    }
    quiet = 0;
    if (high < 0) {
      high = rx_byte[0];
      continue;
    }
    const int value = high * 256 + rx_byte[0];
    high = -1;
    ++readings;
    // The end marker is no level: drawn, it would stand as a peak far above
    // the scale at the end of the sweep.
    if (value == kBandScanEnd && readings > 15) break;
    if (value == kBandScanEnd) marker_seen = true;
    const int x = Rnd((d - graph_start) * px_per_MHz + graph_left);
    int level = value - 5;
    const int l0 = level;
    if (level < 2) level = 2;
    if (level < previous_l0) level = previous_l0;  // peak hold over two readings
    previous_l0 = l0;
    const int h = Rnd(per_decade * std::log10(top_scale * level));
    int y = graph_zero_y - (h < 1 ? 1 : h);
    // Noise gate: three readings above the floor open it, two below close it.
    if (h > 1) {
      if (++gate_count > 2) {
        gate_count = 2;
        gate_open = true;
      }
    } else if (h < 1) {
      gate_count = gate_count > 1 ? 0 : gate_count - 1;
      if (gate_count < -1) {
        gate_open = false;
        gate_count = 0;
      }
    }
    if (!gate_open) y = graph_zero_y;
    SetPen(main_win, Green, kPenSolid, trace_width);
    const int shown = graph_zero_y - y;
    const int three_before = history[(scanloop + 1) % 4];
    history[scanloop % 4] = shown;
    if (three_before > shown + dip_threshold && dip_freq < 0) dip_freq = d;
    if (dip_freq >= 0) {
      if (d < dip_freq + kDipSpan) {
        y = graph_zero_y;
      } else {
        dip_freq = -1;
      }
    }
    DrawLine(main_win, x, graph_zero_y + 1, x, y);
    scanA_freq[scanloop] = d;
    scanA_swr[scanloop] = (graph_zero_y - y) * 50.0 / height;
    d += delta_freq;
    last_x_px = x;
    ++scanloop;
    Say(450, 550, " Scan Freq = " + NumStr(d) + "     ");
    SendByte(1);
    // A line that keeps up with the stream leaves no empty read to let Halt
    // through: the readings let events through as often.
    if (readings % 101 == 0) PumpEvents();
    if (readings > kMaxReadings) break;
  }
  const bool lost = vna_present == 0;  // the link went away meanwhile, and said so
  scan_running = 0;
  return !silent && !lost;
}

// The stream stopped part way: said once, as a point read without data
// says it (the instrument gone has been said by the link already).
void SayStreamStopped(double stopped_at) {
  if (vna_present == 0 || hw_reset_prompt == 0) return;
  const double kept = freq;
  freq = stopped_at;
  HardwareResetBox();
  freq = kept;
}

}  // namespace

void BandScan() {
  relayA = 1;
  relayB = 0;
  ProgRelay(1);
  const Kept kept{PortA_Gain, PortB_Gain, delta_freq, swr_ruler};
  PortA_Sens = 2;
  bandscan_mode = 1;
  PortA_Gain = bandscan_sens == 2 ? 2 : 1;
  PortB_Sens = 1;
  PortB_Gain = 1;
  ProgGain();
  DDSPower(2);
  swr_ruler = 0;
  if (delta_freq > 0.002) delta_freq = 0.001;
  int estimate = 5 * Rnd((end_freq - start_freq) / delta_freq / 333 / 5);
  if (estimate < 3) estimate = 2;
  if (end_freq > 200) {
    const std::string nl = "\r\n";
    const int answer =
        MsgBox(&main_win,
               "200 MHz is recommended as the maximum frequency" + nl + "limit for a Band Scan." +
                   nl + "The specified limit now is " + NumStr(end_freq) + "." + nl +
                   "The results may be unreliable." + nl + nl + "Do you want to continue ?",
               " Warning: Large Upper Freq Limit", kMbYesNo, kIconNone, true);
    if (answer != kIdYes) {
      ProgRelay(0);
      Restore(kept);
      return;
    }
  }
  // The levels overwrite the Port A scan arrays: no Port A scan is held now.
  scana_ok = 0;
  scanA_npoints = 0;
  scan_running = 1;
  const bool whole = Pass(estimate);
  if (!whole) SayStreamStopped(start_freq + scanloop * delta_freq);
  for (int i = 0; i < 3; ++i) {
    DelayMs(10);
    SendByte(2);
  }
  // The query brings the link back to single replies; an instrument given
  // up for lost is not asked.
  if (vna_present != 0) {
    const int diag = DIAGMODE;
    DIAGMODE = 0;
    GetVersion(0);
    DIAGMODE = diag;
  }
  relayA = relayB = 0;
  ProgRelay(0);
  Restore(kept);
  scan_running = 0;
  FocusMainWindow();
  // The closing query must not cover the pass's failure.
  if (!whole) vna_status = kStatusNoData;
}

}  // namespace vna
