// Reading the elements of the Vector Scope. Each element is read through its
// own multiplexer channel with that channel's calibration file, as a Port B
// scan of the single point freq.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/main_window.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/failed_reading.h"
#include "tools/state.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

// The scan limits a one-point scan borrows, given back afterwards.
struct SavedLimits {
  double start = start_freq, end = end_freq, delta = delta_freq;
  int points = Numscanpts;
  void Restore() const {
    start_freq = start;
    end_freq = end;
    delta_freq = delta;
    Numscanpts = points;
  }
};

// Holds mux_busy for the life of a reading.
struct BusyMux {
  BusyMux() { mux_busy = 1; }
  ~BusyMux() { mux_busy = 0; }
  BusyMux(const BusyMux&) = delete;
  BusyMux& operator=(const BusyMux&) = delete;
};

enum class Outcome { kMeasured, kSkipped, kNoMultiFile, kFailed };

// The settling time typed into the "Delay" field, kept within 10..5000 ms.
void TakeSettlingTime() {
  const double typed = std::fabs(ParseNumber(GetCtlText(win_vector_scope, kVsDelay)));
  vscope_settle_ms = std::clamp(Rnd(typed), 10, 5000);
  SetCtlText(win_vector_scope, kVsDelay, NumStr(vscope_settle_ms));
}

// A channel's calibration does not reach the scope frequency: measuring
// would need corrections the file does not have.
void OutOfRangeBox(int chan, double f) {
  SetDigits(4);
  const std::string text = "Channel" + NumStr(chan) + " is calibrated from" +
                           NumStr(cal_start_freq) + " to" + NumStr(cal_end_freq - 0.0001) +
                           " MHz.\r\nThe scope frequency" + NumStr(f) + " MHz cannot be read.";
  SetDigits(3);
  MsgBox(&main_win, text, " Frequency out of range", kMbOk, kIconExclamation, true);
}

// A reading that failed ends the reading of the elements.
void FailedReadingBox(const std::string& what, int status) {
  FailedMeasurementBox(" Vector Scope", what + " could not be read", status,
                       "The elements not read keep their last readings.");
}

// Element `chan` read through multiplexer channel `chan` at the scope
// frequency f.
Outcome MeasureElement(int chan, double f) {
  mux_chan = chan;
  if (!LoadChannelCal()) return Outcome::kNoMultiFile;
  if (PortB_cal == 0) {
    NoChannelCalBox();
    mux_chan = 0;
    return Outcome::kSkipped;
  }
  if (f < cal_start_freq || f > cal_end_freq - 0.0001) {
    OutOfRangeBox(chan, f);
    mux_chan = 0;
    return Outcome::kSkipped;
  }
  // One point at f (the calibration just loaded may have moved the limits).
  start_freq = f;
  end_freq = f + 0.1;
  delta_freq = 1;
  Numscanpts = 1;
  autorange = 1;
  mux_select = chan;
  ExternalPort();
  DelayMs(vscope_settle_ms);
  Scan_B();
  // A failed reading, or a scan halted before it measured, left no reading
  // of this element in the Port B arrays: it keeps its last one.
  if (vna_status != 0 || scanB_npoints < 1) {
    if (vna_status != 0) FailedReadingBox("Element" + NumStr(chan), vna_status);
    return Outcome::kFailed;
  }
  VectorTrace& e = vscope_elements[chan];
  e.mag = std::exp(2.302585 * s21_dB[0] / 20);
  e.phase = scanB_phase[0];
  return Outcome::kMeasured;
}

void CloseReading() {
  vscope_scanning = 0;
  if (vscope_reading_all == 0) ProgRelay(0);
  FocusForm(win_vector_scope);
  ShowVectorScopeFreq();
}

// Element 1 when enabled, then element n. False when a reading failed (the
// elements after it are not read).
bool ReadElementNow(int n) {
  if (vna_present == 0) {
    NeedsHardware();
    CloseReading();
    return true;
  }
  TakeSettlingTime();
  vscope_scanning = 1;
  const SavedLimits saved;
  const double f = freq;
  start_freq = f;
  end_freq = f + 0.1;
  delta_freq = 1;
  Numscanpts = 1;
  const Outcome first = chan_enabled[1] != 0 ? MeasureElement(1, f) : Outcome::kSkipped;
  Outcome last = first;
  if (n > 1 && first != Outcome::kNoMultiFile && first != Outcome::kFailed) {
    last = MeasureElement(n, f);
  }
  if (last == Outcome::kNoMultiFile) {
    vscope_scanning = 0;
    saved.Restore();
    return true;
  }
  freq = f;
  saved.Restore();
  if (vscope_reading_all == 0) {
    DrawVectorScope();
    DrawVectors();
  }
  CloseReading();
  return last != Outcome::kFailed;
}

