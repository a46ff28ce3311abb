// The registry mailbox and its result CSV. Every request taken ends in an
// answer in "csvready": the CSV's path after a completed scan written whole,
// else "error" and a code, so a client never waits for a request that
// vanished nor takes an old file for a new one. The CSV holds the points the
// scan measured: the rest of a halted scan repeats a reading and is none.
#include "shell/mailbox.h"

#include <cmath>

#include "files/read_errors.h"
#include "files/read_limits.h"
#include "files/settings.h"
#include "graph/clear_graph.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/store.h"
#include "platform/ui.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/stored_scan.h"

namespace vna {
namespace {

// The most points a frequency list holds.
long ListCapacity() {
  return std::min<long>(max_points - 1, 30010);
}

void ShowInvalid(const std::string& message) {
  SetTextColor(main_win, RedColor);
  MoveTo(main_win, 100, 100);
  PrintItems(main_win, {"   INVALID data in external control file: " + message + "         "});
  SetTextColor(main_win, Black);
}

std::string ErrorAnswer(int code) {
  return "error" + NumStr(code);
}

// One request whose "dataready" was seen: takes the limits, answers it.
void TakeRequest() {
  start_freq = ParseNumber(StoreRead(regctl_key, "startfreq", "Start not found"));
  end_freq = ParseNumber(StoreRead(regctl_key, "endfreq", "End freq not found"));
  delta_freq = ParseNumber(StoreRead(regctl_key, "deltafreq", "delta not found"));
  PortB_on = Rnd(ParseNumber(StoreRead(regctl_key, "scanport", "0")));
  StoreWrite(regctl_key, "dataready", "null");

  std::string message;
  vna_status = ValidateControlLimits(message);
  if (vna_status != 0) {
    ShowInvalid(message);
    StoreWrite(regctl_key, "csvready", ErrorAnswer(vna_status));
    return;
  }
  if (scan_running != 0) {
    vna_status = kCtlScanRunning;
    StoreWrite(regctl_key, "csvready", ErrorAnswer(vna_status));
    return;
  }
  if (PortB_on != 0 && PortB_cal < 1) {
    // Refused before the menus are rebuilt: without a Port B calibration
    // the rebuild sets Port A, and the request would be scanned as one.
    // The client has its answer before the box waits for a person.
    vna_status = kStatusNotCalibrated;
    StoreWrite(regctl_key, "csvready", ErrorAnswer(vna_status));
    PortBNotCalibratedBox();
    return;
  }
  PortA_title.clear();
  FreqGrid();
  ClearGraph();
  DrawGraph();
  SetScanCaptions();
  if (PortB_on != 0) {
    Scan_B();  // from the clean status of the checks above
  } else {
    vna_status = kCtlNotScanned;  // the scan sets its own status once it runs
    Scan_A();
  }
  // A scan halted before its first reading leaves the stored scan as it was:
  // its points are no answer to this request.
  if (vna_status == 0 && (scan_npoints < 1 || ControlCsvPoints() < 1)) {
    vna_status = kCtlNothingMeasured;
  }
  if (vna_status != 0) {
    StoreWrite(regctl_key, "csvready", ErrorAnswer(vna_status));
    return;
  }
  if (!WriteControlCsv()) {
    vna_status = kCtlCsvNotWritten;
    StoreWrite(regctl_key, "csvready", ErrorAnswer(vna_status));
    return;
  }
  StoreWrite(regctl_key, "csvready", control_csv);
}

}  // namespace

int ControlCsvPoints() {
  return PortB_on != 0 ? StoredPointsB() : StoredPointsA();
}

long ControlPointCount(double start, double end, double delta) {
  if (!(delta > 0)) return 0;
  return static_cast<long>(std::floor((end - start) / delta + 1e-6)) + 1;
}

int ValidateControlLimits(std::string& message) {
  int code = 0;
  if (delta_freq < 0.001 || delta_freq > 1) {
    code = kCtlDeltaRange;
    message = "Delta Freq is outside of limits, 1KHz to 1MHz ";
  }
  if (end_freq < 0.01 || end_freq > maximumfreq + 0.0001) {
    code = kCtlEndRange;
    message = "End Freq is outside of limits, 10KHz to " + NumStr(maximumfreq) + "  ";
  }
  if (start_freq < 0.005 || start_freq > maximumfreq) {
    code = kCtlStartRange;
    message = "Start Freq is outside of limits, 5KHz to " + NumStr(maximumfreq) + "  ";
  }
  if (code != 0) return code;
  // Limits each in range can still make no list or a list too long for the
  // arrays; the scan would then measure another range than the one asked.
  if (end_freq <= start_freq) {
    message = "End Freq is not above Start Freq  ";
    return kCtlEndNotAboveStart;
  }
  const long points = ControlPointCount(start_freq, end_freq, delta_freq);
  if (points > ListCapacity()) {
    message = "Too many points:" + NumStr(points) + ", at most" + NumStr(ListCapacity()) + "  ";
    return kCtlTooManyPoints;
  }
  return 0;
}

// False, after the mailbox's box that switches it off, when the store may
// not be read: a file far larger than its values, or none at all.
bool StoreUsable() {
  int64_t size = 0;
  const StoreState state = StoreCheck(&size);
  if (state == StoreState::kOk) return true;
  std::string why = state == StoreState::kTooLarge
                        ? "The registry file named: " + QuotedPath(StoreFile()) + "\r" +
                              TooLargeText(size, "the mailbox's registry file")
                        : NotReadText(StoreFile());
  if (why.empty()) why = "The registry file named: " + QuotedPath(StoreFile()) + " went away.";
  MsgBox(&main_win, why + "\rExternal control is switched off.",
         " Cannot use registry external control", kMbOk, kIconExclamation, false);
  regctl_mode = 1;
  return false;
}

void RegistryControl() {
  if (!StoreUsable()) return;
  if (!StoreCreateKey(regctl_key)) {
    // The key is a section of the registry file: the file could not be written.
    MsgBox(&main_win,
           "Registry Key Creation failed:\rthe registry file named: " + QuotedPath(StoreFile()) +
               "\rcannot be written.\rExternal control is switched off.",
           " Cannot use registry external control", kMbOk, kIconExclamation, false);
    regctl_mode = 1;
    return;
  }
  while (main_loop_on > 0 && regctl_mode > 1 && vna_present != 0) {
    if (!StoreUsable()) return;
    if (regctl_mode == 3) {
      SetTextColor(main_win, Green);
      MoveTo(main_win, 1, 1);
      PrintItems(main_win, {TimeText() + "       "});
      SetTextColor(main_win, Black);
    }
    const std::string ready = StoreRead(regctl_key, "dataready", "null");
    if (ready.find("null") == std::string::npos) TakeRequest();
    DelayMs(500);
    PumpEvents();
  }
}

std::string ControlCsvLineA(int p) {
  const double swr = scanA_swr[p];
  const double rho = (swr - 1) / (swr + 1);
  // A perfect match has no finite return loss: written as that of rho 1e-6.
  const double return_loss = 20 * std::log10(rho > 0 ? rho : 1e-6);
  const float f = static_cast<float>(scanA_freq[p] + 0.0000005);
  std::string line = NumStr(f);
  for (double v : {swr, scanA_Rs[p], scanA_Xs[p], scanA_zmag[p], scanA_phase[p] * 57.2958, rho,
                   return_loss, 100 * (rho * rho)}) {
    line += ", " + NumStr(v);
  }
  return line;
}

std::string ControlCsvLineB(int p) {
  std::string line = FormatUsing("###.#######", {scanB_freq[p]});
  for (double v : {s21_dB[p], scanB_phase[p] * 57.29588, delay_B[p] * 0.001}) {
    line += ", " + NumStr(v);
  }
  return line;
}

bool WriteControlCsv() {
  TextFile f;
  if (OpenTextFile(f, control_csv, "W") != 0) {
    MsgBox(&main_win,
           "Data file: " + control_csv + " is not available for writing.\r" +
               "It may be in use by another program.",
           "No control file", kMbOk, kIconNone, true);
    return false;
  }
  SetDigits(6);
  WriteText(f, "Created: " + DateText() + "  " + TimeText());
  WriteText(f, "VNA version " + prog_ver + prog_subver);
  WriteText(f, "\"" + PortA_title + "\"");
  WriteText(f, "Z0," + NumStr(Zref));
  if (PortB_on != 0) {
    WriteText(f, "Freq(MHz),  S21mag(dB), S21phase(deg), Delay(usec)");
  } else {
    WriteText(f, "Freq(MHz),SWR,Rs,Xs,Zmag,Phase(deg),Rho,ReturnLoss,%ReflectedPower");
  }
  const int points = ControlCsvPoints();
  for (int p = 0; p < points; ++p) {
    WriteText(f, PortB_on != 0 ? ControlCsvLineB(p) : ControlCsvLineA(p));
  }
  const bool whole = f.write_error == 0;
  if (CloseTextFile(f) != 0 || !whole) {
    MsgBox(&main_win,
           "Data file: " + control_csv + " is not available for writing.\r" +
               "It may be in use by another program.",
           "No control file", kMbOk, kIconNone, true);
    return false;
  }
  return true;
}

}  // namespace vna
