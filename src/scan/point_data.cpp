#include "scan/point_data.h"

#include <cmath>
#include <string>

#include "calibration/correct_a.h"
#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/point_display.h"
#include "scan/point_win.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "scan/voice_tone.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/tones.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"

namespace vna {

namespace {

constexpr int kFreqField = 1;
constexpr int kSingleShot = 7;
constexpr int kTune = 2;
constexpr int kToneButton = 190;
constexpr int kTuneReadings = 50000;

// Where the last Smith dot was drawn, and the zoom its chart was opened at.
int dot_x = 0, dot_y = 0;
int dot_zoom = 1;

void ClampToCalibration(double lo, double hi) {
  if (freq < lo) freq = lo;
  if (freq > hi) freq = hi;
}

// One Ports A & B reading: the Port B point first, read and corrected as
// the Port B scan reads it (gain autoranging included), then the Port A
// point of the same frequency; S21 is kept from the Port B values before
// the Port A read replaces them.
void ReadBothPorts() {
  if (!MeasurePointB()) return;
  point_s21_db = 20 * std::log10(ratio_BA);
  point_s21_deg = Zphase * 57.296;
  const int kept_mode = transmission_mode, kept_port = PortB_on;
  transmission_mode = 0;
  PortB_on = 0;
  ReadPoint_A(0);
  ReadingFailed();  // below 10 MHz the link does not test the reference itself
  transmission_mode = kept_mode;
  PortB_on = kept_port;
}

void DrawSmithDot() {
  int x = 0, y = 0;
  SmithDotPosition(x, y);
  if (point_smith_new != 0) {
    dot_x = x;
    dot_y = y;
  }
  Window& w = smith_win;
  SetXorMode(w, true);
  SetPen(w, Magenta);
  SetFill(w, true, Magenta);
  if (point_smith_new == 0) DrawCircle(w, dot_x, dot_y, 4);  // removes the last dot
  DrawCircle(w, x, y, 4);
  SetFill(w, false);
  SetXorMode(w, false);
  SetPen(w, RedColor, kPenSolid, 2);
  DrawLine(w, dot_x, dot_y, x, y);
  dot_x = x;
  dot_y = y;
  point_smith_new = 0;
  if (smith_zoom != dot_zoom) {
    // The chart is drawn again at its new zoom and the trail starts afresh.
    CloseWindow(smith_win);
    smith_drawn = 0;
    smith_open = 0;
    Smith();
    point_smith_new = 1;
    dot_zoom = smith_zoom;
  }
}

}  // namespace

void SmithDotPosition(int& x, int& y) {
  const double r = chart_scale * 0.78;
  const int cx = Rnd(r * smith_cx), cy = Rnd(r * smith_cy);
  const double radius = r * 250 * smith_zoom;
  const double nr = point_Rs - Zsm_real, ni = point_Xs - Zsm_imag;
  const double dr = point_Rs + Zsm_real, di = point_Xs + Zsm_imag;
  const double den = di * di + dr * dr;
  const double gr = (nr * dr + ni * di) / den;
  const double gi = (ni * dr - nr * di) / den;
  x = cx + Rnd(radius * gr);
  y = cy - Rnd(radius * gi);
}

int EnterFreqHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_enter_freq);
    freq_single = static_cast<float>(freq);
    SetCtlText(dlg_enter_freq, kFreqField, " " + NumStr(freq_single));
  } else if (msg_id == kEvCommand && (msg_ctl_id == kSingleShot || msg_ctl_id == kTune)) {
    const double typed = ParseNumber(GetCtlText(dlg_enter_freq, kFreqField));
    tone_on = 0;
    freq = msg_ctl_id == kSingleShot ? typed : -typed;
    CloseDialog(dlg_enter_freq, 1);
  }
  return 0;
}

void PointDataMode() {
  if (DIAGMODE <= 0 && PortB_cal <= 0 && PortA_cal <= 0) {
    if (vna_present != 0) {
      MsgBox(&main_win, "The instrument needs to be calibrated.", "Cal Problem  3377", kMbOk,
             kIconNone, true);
    }
    recycle_on = 0;
    CloseWindow(point_win);
    pointwin_run = 0;
    osc_manual = 0;
    if (point_smith != 0) CloseWindow(smith_win);
    NoteOff();
    return;
  }
  const int kept_average = average;
  const int kept_plot_s11 = plot_s11;
  dot_zoom = smith_zoom;
  freq_changed = 1;
  vna_status = 0;
  const double lo = cal_start_freq, hi = cal_end_freq;
  std::string port = "Port A";
  transmission_mode = 0;
  if (PortB_on != 0) {
    port = "Ports A & B ";
    transmission_mode = 1;
  }
  point_show_s21 = PortB_on != 0 ? 1 : 0;
  if (pointwin_run == 0) {
    OpenWindow(point_win, 0, 0, PointWinWidth, PointWinHeight,
               kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax | kWinTopmost,
               " Point Data - " + port, PointWinHandler);
    pointwin_run = 1;
  }
  if (average < 16) AverageADC(16);
  if (test_freq < lo) test_freq = lo;
  if (test_freq > hi) test_freq = hi;
  freq = test_freq;
  dlg_result = RunModal(dlg_enter_freq, &point_win);
  if (dlg_result == 1) {
    int count = 1;
    if (freq < 0) {
      count = kTuneReadings;
      freq = -freq;
      AddPointButtons();
      freq_changed = 1;
    }
    FocusForm(point_win);
    focus_win = 3;
    if (vna_present != 0) {
      relayA = relayB = 1;
      ProgRelay(3);
      DDSAmplitude(DDS_Amplitude);
      if (PortB_on != 0) StartPortBRanging();
      do {
        ClampToCalibration(lo, hi);
        test_freq = freq;
        if (PortB_on != 0) {
          ReadBothPorts();
        } else {
          ReadPoint_A(0);
          if (!ReadingFailed()) CorrectA();
        }
        pointdata_on = 1;
        ShowPointData();
        // A failed reading is shown as the data error alone: no dot on the
        // chart and no tone for values it did not measure.
        const bool read_ok = vna_status == 0;
        if (read_ok && PortB_on == 0 && point_smith > 0) DrawSmithDot();
        SetCtlText(point_win, kToneButton, tone_on != 0 ? "Tone Off" : "Tone On");
        if (read_ok && tone_on != 0) {
          PlayTone();
        } else {
          NoteOff();
          if (point_smith == 0) DelayMs(300);
        }
        PumpEvents();
        --count;
      } while (vna_status <= 0 && count != 0 && pointwin_run != 0 && main_loop_on != 0);
    }
    relayA = relayB = 0;
    checkpoint = 14352;
    ProgRelay(0);
    // The last reading stays on screen until the window is closed.
    if (count == 0) {
      while (pointwin_run != 0 && main_loop_on != 0) WaitEvents();
    }
    FocusMainWindow();
    focus_win = 1;
    pointdata_on = 1;
  }
  average = kept_average;
  RestoreAveraging(average);  // a failed reading's status stays
  CloseWindow(point_win);
  pointwin_run = 0;
  osc_manual = 0;
  if (point_smith != 0) CloseWindow(smith_win);
  NoteOff();
  point_show_s21 = 0;
  plot_s11 = kept_plot_s11;
}

}  // namespace vna
