#include "scan/scan_b.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/settings_clamp.h"
#include "files/state.h"
#include "graph/cursor_readout.h"
#include "graph/marker_window.h"
#include "graph/readout_formats.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "graph/trace_plot.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/freq_list.h"
#include "scan/group_delay.h"
#include "scan/port_b_ranging.h"
#include "scan/scan_a.h"
#include "scan/scan_common.h"
#include "scan/smoothing.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {
namespace {

constexpr double kNoDb = -200;  // a point with no transmission at all

bool scan_b_active = false;
struct ActiveScan {
  ActiveScan() { scan_b_active = true; }
  ~ActiveScan() { scan_b_active = false; }
};

double Finite(double x, double fallback) {
  return std::isfinite(x) ? x : fallback;
}

// 20 log10 of a magnitude; a zero, negative or missing one gives -200 dB.
double RatioToDb(double m) {
  return m > 1e-10 && std::isfinite(m) ? 20 * std::log10(m) : kNoDb;
}

// Values the scan changes while it runs and gives back at its end.
struct Remembered {
  int phasestyle = vna::phasestyle, s11style = vna::s11style, s21style = vna::s21style;
  int plot_Q = vna::plot_Q, plot_rt = vna::plot_rt;
  int green = Green, magenta = Magenta, red = RedColor;
  int average = 0, plot_s11 = 0, plot_insloss = 0, smoothing = 0;

  void GiveBackStylesAndColours() const {
    vna::phasestyle = phasestyle;
    vna::s11style = s11style;
    vna::s21style = s21style;
    Green = green;
    Magenta = magenta;
    RedColor = red;
  }
};

// Pixel rows of one point, and of the point before it.
struct Rows {
  int s11 = 0, s21 = 0, phase = 0, fourth = 0;
};

// The plot box of the scan: the main graph, or the Array Scan box.
struct Box {
  Window* win = &main_win;
  int left = 0, right = 0, top = 0, bottom = 0;
  bool array = false;
};

int ClampRow(double y, int previous) {
  return TraceY(y, previous);
}

int ChannelStyle(int chan) {
  switch (chan) {
    case 2:
      return kStyleCircle;
    case 3:
      return kStyleSquare;
    case 4:
      return kStyleShortDash;
    case 5:
      return kStyleWide;
    default:
      return kStylePlain;
  }
}

void DrawChannelLegend(const Box& box) {
  if (mux_chan <= 0) return;
  Window& w = win_array_scan;
  const char* texts[3] = {"Mag ", "Phase ", "SWR "};
  const int k[3] = {30, 40, 35};
  const int c = std::clamp(mux_chan, 1, 6);
  for (int row = 0; row < 3; ++row) {
    const bool first = mux_chan == 1;
    MoveTo(w, 70 * mux_chan - (first ? k[row] : 1), box.bottom + 25 + 15 * row);
    if (row == 0) {
      PrintItems(w, {first ? texts[0] : "", mux_chan});
    } else {
      PrintText(w, first ? texts[row] : "");
    }
    SetPen(w, chan_colors[c][row], kPenSolid, 8);
    const int x0 = 70 * mux_chan + 20;
    DrawLine(w, x0, box.bottom + 35 + 15 * row, x0 + 30, box.bottom + 35 + 15 * row);
  }
}

void AutoSave() {
  save_mode = 10;
  if (autosave_flipB != 1) {
    msg_text = "1";
    autosave_flipB = 1;
  } else {
    msg_text = "0";
    autosave_flipB = 0;
  }
  SaveScanB();
}

// The measured transmission of the point through the mismatch correction,
// when a compensation other than the standard one is chosen.
double MismatchCorrected(double ratio, double phase) {
  s21.r = ratio * std::cos(phase);
  s21.i = ratio * std::sin(phase);
  CorrectS21();
  return std::hypot(s21.r, s21.i);
}

// Channel 1's last scan measured point i of the list in use.
bool HasChannelOneReading(int i) {
  return i >= 0 && i < mux_ref_npoints && std::fabs(mux_ref_freq[i] - scanB_freq[i]) < 1e-9;
}

}  // namespace