// The array SWR at Port A, with the calibration of the last channel loaded.
// False when the reading failed: the SWR shown stays as it was.
bool ReadArraySwr() {
  const int saved_mode = transmission_mode, saved_port = PortB_on, saved_average = average;
  transmission_mode = 0;
  PortB_on = 0;
  AverageADC(16);
  MeasureAtFreq();
  const int status = vna_status;
  if (status == 0) {
    SetDigits(4);
    SetCtlText(win_vector_scope, kVsSwrText, " SWR = " + NumStr(swr));
    PaintBar(kSwrBarX, kSwrBarY, kSwrBarW, Rnd((kSwrBarW - 2) * (std::min(swr, 2.0) - 1)));
    SetDigits(3);
  }
  average = saved_average;
  PortB_on = saved_port;
  transmission_mode = saved_mode;
  AverageADC(average);
  if (status == 0) return true;
  FailedReadingBox("The array SWR", status);
  vna_status = status;
  return false;
}

void ShowDumpPower() {
  SetDigits(3);
  SetCtlText(win_vector_scope, kVsDumpText, " DPwr = " + NumStr(s21_dB[0]) + "dB   ");
  const double v = std::clamp(std::fabs(s21_dB[0]), 0.01, 30.0);
  PaintBar(kDumpBarX, kDumpBarY, kDumpBarW, Rnd(v / 30 * (kDumpBarW - 2)));
}

}  // namespace

void FailedMeasurementBox(const std::string& caption, const std::string& what_failed, int status,
                          const std::string& consequence) {
  // The link's own box (a silent instrument's " Hardware Reset" question, the
  // overload, the instrument lost) has said it already.
  if (FailureSaidByLink(status)) return;
  MsgBox(&main_win, what_failed + " (status" + NumStr(status) + ").\r\n" + consequence, caption,
         kMbOk, kIconExclamation, true);
}

std::string ChannelCalPath(const std::string& path, int chan) {
  const size_t name_at = path.find_last_of("\\/");
  const size_t from = name_at == std::string::npos ? 0 : name_at + 1;
  const size_t p = path.find(".chan", from);
  if (p == std::string::npos) return "";
  const std::string digits = NumStr(chan);  // " 2"
  return path.substr(0, p + 1) + "chan" + digits.substr(1, 1);
}

bool LoadChannelCal() {
  const std::string name = ChannelCalPath(cal_file_path, mux_chan);
  if (name.empty()) {
    MsgBox(&main_win, "Cal file is not available for channel" + NumStr(mux_chan) + ".",
           " No multi cal file", kMbOk, kIconExclamation, false);
    mux_chan = 0;
    return false;
  }
  cal_file_path = name;
  file_name = name;
  GetPortACal(0);
  return true;
}

void NoChannelCalBox() {
  MsgBox(&main_win,
         "Channel" + NumStr(mux_chan) + " cal file: " + QuotedPath(file_name) + "\r\n" +
             " was not found",
         " No cal file", kMbOk, kIconNone, true);
}

void PaintBar(int x, int y, int w, int fill) {
  SetPen(win_vector_scope, Black, kPenSolid, 2);
  SetFill(win_vector_scope, true, bright_yellow_color);
  DrawRect(win_vector_scope, x, y, w, kBarH);
  SetFill(win_vector_scope, true, bright_green_color);
  DrawRect(win_vector_scope, x, y, fill, kBarH);
  SetFill(win_vector_scope, false);
  SetPen(win_vector_scope, Black, kPenSolid, 1);
}

int ReadElement(int n) {
  // A scan or another reading has the multiplexer: switching it now would
  // measure the running element on the wrong channel.
  if (scan_running != 0 || mux_busy != 0) return 0;
  const BusyMux busy;
  ReadElementNow(n);
  return 0;
}

int ReadAllElements() {
  if (scan_running != 0 || mux_busy != 0) return 0;
  const BusyMux busy;
  const int e1 = chan_enabled[1];
  vscope_reading_all = 1;
  bool read = e1 == 0 || ReadElementNow(1);
  chan_enabled[1] = 0;  // read above, not again with each element
  if (read && PortA_cal > 0) read = ReadArraySwr();
  for (int n = 2; n <= 5 && read; ++n) {
    // A closed window or the end of the program ends the reading.
    if (vscope_open == 0 || main_loop_on == 0) break;
    if (chan_enabled[n] != 0) read = ReadElementNow(n);
  }
  if (read) {
    ShowDumpPower();  // the level of the last channel read
  } else {
    vscope_recycle = 0;  // RECYCLE ends at a failed reading
  }
  vscope_reading_all = 0;
  chan_enabled[1] = e1;
  DrawVectorScope();
  DrawVectors();
  if (vscope_recycle == 0) ProgRelay(0);
  return 0;
}

}  // namespace vna
