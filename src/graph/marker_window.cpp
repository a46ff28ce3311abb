// The marker data window: the defined markers inside the scan limits, one
// row each, measured anew (or read off a recalled scan) when asked to.
#include "graph/marker_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/chart_handlers.h"
#include "graph/marker_commands.h"
#include "graph/readout_formats.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/scan_interpolation.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

constexpr int kRowStep = 20;

bool Rotated() {
  return std::fabs(marker_rotation) > 0.0001;
}

bool Listed(double f) {
  return f < 9999 && f >= start_freq && f <= end_freq;
}

// Six characters wide for every marker number, so the columns stay aligned.
std::string Label(int i) {
  const std::string n = NumStr(i);
  return n.size() == 2 ? " [ " + n + "]" : " [" + n + "]";
}

void Box(const std::string& text, const std::string& caption) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

// The first line of every listing: the stamp of a recalled scan, else now,
// over whatever stamp or time a longer text left there.
void FirstLine() {
  int right = 0, h = 0;
  ClientSize(marker_win, right, h);
  MoveTo(marker_win, 20, 3);
  PrintInLine(marker_win, right,
              {scan_recalled != 0 ? graph_stamp : DateText() + "   " + TimeText()});
}

// Measures (or, on a recalled scan, interpolates) row i anew; false when
// the reading failed (a reading without a reference too, at any frequency,
// as the scans take it), said once; the row then keeps what it held.
// Without an instrument the stored scan is the only measurement there is;
// without one either the row stays as it was.
bool Remeasure(int i) {
  freq = markers[i].Freq;
  if (scan_recalled == 0 && vna_present != 0) {
    vna_status = 0;
    MeasureAtFreq();
    if (ReadingFailed()) {
      SayReadingFailed(vna_status, " Marker Data", "The markers keep the values they had.");
      return false;
    }
  } else {
    if (StoredPointsA() < 1) return true;
    InterpolateScanAt();
    point_Rs = Zmag * std::cos(Zphase);
    point_Xs = Zmag * std::sin(Zphase);
    return_loss = ReturnLossDb((swr - 1) / (swr + 1));
  }
  if (plot_rsA == 0) {
    // The parallel form; a zero series part stands for a very large one.
    const double z2 = Zmag * Zmag;
    point_Rs = point_Rs == 0 ? 1000000 : z2 / point_Rs;
    point_Xs = point_Xs == 0 ? 1000000 : z2 / point_Xs;
  }
  Marker& m = markers[i];
  m.Rs = point_Rs;
  m.Xs = point_Xs;
  m.Phase = Zphase;
  m.SWR = swr;
  m.Rt = return_loss;
  return true;
}

// Width of the SWR bar: 2 pixels for a match, 50 from an SWR of 5 on, on a
// logarithmic scale between.
int SwrBarWidth(double s) {
  int b = s < 5 ? Rnd(std::log10(s) * 50 / std::log10(5.0) + 2) : 50;
  b = std::min(b, 50);
  return b < 1 ? 2 : b;
}

void PrintRowA(int i, int y) {
  const Marker& m = markers[i];
  const double f = m.Freq > maximumfreq ? 0 : m.Freq;
  double r = m.Rs, x = m.Xs, s = m.SWR;
  if (Rotated()) {
    point_Rs = r;
    point_Xs = x;
    RotateMarkerZ(marker_rotation);
    r = point_Rs;
    x = point_Xs;
  }
  s = std::min(s, 99.0);
  r = std::min(r, 99999.0);
  x = std::min(x, 99999.0);
  double z = std::sqrt(r * r + x * x);
  double phase = 0;
  if (z > 99999) {
    z = 99999;
  } else if (r != 0) {
    phase = std::atan(x / r) * 57.296;
  } else {
    phase = x > 0 ? 90 : x < 0 ? -90 : 0;
  }
  Window& w = marker_win;
  MoveTo(w, 20, y);
  PrintText(w, FormatUsing("  &  ###.######   ##.####   ", {Label(i), f, s}));
  const int bar_y = w.draw.pos_y + 5;
  SetPen(w, Rgb(0, 0, 0));
  SetFill(w, true, Rgb(255, 255, 255));
  DrawRect(w, 234, bar_y, 50, 10);
  SetFill(w, true, RedColor);
  DrawRect(w, 234, bar_y, SwrBarWidth(s), 10);
  SetFill(w, false);
  MoveTo(w, 300, y);
  PrintText(
      w, FormatUsing(" ######.###     ######.###       ######.###         ######.###             ",
                     {r, x, z, phase}));
}

// Row i of a Port B listing: S21 and its phase off the stored Port B scan.
void PrintRowB(int i, int y) {
  Marker& m = markers[i];
  const int n = StoredPointsB();
  const double f = m.Freq;
  if (n > 0) {
    // Between the stored points around the marker, by their own
    // frequencies: the limits and step in force may be another scan's.
    // Past the last measured point its value is shown.
    const StoredSpot at = SpotOf(scanB_freq, n, f);
    m.s21mag = at.Of(s21_dB);
    m.s21phase = at.Of(scanB_phase) * 57.296;
  }
  MoveTo(marker_win, 20, y);
  PrintText(marker_win, FormatUsing("  &  ###.######     ##.####        ####.## ",
                                    {Label(i), f > maximumfreq ? 0 : f, m.s21mag, m.s21phase}));
}

// Lets the window's buttons act between two passes.
void PauseBetweenPasses() {
  PumpEvents();
  DelayMs(300 / (marker_count + 1));
}

