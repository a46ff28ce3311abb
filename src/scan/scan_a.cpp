#include "scan/scan_a.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/scan_file_a.h"
#include "files/settings.h"
#include "files/settings_clamp.h"
#include "files/state.h"
#include "graph/cursor_readout.h"
#include "graph/marker_window.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "graph/trace_plot.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/point_reads.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/freq_list.h"
#include "scan/replayed_points.h"
#include "scan/resonance.h"
#include "scan/scan_common.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

// The results under and over the graph: minimum SWR, the comment of a
// replayed file, the resonances and the resolution warning. A scan whose
// reads failed prints none: why it failed ("=== No data") stands above the
// graph, and results of the readings it repeated would be printed over it.
void PrintResults(long zmag_steps, int points, bool failed) {
  Window& w = main_win;
  scan_npoints = std::max(scanloop, 1);
  if (failed) return;
  if (plot_swrA != 0) {
    MoveTo(w, graph_left + 25, line0_y);
    PrintText(w, "Min SWR = " + FormatUsing("###.##", {min_swr}) + " @ " + NumStr(min_swr_freq) +
                     "MHz   ");
  }
  if (live_data == 0) {
    SetTextColor(w, Blue);
    PrintText(w, "   " + scan_comment);
    SetTextColor(w, Black);
  }
  if (resonance_freqs[0] > 0) {
    MoveTo(w, graph_left + 25, line1_y);
    SetDigits(6);
    TextItems items{"Resonant freq: "};
    const int shown = graph_right >= 550 ? 5 : 3;
    for (int i = 0; i < shown && resonance_freqs[i] > 0; ++i) {
      if (i > 0) items.emplace_back(",");
      items.emplace_back(resonance_freqs[i]);
      items.emplace_back(" ");
    }
    items.emplace_back("   ");
    PrintItems(w, items);
  }
  // The steps were summed over the points measured.
  const long average_step = zmag_steps / std::max(points, 1);
  const int height = graph_bottom - graph_top;
  const long percent = height > 0 ? average_step * 100 / height : 0;
  if (percent > lowres_tol) {
    MoveTo(w, 75, 50);
    PrintItems(w, {"Low Freq Resolution:  delta Z avg= ", static_cast<int>(percent),
                   "% f.s.,    tol=", lowres_tol, "%"});
  }
}

bool scan_a_active = false;  // a Port A scan runs (its window events may call it again)

// Marks the scan as running for as long as it lives.
struct ActiveScan {
  ActiveScan() { scan_a_active = true; }
  ~ActiveScan() { scan_a_active = false; }
};

void AutoSave() {
  save_mode = 10;
  if (autosave_flipA == 1) {
    msg_text = "0";
    autosave_flipA = 0;
  } else {
    msg_text = "1";
    autosave_flipA = 1;
  }
  SaveScanA();
}

}  // namespace

bool ScanAInProgress() {
  return scan_a_active;
}