void PortBNotCalibratedBox() {
  MsgBox(&main_win, "Port B is not calibrated.", "Port B needs cal", kMbOk, kIconNone, true);
}

bool ScanBInProgress() {
  return scan_b_active;
}

void ReadPortARef() {
  const int kept_mode = transmission_mode, kept_b = PortB_on;
  transmission_mode = 0;
  PortB_on = 0;
  ReadPoint_A(0);
  transmission_mode = kept_mode;
  PortB_on = kept_b;
  // The reading stays out of readA_zmag and readA_phase: they hold the
  // stored Port A scan, which its replay, its file and the noise filters
  // take point by point at its own frequencies.
  // A failed reading has said so itself; its MagRef is an older reading's.
  if (vna_status == 0 && MagRef < 50) {
    MoveTo(main_win, 100, 200);
    PrintText(main_win, "    ****   There is no reference signal from Port A at " + NumStr(freq) +
                            " MHz  ****  //78293  ");
    scan_running = 0;
    ProgRelay(0);
    // Without a reference neither port's reading means anything.
    vna_status = kStatusNoPortARef;
  }
}

void StartPortBRanging() {
  if (DIAGMODE < 1) autorange = 1;
  PortB_Gain = 1;
  PortB_Sens = 1;
  ProgGain();
}

bool MeasurePointB() {
  ReadPoint_B(0);
  // A failed reading is not ranged: its words are another reading's or
  // none, and every re-read would fail (and say so) again.
  if (vna_status != 0) return false;
  if (autorange != 0) {
    AutorangePoint([] {
      ProgGain();
      DelayMs(2);
      ReadPoint_B(0);
    });
  }
  OverloadNotice();
  if (vna_status != 0) return false;
  // Without a reference signal the ratio is no measurement, at any
  // frequency (the reading itself tests the reference above 10 MHz only).
  if (MagRef < 50) {
    vna_status = kStatusScanNoReference;
    return false;
  }
  const int g = PortB_Gain >= 1 && PortB_Gain <= 5 ? PortB_Gain : 1;
  gain_factor_B = RngGain[g];
  if (model_uhf != 1 && PortB_Sens == 2) gain_factor_B *= 4;
  ratio_BA = MagRef > 0 ? MagLoad / MagRef : 0;
  // The phase of the gain step in use as the Port B calibration measured it
  // on the through's strong signal (CorrectB takes it off only with the
  // ranging off). The jumps seen while ranging are read on the weak signal
  // of the lower steps: 3 degrees off behind 70 dB.
  if (autorange != 0) Delta_Phase -= Rng[g];
  CorrectB();
  return true;
}

namespace {

// One run of Scan_B. Its steps change the program's state as the scan goes
// (the frequency list, plot switches, relays, averaging, styles); End gives
// back what they changed, whichever step the scan ended at.
class PortBScan {
 public:
  // Settings, frequency list, plot box, colours, amplitude and gain. False
  // when the scan is refused for want of a Port B calibration.
  bool Start();
  // The gain ranging, the plot switches the scan holds, the relays and the
  // settling reading.
  void StartAndRanging();
  // The checks before the first point. False when the settling reading
  // failed, when a replay has no point stored, or when an S11 trace is
  // wanted without a Port A calibration.
  bool ReadyForPoints();
  // The points of the list, one by one, until the list, the calibration, a
  // failure or Halt ends them.
  void Points();
  // The one way out.
  void End();

 private:
  // How far the scan went: what its end gives back.
  enum class Reached {
    kRefused,   // refused before its ranging: no relay switched, no reading made
    kNoS11Cal,  // refused after its settling reading; the relays are off again
    kSetOut,    // not refused: ranged, read, and went on to its points if it could
  };

  bool PointValues(bool& read_now);
  void FollowPhase(Rows& row, double phase_px);
  void RelativeToChannelOne(Rows& row, double phase_px);
  void PointRows(Rows& row);
  void DrawPoint(const Rows& row);
  void StorePoint(const Rows& row);
  void StoreScan();
  // Ends the scan with `status`; a scan that stops also stops recycling.
  void Stop(int status);