bool Again() {
  return recycle_on != 0 && markerwin_open != 0 && scan_running != 0;
}

void OpenMarkerWindow(bool port_b) {
  marker_count = 0;
  for (int i = 1; i <= kMaxMarkers; ++i) {
    if (markers[i].Freq > 0.001 && markers[i].Freq < maximumfreq) ++marker_count;
  }
  if (marker_count == 0 || cal_valid + scan_recalled <= 0) {
    if (cal_valid == 0 && vna_present != 0) {
      Box("The instrument needs to be calibrated.", port_b ? "" : "2587");
    } else if (marker_count == 0) {
      Box("No markers are defined", "");
    }
    return;
  }
  if (markers[1].Freq < start_freq || markers[marker_count].Freq > end_freq) {
    Box("The present set of markers are not all contained within the limits of this graph.\r"
        "Some of the data cannot be shown.",
        "Markers");
  }
  CloseWindow(marker_win);
  const int W = Rnd(900 * win_yscale);
  const int H = kRowStep * marker_count + 155;
  int ax = 0, ay = 0, aw = 0, ah = 0;
  WorkArea(ax, ay, aw, ah);
  unsigned flags = kWinCaption | kWinSysMenu | kWinMin;
  if (port_b) flags |= kWinSizing;
  OpenWindow(marker_win, ax + std::max(0, (aw - W) / 2), ay + std::max(0, (ah - H) / 2), W, H,
             flags, port_b ? "Port B Marker Data" : "Port A Marker Data", MarkerWindowHandler);
  markerwin_open = 1;
  FocusForm(marker_win);
  focus_win = 8;
  struct Btn {
    const char* text;
    int id, x;
  };
  const Btn buttons_a[] = {{"Refresh", 3174, 450}, {"Recycle", 3193, 380}, {"Save", 3177, 310},
                           {"Recall", 3178, 240},  {"Print", 3176, 170},   {"Exit", 3175, 100}};
  for (const Btn& b : buttons_a) {
    if (port_b && b.id != 3176 && b.id != 3175) continue;
    AddControl(marker_win, {CtlKind::Button, b.text, W - b.x, 3, 70, 23, 0, b.id});
  }
  if (!port_b && scan_recalled == 1) {
    EnableCtl(marker_win, 3174, false);
    EnableCtl(marker_win, 3193, false);
  }

  Window& w = marker_win;
  MoveTo(w, 20, 3);
  PrintText(w, graph_stamp);
  int y = port_b ? 28 : 23;
  if (Rotated()) {
    MoveTo(w, 20, y);
    SetTextColor(w, RedColor);
    PrintText(w, "  ***  Marker Data is Rotated by  " + NumStr(marker_rotation) + " deg ***  ");
    SetTextColor(w, Black);
    y += port_b ? 25 : 20;
  }
  MoveTo(w, 20, y);
  PrintText(w, "Reference Z =" + NumStr(Zref) + "  + j" + NumStr(Z0imag));
  MoveTo(w, 20, y + 45);
  if (port_b) {
    PrintText(w, "Marker     Freq         S21 (dB)      S21_phase     ");
  } else {
    const std::string r = plot_rsA != 0 ? "Rs" : "Rp", x = plot_rsA != 0 ? "Xs" : "Xp";
    PrintText(w, "Marker     Freq         SWR                                     " + r +
                     "                " + x + "               Zmag              Phase");
  }

  SetDigits(2);
  recycle_on = 0;
  if (port_b) {
    ListMarkers_B();
  } else {
    ListMarkers_A();
  }
  relayA = relayB = 0;
  ProgRelay(0);
  if (!port_b && markerena == 0) {
    markerena = 1;
    RedrawGraph();
    FocusForm(marker_win);
  }
  while (markerwin_open != 0 && main_loop_on != 0) WaitEvents();
  CloseWindow(marker_win);
  SetDigits(3);
}

}  // namespace

void MarkerData_A() {
  OpenMarkerWindow(PortB_on != 0);
}

void MarkerData_B() {
  OpenMarkerWindow(true);
}

void ListMarkers_A() {
  if (PortB_on != 0) {
    ListMarkers_B();
    return;
  }
  do {
    bool relays_sent = false;
    FirstLine();
    int y = 23 + (Rotated() ? 20 : 0) + 25 + 45;
    scan_running = 1;
    bool failed = false;
    for (int i = 1; i <= kMaxMarkers && !failed; ++i) {
      if (!Listed(markers[i].Freq)) continue;
      if (!relays_sent || recycle_on == 0) {
        relayA = relayB = 1;
        ProgRelay(3);
        relays_sent = true;
      }
      if (marker_measure == 1 && !Remeasure(i)) {
        // A failed reading ends the listing and Recycle; the row keeps its values.
        failed = true;
        recycle_on = 0;
        break;
      }
      PrintRowA(i, y);
      y += kRowStep;
    }
    PauseBetweenPasses();
  } while (Again());
  relayA = relayB = 0;
  ProgRelay(0);
  scan_running = 0;
}

void ListMarkers_B() {
  if (vna_present != 1) return;
  do {
    FirstLine();
    int y = 3 + 4 * kRowStep + 15;
    scan_running = 1;
    for (int i = 1; i <= kMaxMarkers; ++i) {
      if (!Listed(markers[i].Freq)) continue;
      PrintRowB(i, y);
      y += kRowStep;
    }
    PauseBetweenPasses();
  } while (Again());
  scan_running = 0;
}

}  // namespace vna
