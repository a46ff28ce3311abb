// Menu commands of the File, Functions, Calibrate, Bands, Multi Channel and
// TDR menus. Most hand over at once to a routine of another subsystem; the
// rows say what the dispatch itself decides.
#include <cmath>

#include "calibration/cal_file.h"
#include "calibration/cal_port_a.h"
#include "calibration/cal_port_b.h"
#include "calibration/line_extension.h"
#include "calibration/multichannel.h"
#include "calibration/ref_to_antenna.h"
#include "calibration/state.h"
#include "files/auto_save.h"
#include "files/file_commands.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/scan_file_common.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/tdr_file.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "graph/styles.h"
#include "graph/text_panels.h"
#include "graph/window_bitmap.h"
#include "instrument/commands.h"
#include "instrument/diag_graph.h"
#include "instrument/state.h"
#include "instrument/test_panels.h"
#include "platform/draw.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/band_scan.h"
#include "scan/noise_filters.h"
#include "scan/scan_limits.h"
#include "scan/state.h"
#include "shell/command_table.h"
#include "shell/commands.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/bandwidth.h"
#include "tools/channel_scan.h"
#include "tools/crystal.h"
#include "tools/distance_to_fault.h"
#include "tools/q_measurement.h"
#include "tools/state.h"
#include "tools/tdr.h"
#include "tools/tuning_stub.h"
#include "tools/vector_scope.h"

