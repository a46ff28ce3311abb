// Storage of the settings. Values here are what a setting holds before
// InitVars runs; InitVars gives most of them their defaults. The few that
// start with a value of their own are the config file's start values that no
// default routine sets.
#include "files/settings.h"

#include "platform/draw.h"

namespace vna {

static_assert(sizeof(int) == 4, "settings are 32-bit integers");

// Scan and measurement
int format = 25;  // the frequency plan sets 25 again; set here so the init file's name never
                  // depends on call order
double freq = 0, start_freq = 0, end_freq = 0, delta_freq = 0, maximumfreq = 0;
int average = 0;
double avgweight = 0;
int autorange = 0, interpolate = 0, fullscan = 0, smoothing = 0, smooth_auto = 0, smooth_man = 0;
int delay_smoothing = 0, bandskip = 0, Recycle_depth = 0, scana_ok = 0, scanb_ok = 0;
int PortB_on = 0, Level = 0, Mux_Cal = 0;

// Instrument and link
int commport = 0, DDSdelay = 0;
double DDS_Amplitude = 0;
int autopoweroff = 0, full_current_mode = 0;
double osc_freq = 0, freq_comp = 0, freq_comp1 = 0, freq_comp2 = 0;
int PortA_Gain = 0, PortA_Sens = 0, PortB_Gain = 0, PortB_Sens = 0;
double Rng[6] = {};

// Reference impedance, feed line and line extension
double Zref = 0, Z0real = 0, Z0imag = 0, Zsm_real = 0, Zsm_imag = 0;
double VF = 0, cable_length = 0, loss = 0;
int ExtensionFlag = 0;
double Zextension = 0, ExtensionLength = 0, ExtensionVP = 0;

// Trace switches
int plot_swrA = 0, plot_swrB = 0, plot_s11 = 0, plots21 = 0, plot_rt = 0;
int plot_zmagA = 0, plot_zmagB = 0, plot_rsA = 0, plot_rsB = 0, plot_rpA = 0, plot_rpB = 0;
int plot_Q = 0, plot_delay = 0, plot_ZphaseA = 0, plot_ZphaseB = 0;
int plot_phaseS21 = 0, plot_phaseS11 = 0, plot_at_zero = 0;

// Scales and rulers
double swr_scale = 0;
int swr_log = 0;
double zmag_scale = 0, phase_scale = 0, rtloss_scale = 0, Q_scale = 0;
double s21gain_scale = 0, s21phase_scale = 0, s11gain_scale = 0, delay_scale = 0;
int Zero_Ref = 0;
double swr_ruler = 0, ruler_1 = 0, ruler_2 = 0;
int ruler1_on = 0, ruler2_on = 0;

// Graph behaviour and line styles
int cursorena = 0, markerena = 0, highlight = 0, grid_highlight = 0;
int swrstyle = 0, zmagstyle = 0, rsstyle = 0, xsstyle = 0, phasestyle = 0, rtstyle = 0;
int s11style = 0, s21style = 0, delaystyle = 0;

// Main window
int WinWidth = 0, WinHeight = 0;

// Voice and tones
int voice = 0, swrminfreq = 0, swrmaxfreq = 0, swrmax = 0;

// Files and folders
std::string config_file_name, cal_file_name, init_spare;
std::string cal_folder, cal_file_path, config_folder, config_file_path;
std::string scan_folder, scan_file_path, spare_folder, spare_file_path;
std::string bmp_folder, bmp_file, marker_folder, marker_file_path;

// Markers
Marker markers[kMaxMarkers + 1];

// Calibration bands and their restore copies
double BCcalStart = 0, BCcalEnd = 0, BCcalDelta = 0;
double HFcalStart = 0, HFcalEnd = 0, HFcalDelta = 0;
double VHFcalStart = 0, VHFcalEnd = 0, VHFcalDelta = 0;
double UHFcalStart = 0, UHFcalEnd = 0, UHFcalDelta = 0;
double BCcalStart_def = 0, BCcalEnd_def = 0, BCcalDelta_def = 0;
double HFcalStart_def = 0, HFcalEnd_def = 0, HFcalDelta_def = 0;
double VHFcalStart_def = 0, VHFcalEnd_def = 0, VHFcalDelta_def = 0;
double UHFcalStart_def = 0, UHFcalEnd_def = 0, UHFcalDelta_def = 0;

// Band presets and band skip
std::string band_name[kBandSlots + 1];
double band_start[kBandPresets + 1] = {};
double band_end[kBandPresets + 1] = {};
double band_delta[kBandPresets + 1] = {};
double bandskip_start[kBandSlots + 1] = {};  // a band without a config line has both edges 0
double bandskip_end[kBandSlots + 1] = {};

// Colours
int RedColor = 0, LightRed = 0, Green = 0, LightGreen = 0, Magenta = 0, LightMagenta = 0;
int Blue = 0, LightBlue = 0, Yellow = 0, LightYellow = 0, Orange = 0, LightOrange = 0;
int Cyan = 0, title_color = 0, chart_bg_color = 0;
int grid_line_color = Rgb(230, 230, 230);  // config start values; no default routine sets them
int grid_color = 0;
int files_color = 0, band_color = 0;
int White = 0, Black = 0, Grey = 0, grey_color = 0, light_grey_color = 0, graph_bg_color = 0;
int bright_green_color = 0, bright_yellow_color = 0, btn_hilite = 0, color_blue2 = 0,
    color_lilac = 0;
int default_colors[12] = {};
int tdr_colors[6] = {};
int cycle_colors[8] = {};

// Sizes, units and options of the config file
int trace_width = 0;
int max_points = 30000;  // no default routine sets it; 0 would make every frequency list empty
int metric = 0;
int version_delay = 200;  // config start value
int cfg_win_width = 0, cfg_win_height = 0, font_size = 0, bold_font = 0;
double chart_scale = 0;
int recycle_delay = 0, highbaud = 0;
double dspthreshold_factor = 0, dspthreshold = 0;
int regctl_mode = 0, autosave_graph = 0, voice_digits = 0, voice_repeat = 0, lowres_tol = 0;
double relay_freq = 0;
int autobaud = 115000;  // config start value
int swr_yoffset = 0;
std::string control_csv, voice_folder;

}  // namespace vna
