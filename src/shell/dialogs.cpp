// The dialog records, DefineDialogs with the index of all 39 dialogs, the
// About dialog and its handler.
#include "shell/dialogs.h"

#include <cctype>

#include "calibration/cal_limits.h"
#include "calibration/cal_port_a.h"
#include "calibration/line_extension.h"
#include "graph/graph_dialogs.h"
#include "graph/scales_dialogs.h"
#include "graph/styles.h"
#include "instrument/test_panels.h"
#include "scan/point_data.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"
#include "shell/dialog_layouts.h"
#include "shell/number_entry.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "tools/crystal.h"
#include "tools/distance_to_fault.h"
#include "tools/tuning_stub.h"

namespace vna {

Dialog dlg_scan_limits{"dlg_scan_limits"};
Dialog dlg_cal_limits{"dlg_cal_limits"};
Dialog dlg_graph_scales{"dlg_graph_scales"};
Dialog dlg_velocity_factor{"dlg_velocity_factor"};
Dialog dlg_cable_length{"dlg_cable_length"};
Dialog dlg_meas_results{"dlg_meas_results"};
Dialog dlg_test_freq{"dlg_test_freq"};
Dialog dlg_cable_zo{"dlg_cable_zo"};
Dialog dlg_const_freq{"dlg_const_freq"};
Dialog dlg_comment{"dlg_comment"};
Dialog dlg_calibration{"dlg_calibration"};
Dialog dlg_line_length{"dlg_line_length"};
Dialog dlg_comm_port{"dlg_comm_port"};
Dialog dlg_crystal_meas{"dlg_crystal_meas"};
Dialog dlg_crystal_params{"dlg_crystal_params"};
Dialog dlg_cable_data{"dlg_cable_data"};
Dialog dlg_enter_data{"dlg_enter_data"};
Dialog dlg_plot_params{"dlg_plot_params"};
Dialog dlg_enter_freq{"dlg_enter_freq"};
Dialog dlg_swr_ruler{"dlg_swr_ruler"};
Dialog dlg_tuning_stub{"dlg_tuning_stub"};
Dialog dlg_smoothing{"dlg_smoothing"};
Dialog dlg_marker{"dlg_marker"};
Dialog dlg_style{"dlg_style"};
Dialog dlg_line_ext{"dlg_line_ext"};
Dialog dlg_voice{"dlg_voice"};
Dialog dlg_sweep{"dlg_sweep"};
Dialog dlg_vna_test{"dlg_vna_test"};
Dialog dlg_touchstone{"dlg_touchstone"};
Dialog dlg_gain{"dlg_gain"};
Dialog dlg_rulers{"dlg_rulers"};
Dialog dlg_colors{"dlg_colors"};
Dialog dlg_average{"dlg_average"};
Dialog dlg_delay_time{"dlg_delay_time"};
Dialog dlg_mux{"dlg_mux"};
Dialog dlg_chan_ref{"dlg_chan_ref"};
Dialog dlg_ref_circles{"dlg_ref_circles"};
Dialog dlg_array_current{"dlg_array_current"};
Dialog dlg_tdrscales{"dlg_tdrscales"};
Dialog dlg_about{"dlg_about"};

namespace {

struct DialogIndexEntry {
  Dialog* record;
  const char* title;  // " ...ver-" titles get the version texts appended
  int width, height;
  unsigned style;
  int (*handler)();
  dlgdef::Controls (*controls)();
};

constexpr unsigned kSizable = kDialogStyle | kDlgSizing;

// The index of the 39 dialogs, in definition order.
const DialogIndexEntry kDialogIndex[] = {
    {&dlg_scan_limits, " Scan Limits", 584, 315, kDialogStyle, ScanLimitsHandler,
     dlgdef::ScanLimitsControls},
    {&dlg_cal_limits, " Cal Limits", 305, 384, kDialogStyle, CalLimitsHandler,
     dlgdef::CalLimitsControls},
    {&dlg_graph_scales, " Graph  Scales", 934, 531, kDialogStyle, GraphScalesHandler,
     dlgdef::GraphScalesControls},
    {&dlg_velocity_factor, " Velocity Factor", 305, 204, kDialogStyle, VelocityFactorHandler,
     dlgdef::VelocityFactorControls},
    {&dlg_cable_length, " Cable Length", 295, 116, kDialogStyle, CableLengthHandler,
     dlgdef::CableLengthControls},
    {&dlg_meas_results, " Measurement Results   ver-", 270, 223, kDialogStyle, MeasResultsHandler,
     dlgdef::MeasResultsControls},
    {&dlg_test_freq, " Enter Test Frequency", 213, 117, kDialogStyle, TestFreqHandler,
     dlgdef::TestFreqControls},
    {&dlg_cable_zo, " Enter Cable Zo", 300, 202, kDialogStyle, CableZoHandler,
     dlgdef::CableZoControls},
    {&dlg_const_freq, "Constant Test Frequency  ver-", 572, 390, kDialogStyle,
     ConstantTestFreqHandler, dlgdef::ConstFreqControls},
    {&dlg_comment, " Enter a comment", 721, 105, kDialogStyle, CommentHandler,
     dlgdef::CommentControls},
    {&dlg_calibration, " Calibration", 450, 129, kDialogStyle, CalibrationHandler,
     dlgdef::CalibrationControls},
    {&dlg_line_length, " Measure Line Length & Impedance  ver-", 305, 204, kDialogStyle,
     LineLengthHandler, dlgdef::LineLengthControls},
    {&dlg_comm_port, " Enter Comm Port", 173, 117, kDialogStyle, CommPortHandler,
     dlgdef::CommPortControls},
    {&dlg_crystal_meas, " Crystal Measurement  ver-", 300, 233, kDialogStyle, CrystalMeasHandler,
     dlgdef::CrystalMeasControls},
    {&dlg_crystal_params, " Crystal Parameters   ver-", 380, 363, kDialogStyle,
     CrystalParamsHandler, dlgdef::CrystalParamsControls},
    {&dlg_cable_data, " Cable data  ver-", 328, 278, kDialogStyle, CableDataHandler,
     dlgdef::CableDataControls},
    {&dlg_enter_data, " Enter Data ", 422, 169, kDialogStyle, EnterDataHandler,
     dlgdef::EnterDataControls},
    {&dlg_plot_params, "Parameters to Plot  ver-", 633, 505, kDialogStyle, PlotParamsHandler,
     dlgdef::PlotParamsControls},
    {&dlg_enter_freq, " Enter Frequency (MHz)", 295, 170, kSizable, EnterFreqHandler,
     dlgdef::EnterFreqControls},
    {&dlg_swr_ruler, "SWR Ruler", 300, 187, kDialogStyle, SWRRulerHandler,
     dlgdef::SwrRulerControls},
    {&dlg_tuning_stub, "1/4 Wave Tuning Stub  ver-", 372, 199, kDialogStyle, TuningStubHandler,
     dlgdef::TuningStubControls},
    {&dlg_smoothing, " Smoothing", 464, 204, kDialogStyle, SmoothingHandler,
     dlgdef::SmoothingControls},
    {&dlg_marker, " Marker  ver-", 335, 172, kDialogStyle, MarkerDlgHandler,
     dlgdef::MarkerControls},
    {&dlg_style, " Graph Style", 246, 332, kDialogStyle, GraphStyleHandler, dlgdef::StyleControls},
    {&dlg_line_ext, " Line Extension  ver-", 362, 260, kDialogStyle, LineExtensionHandler,
     dlgdef::LineExtControls},
    {&dlg_voice, " Enable Voice Output", 300, 224, kDialogStyle, VoiceHandler,
     dlgdef::VoiceControls},
    {&dlg_sweep, " Sweep Parameters  ver-", 379, 457, kDialogStyle, SweepParamsHandler,
     dlgdef::SweepControls},
    {&dlg_vna_test, " VNA Test  ver-", 814, 434, kDialogStyle, VnaTestHandler,
     dlgdef::VnaTestControls},
    {&dlg_touchstone, " Touchstone File Format", 467, 262, kDialogStyle, TouchstoneHandler,
     dlgdef::TouchstoneControls},
    {&dlg_gain, " Enter Gain ", 524, 169, kDialogStyle, GainHandler, dlgdef::GainControls},
    {&dlg_rulers, " Enter Rulers", 300, 187, kDialogStyle, RulersHandler, dlgdef::RulersControls},
    {&dlg_colors, " Color Selection", 238, 454, kDialogStyle, ColorSelectionHandler,
     dlgdef::ColorsControls},
    {&dlg_average, " Average value 1..256", 303, 263, kDialogStyle, AverageHandler,
     dlgdef::AverageControls},
    {&dlg_delay_time, "  Delay time (sec, msec, usec, nsec)", 379, 207, kDialogStyle,
     DelayTimeHandler, dlgdef::DelayTimeControls},
    {&dlg_mux, " Port B Mux", 334, 192, kDialogStyle, MuxHandler, dlgdef::MuxControls},
    {&dlg_chan_ref, " Channel Reference  ver-", 300, 202, kDialogStyle, ChannelRefHandler,
     dlgdef::ChanRefControls},
    {&dlg_ref_circles, " Reference Circles  ver-", 307, 235, kDialogStyle, ReferenceCirclesHandler,
     dlgdef::RefCirclesControls},
    {&dlg_array_current, "Array Current  ver-", 301, 359, kDialogStyle, ArrayCurrentHandler,
     dlgdef::ArrayCurrentControls},
    {&dlg_tdrscales, " TDR Scales  ver-", 362, 318, kDialogStyle, TDRScalesHandler,
     dlgdef::TdrScalesControls},
};

bool EndsWithVer(const std::string& s) {
  return s.size() >= 4 && s.compare(s.size() - 4, 4, "ver-") == 0;
}

}  // namespace

void DefineDialogs() {
  for (const DialogIndexEntry& e : kDialogIndex) {
    std::string title = e.title;
    if (EndsWithVer(title)) title += prog_ver + prog_subver;
    DefineDialog(*e.record, title, e.width, e.height, e.style, e.handler, e.controls());
  }
}

void DefineAboutDialog() {
  DefineDialog(dlg_about, " VNA", 650, 203, kDialogStyle, AboutHandler, dlgdef::AboutControls());
}

const std::vector<Dialog*>& AllDialogs() {
  static const std::vector<Dialog*> all = [] {
    std::vector<Dialog*> v;
    for (const DialogIndexEntry& e : kDialogIndex) v.push_back(e.record);
    v.push_back(&dlg_about);
    return v;
  }();
  return all;
}

int AboutHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_about);
    std::string upper = msg_text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    SetCtlText(dlg_about, 9, upper);
  } else if (msg_id == kEvCommand && msg_ctl_id == 3) {
    CloseDialog(dlg_about, 1);
    FocusForm(main_win);
    focus_win = 1;
  }
  return 0;
}

}  // namespace vna