namespace vna {
namespace {

constexpr const char* kLastTdrFile = "last_VNATDR_file.tdr";

void LoadGraph() {
  if (tdr_mode != 0) {
    LoadTDR(0);
  } else if (PortB_on != 0) {
    LoadScanB();
  } else {
    LoadScanA();
  }
  scan_from_file = 1;
}

// A graph is saved with a title: without one the comment is asked first,
// once it is known there are measured points to save.
void SaveGraph() {
  save_mode = 0;
  if (tdr_mode == 0 && !StoredScanSavable(PortB_on != 0, true)) return;
  if (CurrentTitle().size() < 2) {
    EnterComment();
    CurrentTitle() = msg_text;
    DrawTitle();
  }
  if (PortB_on != 0) {
    SaveScanB();
  } else {
    SaveScanA();
  }
}

void SaveImageBitmap() {
  dialog_folder = bmp_folder.empty() ? ProgramFolder() : bmp_folder;
  file_name = FileDialog(" Save BitMap", &main_win, true, "Bitmap Files(*.bmp)|*.bmp||", "bmp",
                         dialog_folder);
  if (file_name.size() > 2) {
    bmp_file = file_name;
    msg_text = file_name;
    SplitPath();
    bmp_folder = aux_text;
  }
  if (file_name.empty()) return;
  int w = 0, h = 0;
  OuterSize(main_win, w, h);
  SaveBitmap(file_name, main_win, 0, 0, w, h);
}

void PrintFocusWindow() {
  Window* w = focus_win == 1   ? &main_win
              : focus_win == 5 ? &smith_win
              : focus_win == 6 ? &smith2_win
                               : nullptr;
  if (w) PrintWindowImage(*w);
}

void CalibrateRange(const char* label, int band, double start, double end, double step) {
  msg_text = label;
  cal_band = band;
  cal_start_freq = start;
  cal_end_freq = end;
  cal_delta_freq = step;
  CalA();
}

struct CalRange {
  double *start, *end, *delta, *start_def, *end_def, *delta_def;
};
const CalRange kCalRanges[4] = {
    {&BCcalStart, &BCcalEnd, &BCcalDelta, &BCcalStart_def, &BCcalEnd_def, &BCcalDelta_def},
    {&HFcalStart, &HFcalEnd, &HFcalDelta, &HFcalStart_def, &HFcalEnd_def, &HFcalDelta_def},
    {&VHFcalStart, &VHFcalEnd, &VHFcalDelta, &VHFcalStart_def, &VHFcalEnd_def, &VHFcalDelta_def},
    {&UHFcalStart, &UHFcalEnd, &UHFcalDelta, &UHFcalStart_def, &UHFcalEnd_def, &UHFcalDelta_def},
};

// The four "Band n  start= ..." lines, of the present or the default limits.
std::string CalRangeLines(bool defaults) {
  std::string text;
  for (int n = 0; n < 4; ++n) {
    const CalRange& r = kCalRanges[n];
    if (n > 0) text += "\r\n";
    text += "Band" + NumStr(n + 1) + "  start= " + NumStr(defaults ? *r.start_def : *r.start) +
            "  | stop= " + NumStr(defaults ? *r.end_def : *r.end) +
            "  | delta= " + NumStr(defaults ? *r.delta_def : *r.delta);
  }
  return text;
}

void RestoreDefaultCalRanges() {
  msg_text =
      "Do you want to restore the default cal Start/Stop freq values?\r\n"
      "Present freq values are: \r\n" +
      CalRangeLines(false) + "\r\n\r\nDEFAULT values will be:\r\n" + CalRangeLines(true);
  if (MsgBox(&main_win, msg_text, " Restore Cal Defaults", kMbYesNo, kIconNone, true) != kIdYes)
    return;
  for (const CalRange& r : kCalRanges) {
    *r.start = *r.start_def;
    *r.end = *r.end_def;
    *r.delta = *r.delta_def;
  }
  BuildMenus();
  msg_text = CalRangeLines(false);
  MsgBox(&main_win,
         "Default cal start, stop, delta cal limits have been restored: \r\n\r\n" + msg_text,
         " Default Cal Limits", kMbOk, kIconNone, true);
}

// After a good Port B calibration the file is written with a comment and
// read back.
void PortBCal() {
  DDS_Amplitude = 100;
  calB_only = 1;
  CalB();
  if (calB_error != 0 || PortB_cal != 1) return;
  msg_text = cal_comment;
  EnterComment();
  cal_comment = msg_text;
  cal_unsaved = 0;  // set again by SaveCalFile when the chosen file could not be written
  SaveCalFile();
  // The file in force is read back, unless the new calibration stays in
  // force without one.
  if (cal_unsaved == 0) GetPortACal(0);
}

void BandPreset(int k) {
  if (!(band_start[k] > 0.05)) return;
  start_freq = band_start[k];
  end_freq = band_end[k];
  delta_freq = band_delta[k];
  SetScanLimits();
}

void ToggleTdrMode() {
  tdr_mode = 1 - tdr_mode;
  if (cursordata_open != 0) {
    CloseWindow(cursor_win);
    cursordata_open = 0;
    cursor1_x = 0;
    cursor2_x = 0;
  }
  if (tdr_mode == 1) {
    tdr_saved_average = average;
    tdr_saved_smoothing = smoothing;
    smoothing = 0;
    PortB_on = 0;
    AverageADC(0);
    file_name = kLastTdrFile;
    LoadTDR(1);
    SetScanCaptions();
  } else {
    average = tdr_saved_average;
    smoothing = tdr_saved_smoothing;
    RedrawGraph();
  }
  ShowModeOnButtons();
}

// A TDR display switch whose check mark follows it directly.
Command TdrToggle(int id, int& flag) {
  return {id, Guard::kNone, [id, &flag] {
            flag = 1 - flag;
            SetMenuCheck(main_win, id, flag == 1);
          }};
}

void EnterVelocityFactor() {
  if (RunModal(dlg_velocity_factor, &main_win) != 1) return;
  VF = EnteredVelocityFactor(dlg_text1);
}

}  // namespace

std::vector<Command> MeasureMenuCommands() {
  using G = Guard;
  std::vector<Command> c = {
      // File
      {1, G::kNone, LoadGraph},
      {2, G::kInstrument, SaveGraph},
      {2914, G::kNone, [] { RecallAutoSave(0); }},
      {2173, G::kNone, SaveImageBitmap},
      {3, G::kNone, PrintFocusWindow},
      {5, G::kNone, LoadCalibrationFile},
      {8, G::kNone, LoadConfigFile},
      {2196, G::kNone, SaveStateFile},
      {21971, G::kNone, LoadStateFile},
      {3057, G::kSilent, PowerOff},
      {9, G::kNone, CloseToolWindows},
      // Functions
      {40, G::kInstrument, DistanceToFaultCheck},
      {38, G::kInstrument,
       [] {
         RefToAntenna();
         DrawFilesPanel();
       }},
      {34, G::kNone, EnterConstantFreq},
      {212, G::kInstrument,
       [] {
         bandscan_sens = 1;
         BandScan();
       }},
      {21279, G::kInstrument,
       [] {
         bandscan_sens = 2;
         BandScan();
       }},
      {36, G::kInstrument, MeasureCrystal},
      {213, G::kSilent, MeasureVelocityFactor},
      {2139, G::kNone, MeasureQ},
      {2141, G::kNone, AntennaBandwidth},
      {2143, G::kNone,
       [] {
         SetLineExtension();
         RedrawGraph();
       }},
      {2193, G::kNone,
       [] {
         dsp_filter = 1;
         RescanCenter();
       }},
      {2195, G::kNone,
       [] {
         dsp_filter = 2;
         RescanCenter();
       }},
      {2347, G::kNone, DiagGraph},
      // Calibrate
      {39177, G::kInstrument,
       [] { CalibrateRange(" Standard cal ", 0, 0.005, maximumfreq, 0.005); }},
      {21335, G::kInstrument,
       [] { CalibrateRange(" BC band cal ", 1, BCcalStart, BCcalEnd, BCcalDelta); }},
      {21336, G::kInstrument,
       [] { CalibrateRange(" HF band cal ", 2, HFcalStart, HFcalEnd, HFcalDelta); }},
      {21337, G::kInstrument,
       [] {
         CalibrateRange(" VHF band cal ", 3, VHFcalStart, VHFcalEnd, VHFcalDelta);
         ProgRelay(0);
       }},
      {21338, G::kInstrument,
       [] { CalibrateRange(" UHF band cal", 4, UHFcalStart, UHFcalEnd, UHFcalDelta); }},
      {21205, G::kNone, RestoreDefaultCalRanges},
      {39179, G::kInstrument, PortBCal},
      // Bands
      {67, G::kNone,
       [] {
         highlight = 1 - highlight;
         BuildMenus();
         RedrawGraph();
       }},
      // Multi Channel
      {28362, G::kNone, OpenVectorScope},
      {28361, G::kNone, ShowMuxDialog},
      {23497, G::kInstrument, CalMultiChannel},
      {23499, G::kNone, [] { CleanRelays(5); }},
      // TDR
      {32191, G::kNone, ToggleTdrMode},
      TdrToggle(32195, tdr_linear_z),
      TdrToggle(32196, tdr_show_rho),
      TdrToggle(32193, tdr_lines),
      TdrToggle(32194, tdr_high_res),
      {32198, G::kNone,
       [] {
         tdr_show_params = 0;
         metric = 1 - metric;
         SetMenuCheck(main_win, 32198, metric == 1);
       }},
      {3867, G::kNone, EnterVelocityFactor},
  };
  // Overlay styles in id order: plain, short dash, long dash, circles,
  // squares, wide line.
  for (int style = 0; style <= 5; ++style)
    c.push_back({27932 + style, G::kNone, [style] { SetStyles(style); }});
  for (int k = 1; k <= kBandPresets; ++k) c.push_back({50 + k, G::kNone, [k] { BandPreset(k); }});
  for (int n = 1; n <= 6; ++n) {
    c.push_back({23490 + n, G::kNone, [n] {
                   mux_chan = n;
                   ScanMuxChannel(1);
                 }});
  }
  return c;
}

}  // namespace vna