void Scan_A() {
  // A scan key pressed while a scan lets window events through would start a
  // second scan inside the first, over the same arrays.
  if (scan_a_active) return;
  const ActiveScan active;
  ClampSettings();
  scan_running = 1;
  InitFreqPlan();
  PortB_on = 0;
  vna_status = 0;
  cal_ndx_A = 0;
  if (smoothing < 0 || smoothing > maxsmooth) smoothing = 0;
  const bool live = live_data != 0;
  int failure = 0;        // status of the first failure; kept to the end
  bool measured = false;  // at least one point went into the arrays
  int read_points = 0;    // points 0 .. read_points - 1 were read from the instrument
  bool nothing_stored = false;
  StoredList stored(scanA_freq);
  const int stored_ok = scana_ok;
  bool set_out = false;          // the scan passed its checks and went to the instrument
  bool relays_switched = false;  // this scan switched the relays on

  if (live) {
    DDSAmplitude(DDS_Amplitude);
    PortB_Sens = 1;
    PortB_Gain = 1;
    ProgGain();
    scanloop = 0;
    stored.Take();
    BuildFreqList(1, delta_freq);
  } else {
    // The stored scan's own points, whatever list a Port B scan left since.
    Numscanpts = std::clamp(scanA_npoints, 0, kScanArraySize - 2);
  }

  if (live && (vna_status != 0 || PortA_cal <= 0)) {
    if (vna_present != 0) {
      MsgBox(&main_win, "The instrument needs to be calibrated.", "Cal Problem  4482", kMbOk,
             kIconNone, true);
    }
    failure = vna_status != 0 ? vna_status : kStatusNotCalibrated;
  } else if (Numscanpts < 1 && live) {
    // Only band skip can leave the list empty.
    MsgBox(&main_win, "No frequency of the scan limits lies in a band of the band skip.",
           " Band Skip", kMbOk, kIconNone, true);
    failure = kStatusEmptyList;
  } else if (Numscanpts < 1) {
    nothing_stored = true;  // a replay with no point draws nothing
  }
  if (failure != 0) {
    scan_running = 0;
    recycle_on = 0;
  }

  uint64_t start_tick = 0;
  long zmag_steps = 0;
  if (failure == 0 && !nothing_stored) {
    scanloop = 0;
    transmission_mode = 0;
    if (live) {
      PortA_title.clear();
      scan_comment.clear();
      scan_from_file = 0;
    }
    swr = -1;
    freq = scanA_freq[0];
    scan_stop = scanA_freq[Numscanpts - 1];
    if (recycle_on == 0) CloseSmithCharts(true);
    StartTracePlot();
    if (graph_end > maximumfreq) scan_stop = maximumfreq;
    scan_stop = std::min(scan_stop + delta_freq, maximumfreq);
    if (live && recycle_on < 2) {
      ProgRelay(3);
      relays_switched = true;
    }
    if (live && vna_present > 0) SendLoopCounterReset();
    if (live) {
      set_out = true;
      new_mults = 1;
      ReadPoint_A(0);  // settling read, not stored
      scan_recalled = 0;
    }
    if (vna_status != 0) {
      failure = vna_status;
      scan_running = 0;
    }
  }

  if (failure == 0 && !nothing_stored) {
    int delay_count = 0;
    start_tick = TickMs64();
    do {
      if (live) {
        // After Halt nothing more is read: the last reading is drawn again,
        // dotted, at every remaining point, and stored there, but it is no
        // measured point. Halted before the first reading, the scan has no
        // reading of its own to show or store.
        if (scan_running == 1) {
          ReadPoint_A(0);
          if (vna_status == 0 && MagRef < 50) {
            NoReferenceText();
            vna_status = kStatusScanNoReference;
          }
          // A failed reading is no point of the scan: it is neither drawn
          // nor stored, and the scan ends before it.
          if (vna_status != 0) {
            failure = vna_status;
            scan_running = 0;
            recycle_on = 0;
            break;
          }
          read_points = scanloop + 1;
        } else if (read_points == 0) {
          break;
        }
        readA_zmag[scanloop] = Zmag;
        readA_phase[scanloop] = Zphase;
      } else {
        ReplayPointA(scanloop);
      }
      if (scanloop == 0) {
        // Cleared only once the first point is at hand, so a scan that
        // measures nothing leaves the stored values alone.
        std::fill(scanA_swr, scanA_swr + Numscanpts + 1, 0.0);
        std::fill(scanA_zmag, scanA_zmag + Numscanpts + 1, 0.0);
        std::fill(scanA_phase, scanA_phase + Numscanpts + 1, 0.0);
        measured = true;
        scana_ok = 0;
      }
      scanA_Rs[scanloop] = point_Rs;
      scanA_Xs[scanloop] = point_Xs;
      PlotPointA();
      // The resolution of the trace is judged on the points measured.
      if (scanloop > 0 && (!live || scanloop < read_points)) zmag_steps += zmag_y_step;
      scanA_freq[scanloop] = smoothing != 0 ? freq_plot : freq;
      scanA_swr[scanloop] = swr;
      scanA_zmag[scanloop] = Zmag;
      scanA_phase[scanloop] = Zphase;

      ++scanloop;
      freq = scanA_freq[scanloop];
      if (freq > scan_stop) scan_running = 0;
      if (freq >= maximumfreq + 1) freq = maximumfreq + 1;
      if (++delay_count > 10 && live) {
        DelayMs(1);  // Halt and the other windows get their turn
        delay_count = 0;
      }
    } while (scanloop < Numscanpts && WithinCalibration(freq));
  }

  // The points that are the stored scan from now on: those read, or in a
  // replay those drawn.
  const int points = live ? read_points : scanloop;
  if (measured && points > 0) {
    last_step = delta_freq;
    scana_ok = 1;
    if (DIAGMODE != 0) {
      const auto elapsed = static_cast<int>(TickMs64() - start_tick);
      const double rate = Numscanpts * 1000.0 / (elapsed + 1);
      SetTextColor(main_win, Magenta);
      MoveTo(main_win, graph_right, graph_bottom + 10);
      PrintItems(main_win, {Rnd(rate + 0.5), " pts/sec (", elapsed, "msec)"});
      SetTextColor(main_win, Black);
    }
    // After a failure the instrument is not asked again: its supply reading
    // and the markers' readings would fail and say so once more.
    if (vna_present > 0 && failure == 0) CheckDCVoltage(Rnd(dc_volt_min), Rnd(dc_volt_max), 0);
    if (markerwin_open != 0 && failure == 0) ListMarkers_A();
    if (recycle_on == 0) {
      relayA = 0;
      relayB = 0;
      ProgRelay(0);
    }
    // Only what was read is the stored scan: the repeated rest of a halted
    // scan is drawn but never saved, replayed or searched as measured points.
    last_point = points - 1;
    if (live) {
      scanA_npoints = points;
      scanA_limits = {start_freq, end_freq, delta_freq};
    }
    SetFont(main_win, "arial", font_size + 1, font_weight);
    DrawDateStamp();
    FindResonances();
    PrintResults(zmag_steps, points, failure != 0);
    SetDigits(3);
    scan_running = 0;
    rescan_on = 0;
  } else if (live) {
    // Nothing of this scan is stored: the stored scan stays as it was. A
    // scan that set out to measure says it measured nothing.
    stored.Restore();
    scana_ok = stored_ok;
    if (set_out) scan_npoints = 0;  // this scan stored no point
    if (relays_switched && recycle_on == 0) {
      relayA = 0;
      relayB = 0;
      ProgRelay(0);
    }
  }

  // The ending, also of a scan that measured nothing.
  FocusMainWindow();
  if (measured) {
    scanhdr_smooth = smoothing;
    scanhdr_extra = scan_extra_value;
    scanhdr_avg = average;
    scanhdr_zref = Zref;
    scanhdr_z0imag = Z0imag;
  }
  scan_running = 0;
  rescan_on = 0;
  alt_colors = 1 - alt_colors;
  CursorReadout(graph_mid_x, (graph_top + graph_bottom) / 2);
  EndTracePlot();
  // Only a scan that read points is saved: saving nothing would replace the
  // older of the two auto-saved scans with a copy of the stored one.
  if (read_points > 0 && recycle_on == 0 && autosave_graph > 0 && autosave_block == 0 &&
      live_data == 1) {
    AutoSave();
  }
  vna_status = failure;  // 0 after a good scan, whatever the supply check said
}

}  // namespace vna