  const bool live = live_data != 0;
  Reached reached = Reached::kRefused;
  bool points_run = false;  // the scan went through its points (it may have stored none)
  bool ok_cleared = false;  // scanb_ok was cleared for the new scan
  int failure = 0;          // status of the reading that failed; kept to the end
  Remembered kept;
  // The stored scan stays as it was until the scan stores a point of its
  // own: a scan refused or failing before it measured leaves it alone.
  StoredList stored{scanB_freq};
  int stored_ok = 0;
  Box box;
  AveragingLevels levels{};
  GroupDelay delay;
  Rows prev;
  int wrap_count = -1, wait_count = 0;
  double previous_phase = 1000;
  double s11_rl = 0;
  double point_delay = 0;
  int read_points = 0;  // points 0 .. read_points - 1 were read from the instrument
  uint64_t start_tick = 0;
};

void PortBScan::Stop(int status) {
  failure = status;
  scan_running = 0;
  recycle_on = 0;
}

bool PortBScan::Start() {
  // A replay draws what is stored whatever an earlier operation left.
  if (!live) vna_status = 0;
  if (monitor_trace != 0) SUB = "Scan_B";
  ClampSettings();
  kept = Remembered{};
  scan_running = 1;
  PortB_on = 1;
  bandscan_mode = 0;
  stored_ok = scanb_ok;
  if (live) {
    stored.Take();
    BuildFreqList(1, delta_freq);
    // Channel 1 measures the reference anew: until it has read a point, the
    // other channels have none there.
    if (multichan_scan != 0 && mux_chan <= 1) mux_ref_npoints = 0;
  } else {
    // The stored scan's own points, whatever list a Port A scan left since.
    Numscanpts = std::clamp(scanB_npoints, 0, kScanArraySize - 2);
  }
  if (smoothing < 0 || smoothing > maxsmooth) smoothing = 0;

  if (multichan_scan != 0) {
    box = {&win_array_scan, array_left, array_right, array_top, array_bottom, true};
    if (arr_styles != 0) phasestyle = s21style = s11style = ChannelStyle(mux_chan);
  } else {
    box = {&main_win, graph_left, graph_right, graph_top, graph_bottom, false};
  }
  if (vscope_open > 0 && mux_chan > 0 && mux_chan <= 6) {
    Green = chan_colors[mux_chan][0];
    Magenta = chan_colors[mux_chan][1];
    RedColor = chan_colors[mux_chan][2];
  }
  if (live) {
    DDSAmplitude(DDS_Amplitude);
    ProgGain();
    scan_from_file = 0;
    PortA_title.clear();
    scan_comment.clear();
  }
  if (live && !(PortB_cal > 0 && vna_status == 0 && PortB_Gain > 0)) {
    if (PortB_cal < 1 && vna_present > 0) PortBNotCalibratedBox();
    Stop(vna_status != 0 ? vna_status : kStatusNotCalibrated);
    return false;
  }
  reached = Reached::kSetOut;
  return true;
}

void PortBScan::StartAndRanging() {
  if (DIAGMODE < 1) autorange = 1;
  {
    Window& w = main_win;
    MoveTo(w, Rnd(graph_right + 60 * win_xscale), 5);
    SetTextColor(w, autorange == 0 ? RedColor : bg_color);
    PrintText(w, "AutoRange OFF   ");
    SetTextColor(w, Black);
  }
  if (live) {
    StartPortBRanging();
    new_mults = 1;
    if (vna_present > 0) SendLoopCounterReset();
  }
  scanloop = 0;
  transmission_mode = 1;
  PortB_on = 1;
  kept.average = average;
  kept.plot_s11 = plot_s11;
  kept.plot_insloss = plot_insloss;
  kept.smoothing = smoothing;
  levels = AveragingLevelsFor(avgweight);
  plot_rt = 0;
  plot_Q = 0;
  DrawChannelLegend(box);
  if (recycle_on == 0) CloseSmithCharts(vscope_scanning == 0 && multichan_scan == 0);
  if (live && vscope_scanning == 0) PortB_title.clear();

  freq = scanB_freq[0];
  last_x_px = box.left;
  {
    Window& w = *box.win;
    SetPen(w, bg_color, kPenSolid, 2);
    DrawLine(w, box.left, box.top - 3, box.array ? box.right - 30 : box.right, box.top - 3);
    SetPen(main_win, Black, kPenSolid, trace_width);
  }
  scan_stop = graph_end > maximumfreq ? maximumfreq : graph_end;
  scan_stop += delta_freq;
  if (live) {
    relayA = relayB = 1;
    ProgRelay(3);
  }
  delay.Start(DelayWindow(delay_smoothing, Numscanpts));
  prev.phase = graph_zero_y;
  if (live) {
    ReadPoint_B(0);
    scan_recalled = 0;
    failure = vna_status;
  }
}

bool PortBScan::ReadyForPoints() {
  // A replay with no point stored draws nothing.
  if (failure != 0 || Numscanpts < 1) return false;

  vna_status = 0;
  gain_phase_offset = 0;
  scanb_ok = 0;
  ok_cleared = true;
  if (live && vna_present != 0 && PortA_cal == 0 &&
      (plot_s11 != 0 || (arr_plot_swr != 0 && mux_chan == 1) || plot_insloss != 0)) {
    ProgRelay(0);
    MsgBox(&main_win, "Port A needs to be calibrated to plot S11.", " Cal Required   3479", kMbOk,
           kIconNone, true);
    Stop(kStatusS11NotCalibrated);
    reached = Reached::kNoS11Cal;
    return false;
  }
  return true;
}

// The point's values: its reading, or in a replay the stored ones; after
// Halt the last reading's, repeated. False: the scan ends before the point.
bool PortBScan::PointValues(bool& read_now) {
  // Halted before the first reading: the scan has no reading of its own to
  // show or store.
  if (live && scan_running == 0 && read_points == 0) return false;
  if (scan_running == 0) return true;
  if (!live) {
    freq = scanB_freq[scanloop];
    point_s21db = s21_dB[scanloop];
    Zphase = scanB_phase[scanloop];
    s11_rl = scanB_s11rl[scanloop];
    rho_phase = scanB_s11phase[scanloop];
    swr = scanB_swr[scanloop];
    return true;
  }
  // A later channel is only its difference to channel 1's reading of the
  // point: without one there is nothing to show or store.
  if (multichan_scan != 0 && mux_chan > 1 && !HasChannelOneReading(scanloop)) {
    Stop(kStatusNoChannelOneRef);
    return false;
  }
  if (plot_s11 > 0 || plot_swrB > 0) {
    ReadPortARef();
    s11_rl = return_loss;
  }
  // A point whose reading failed holds no measurement of its own (the
  // values at hand are another point's, or noise): it is neither drawn nor
  // stored, and the scan ends before it.
  if (vna_status != 0 || !MeasurePointB()) {
    const int status = vna_status;
    if (status == kStatusScanNoReference) NoReferenceText();
    Stop(status);
    return false;
  }
  read_now = true;
  double m = ratio_BA;
  if (std_comp == 0) m = MismatchCorrected(ratio_BA, Zphase);
  point_s21db = RatioToDb(m);
  Zphase = Finite(Zphase, 0);
  read_points = scanloop + 1;
  return true;
}

// The phase's row and wraps, the group delay over the step to the point
// before, and the averaging for the level of the signal.
void PortBScan::FollowPhase(Rows& row, double phase_px) {
  if (std::fabs(previous_phase - Zphase) >= 3) {
    wrap_count = 0;
  } else {
    ++wrap_count;
  }
  row.phase = ClampRow(graph_zero_y - Zphase * 57.296 * phase_px, prev.phase);
  // The step to the previous point as measured: a point the list moved off a
  // spur is not delta_freq from its neighbours.
  point_delay = delay.Step(
      Zphase, scanloop > 0 ? scanB_freq[scanloop] - scanB_freq[scanloop - 1] : delta_freq);
  if (live && autorange > 0 && fixed_avg == 0) {
    const int n = LevelAveraging(levels, point_s21db, average);
    if (n != average) RestoreAveraging(n);
  }
  previous_phase = Zphase;
}

// Only a reading is taken relative to channel 1, once: a replay's stored
// values and the repeated rest after a Halt are relative to it already.
// Channel 1's own reading becomes the reference.
void PortBScan::RelativeToChannelOne(Rows& row, double phase_px) {
  double r = DbToRatio(point_s21db);
  if (mux_chan <= 1) {
    mux_ref_ratio[scanloop] = r;
    mux_ref_phase[scanloop] = Zphase;
    mux_ref_freq[scanloop] = scanB_freq[scanloop];
    mux_ref_npoints = read_points;
    point_s21db = 0;
    Zphase = 0;
  } else {
    const double ref = mux_ref_ratio[scanloop];
    r = ref > 0 ? r / ref : 0;
    point_s21db = RatioToDb(r);
    Zphase = WrapPhase(Zphase - mux_ref_phase[scanloop]);
  }
  // The Array Scan shows each channel's phase as its difference to channel
  // 1, as it shows the magnitude as their ratio.
  row.phase = ClampRow(graph_zero_y - Zphase * 57.296 * phase_px, prev.phase);
}

// The point's column and the rows of its S11 (or SWR), S21 and fourth trace.
void PortBScan::PointRows(Rows& row) {
  double plot_freq = freq;
  // The stored points were smoothed as they were measured: a replay (a
  // loaded file with its smoothing) that averaged them again would move
  // every value along the list and store it there.
  if (smoothing != 0 && live) {
    SmoothB();
    plot_freq = freq_plot;
  }
  {
    const double x = box.left + (plot_freq - graph_start) * px_per_MHz;
    x_px = std::isfinite(x) ? std::clamp(Rnd(x), box.left, box.right) : box.left;
  }
  if (plot_swrB != 0) {
    const double at = swr_log != 0 ? graph_zero_y - swr_yscale * std::log10(swr)
                                   : graph_zero_y - swr_yscale * (swr - 1) - swr_yoffset;
    row.s11 = ClampRow(at, prev.s11);
  } else if (box.array) {
    row.s11 = ClampRow(box.bottom - (swr - 1) * swr_yscale, prev.s11);
  } else {
    row.s11 = ClampRow(graph_top - s11_rl * s11_yscale, prev.s11);
  }
  if (box.array) {
    row.s21 = ClampRow(box.bottom - DbToRatio(point_s21db) * zmag_yscale, prev.s21);
  } else {
    row.s21 =
        ClampRow(graph_top + Zero_Ref * grid_units_per_div - point_s21db * s21mag_yscale, prev.s21);
  }
  if (plot_delay != 0) {
    row.fourth = ClampRow(graph_zero_y - point_delay * delay_yscale, prev.fourth);
  } else if (plot_insloss != 0) {
    const double s21m = std::exp(2.302585 * point_s21db / 20);
    const double s11m = std::exp(2.302585 * s11_rl / 20);
    const double il = -10 * std::log10(s21m * s21m / (1 - s11m * s11m));
    row.fourth = ClampRow(graph_top + il * pwr_yscale, prev.fourth);
  } else {
    row.fourth = prev.fourth;
  }
}

// The progress line and the point's segment of every trace shown.
void PortBScan::DrawPoint(const Rows& row) {
  Window& w = *box.win;
  const int k = (OSC == 2 && DIAGMODE > 0 && !box.array) ? -6 : -3;
  if (!box.array || x_px < box.right - 30) {
    SetPen(w, progress_color, kPenSolid, 2);
    DrawLine(w, last_x_px, box.top + k, x_px, box.top + k);
  }
  if (DIAGMODE != 0 && !box.array) {
    static int last_code = -1, changes = 0;
    if (mult_code != last_code) ++changes;
    last_code = mult_code;
    progress_color = changes % 2 != 0 ? RedColor : Green;
  } else {
    progress_color = LightBlue;
  }
  if (DIAGMODE != 0 && gain_color != 0) s21style = PortB_Sens == 2 ? kStyleWide : kStylePlain;
  if (scanloop == 0) return;
  const bool light = alt_colors == 1 && !box.array;
  const int width = box.array ? 2 : trace_width;
  SetTracePen(kPenSolid, light && DIAGMODE != 0 && s21style == kStyleWide ? width + 2 : width);
  if (!light) MarkerSpacing();
  const int grey = Rgb(200, 200, 200);
  struct Trace {
    bool shown;
    int y0, y1, color, light_color, style;
  };
  const int chan = std::clamp(mux_chan, 1, 6);
  const int cycle = cycle_colors[color_index >= 0 && color_index < 8 ? color_index : 0];
  const int phase_color = wrap_count < 1 ? grey : Magenta;
  const int light_phase = wrap_count < 1 ? grey : LightMagenta;
  const Trace traces[] = {
      {!box.array && plot_phaseS21 != 0, prev.phase, row.phase, phase_color, light_phase,
       phasestyle},
      {box.array && arr_plot_phase != 0, prev.phase, row.phase, chan_colors[chan][1],
       chan_colors[chan][1], phasestyle},
      {!box.array && plot_s11 != 0, prev.s11, row.s11, Blue, LightBlue, s11style},
      {!box.array && plot_swrB != 0, prev.s11, row.s11, RedColor, LightRed, swrstyle},
      {box.array && mux_chan == 1 && arr_plot_swr != 0, prev.s11, row.s11, chan_colors[chan][2],
       chan_colors[chan][2], s11style},
      {!box.array && plots21 != 0, prev.s21, row.s21, cycle, cycle, s21style},
      {box.array && arr_plot_mag != 0, prev.s21, row.s21, chan_colors[chan][0],
       chan_colors[chan][0], s21style},
      {!box.array && plot_delay == 0 && plot_insloss != 0, prev.fourth, row.fourth, Orange,
       LightOrange, kStylePlain},
      {!box.array && plot_delay > 0 && scanloop >= 2, prev.fourth, row.fourth, Orange, LightOrange,
       delaystyle},
  };
  for (const Trace& t : traces) {
    if (!t.shown) continue;
    PlotTraceSegment(w, t.y0, t.y1, light ? t.light_color : t.color, t.style, t.color, light);
  }
  if (!box.array && plot_delay > 0 && scanloop == 2) {
    // The delay has no value at the first point: the first segment is drawn
    // as the second one continued backwards.
    SetPen(w, light ? LightOrange : Orange, kPenSolid, trace_width);
    DrawLine(w, 2 * last_x_px - x_px, 2 * prev.fourth - row.fourth, last_x_px, prev.fourth);
  }
}

// The point into the stored scan, and on to the next one.
void PortBScan::StorePoint(const Rows& row) {
  if (live && scanloop == 0) {
    // The first point of the new scan replaces the stored one.
    const int n = std::clamp(Numscanpts + 1, 0, kScanArraySize);
    std::fill(s21_dB, s21_dB + n, 0.0);
    std::fill(scanB_phase, scanB_phase + n, 0.0);
  }
  s21_dB[scanloop] = Finite(point_s21db, kNoDb);
  scanB_phase[scanloop] = Finite(Zphase, 0);
  scanB_s11rl[scanloop] = Finite(s11_rl, 0);
  scanB_s11phase[scanloop] = Finite(rho_phase, 0);
  // Its own column: the Port A scan's SWR stays the Port A scan's.
  scanB_swr[scanloop] = Finite(swr, 0);
  delay_B[scanloop] = Finite(point_delay, 0);
  ++scanloop;
  last_x_px = x_px;
  prev = row;
  freq = scanB_freq[std::min(scanloop, kScanArraySize - 1)];
  if (freq > scan_stop) scan_running = 0;
  if (freq >= maximumfreq + 1) freq = maximumfreq + 1;
  ++trace_segments;
  if (++wait_count > 4) {
    PumpEvents();  // Halt and the other windows get their turn
    wait_count = 0;
  }
}

void PortBScan::Points() {
  points_run = true;
  start_tick = TickMs64();
  trace_segments = 0;
  do {
    bool read_now = false;  // the values are this point's own reading
    if (!PointValues(read_now)) break;
    Rows row;
    const double phase_px = box.array ? phase_yscale : s21phase_yscale;
    FollowPhase(row, phase_px);
    if (multichan_scan != 0 && read_now) RelativeToChannelOne(row, phase_px);
    PointRows(row);
    if (vscope_scanning == 0) DrawPoint(row);
    StorePoint(row);
  } while (scanloop < Numscanpts && vna_status <= 0 && WithinCalibration(freq));
}

// The counts, the supply check, the date stamp and the autosave of a scan
// that went through its points.
void PortBScan::StoreScan() {
  plot_s11 = kept.plot_s11;
  last_step = delta_freq;
  // After a failure the instrument is not asked again: its supply reading
  // would fail and say so once more.
  if (live && vna_present > 0 && failure == 0) {
    CheckDCVoltage(Rnd(dc_volt_min), Rnd(dc_volt_max), 0);
  }
  if (DIAGMODE != 0) {
    const auto t = static_cast<int>(TickMs64() - start_tick);
    SetTextColor(main_win, Magenta);
    MoveTo(main_win, graph_right, graph_bottom + 10);
    PrintItems(main_win,
               {Rnd(Numscanpts * 1000.0 / std::max(t, 1) + 0.5), " pts/sec (", t, "msec)"});
    SetTextColor(main_win, Black);
  } else {
    SetPen(main_win, bg_color, kPenSolid, 2);
    DrawLine(main_win, graph_left, graph_top - 3, graph_right, graph_top - 3);
  }
  scan_npoints = scanloop;
  last_point = (live ? read_points : scanloop) - 1;
  // Only what was read is the stored scan (a halted scan's repeated rest is
  // not); a replay keeps the count it drew from.
  if (live && scanloop > 0) {
    scanB_npoints = read_points;
    scanB_limits = {start_freq, end_freq, delta_freq};
  }
  CursorReadout(graph_mid_x, (graph_top + graph_bottom) / 2);
  SetFont(main_win, "arial", font_size + 1, font_weight);
  DrawDateStamp();
  scanhdr_smooth = smoothing;
  scanhdr_avg = average;
  if (read_points > 0 && recycle_on == 0 && autosave_graph > 0 && autosave_block == 0 &&
      live_data == 1) {
    AutoSave();
  }
}

void PortBScan::End() {
  if (reached != Reached::kRefused) {
    plot_rt = kept.plot_rt;
    plot_Q = kept.plot_Q;
  }
  if (ok_cleared) scanb_ok = scanloop > 0 ? 1 : stored_ok;
  if (points_run) StoreScan();
  // Nothing of this scan was stored: the stored scan keeps its list.
  if (live && (reached == Reached::kRefused || scanloop == 0)) stored.Restore();
  // The closing of a scan that set out, also after a failed first reading.
  // A replay sends nothing to the instrument.
  if (reached == Reached::kSetOut) {
    if (live && recycle_on == 0 && vscope_scanning == 0) {
      relayA = relayB = 0;
      ProgRelay(0);
    }
    average = kept.average;
    if (live) AverageADC(average);
    smoothing = kept.smoothing;
    plot_insloss = kept.plot_insloss;
    // Over the stored scan's measured points, not the list's unmeasured rest.
    avg_delay = MeanDelay(scanB_phase, scanB_freq, std::clamp(scanB_npoints, 0, kScanArraySize));
  }
  scan_running = 0;
  kept.GiveBackStylesAndColours();
  if (reached == Reached::kSetOut && markerwin_open != 0) ListMarkers_A();
  // A scan refused for its S11 trace keeps the alternation of the trace
  // colours and the monitor's routine name.
  if (reached != Reached::kNoS11Cal) {
    alt_colors = 1 - alt_colors;
    SUB.clear();
  }
  transmission_mode = 0;
  // The closing commands (supply check, averaging) report their own
  // success, which must not cover the scan's failure.
  vna_status = failure;
}

}  // namespace

void Scan_B() {
  if (scan_b_active) return;
  const ActiveScan active;
  PortBScan scan;
  if (scan.Start()) {
    scan.StartAndRanging();
    if (scan.ReadyForPoints()) scan.Points();
  }
  scan.End();
}

}  // namespace vna
