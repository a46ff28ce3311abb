// The user's settings: every value the init file keeps from one run to the
// next, and every value the config file sets (colours, bands, sizes, units,
// options). Each is a global named after its init-file key, or after the name
// the config file's positions give it. Defaults come from InitVars (shell);
// the init file, the state files and the config file then replace them.
//
// The order of the init file and the rules by which each line is read live
// in settings_table.cpp; the config file's positions in config_file.cpp.
#pragma once

#include <string>

namespace vna {

// ---- Scan and measurement --------------------------------------------------
extern int format;           // line 1: file format number less 4152 (25 gives 4177)
extern double freq;          // current measuring frequency, MHz
extern double start_freq;    // scan start, MHz
extern double end_freq;      // scan end, MHz
extern double delta_freq;    // scan step, MHz
extern double maximumfreq;   // highest frequency of the instrument, MHz (written, never read back)
extern int average;          // readings averaged per point
extern double avgweight;     // averaging weight
extern int autorange;        // Port B gain autoranging (written, never read back)
extern int interpolate;      // interpolation on
extern int fullscan;         // flag read by the cursor readout
extern int smoothing;        // smoothing cells in use, 0 = off
extern int smooth_auto;      // smoothing width of the automatic mode
extern int smooth_man;       // smoothing width chosen by hand
extern int delay_smoothing;  // group-delay smoothing: samples when positive, percent when negative
extern int bandskip;         // build the frequency list from the config file's bands only
extern int Recycle_depth;    // scans after which recycle mode clears the graph
extern int scana_ok;         // valid Port A scan data present
extern int scanb_ok;         // valid Port B scan data present
extern int PortB_on;         // 1 = Port B mode, 0 = Port A mode
extern int Level;            // menu toggle of the level command
extern int Mux_Cal;          // date number of the last multiplexer relay cleaning

// ---- Instrument and link ---------------------------------------------------
extern int commport;           // serial port number
extern int DDSdelay;           // DDS settling time, ms
extern double DDS_Amplitude;   // Port A output amplitude, percent
extern int autopoweroff;       // automatic power-off of the instrument
extern int full_current_mode;  // 1 = full current; the file keeps its inverse as "LowPwrMode"
extern double osc_freq;        // DDS reference clock, MHz
extern double freq_comp;       // correction factor of the DDS clock
extern double freq_comp1;      // ... of oscillator 1
extern double freq_comp2;      // ... of oscillator 2
extern int PortA_Gain;         // Port A gain, 1 or 5
extern int PortA_Sens;         // Port A sensitivity, 1 or 2
extern int PortB_Gain;         // Port B gain step, 1..5
extern int PortB_Sens;         // Port B sensitivity, 1 or 2
extern double Rng[6];  // phase offsets of the Port B gain ranges 1..5, radians (file: degrees)

// ---- Reference impedance, feed line and line extension ---------------------
extern double Zref;                // reference resistance, ohms
extern double Z0real, Z0imag;      // complex reference impedance, ohms
extern double Zsm_real, Zsm_imag;  // reference of the Smith chart, ohms
extern double VF;                  // velocity factor of the cable
extern double cable_length;        // feed-line length
extern double loss;                // feed-line loss
extern int ExtensionFlag;          // line extension on
extern double Zextension;          // impedance of the line extension, ohms
extern double ExtensionLength;     // length of the line extension, metres
extern double ExtensionVP;         // velocity factor of the line extension

// ---- Trace switches (1 = drawn) --------------------------------------------
extern int plot_swrA, plot_swrB;        // SWR in Port A / Port B scans
extern int plot_s11, plots21;           // S11 and S21 magnitude
extern int plot_rt;                     // return loss
extern int plot_zmagA, plot_zmagB;      // impedance magnitude
extern int plot_rsA, plot_rsB;          // Rs and Xs
extern int plot_rpA, plot_rpB;          // Rp and Xp
extern int plot_Q;                      // Q
extern int plot_delay;                  // group delay
extern int plot_ZphaseA, plot_ZphaseB;  // impedance phase
extern int plot_phaseS21, plot_phaseS11;
extern int plot_at_zero;  // graph starts at 0 MHz

// ---- Scales and rulers ------------------------------------------------------
extern double swr_scale;   // top of the SWR scale
extern int swr_log;        // logarithmic SWR scale (an "L" after the swr_scale value)
extern double zmag_scale;  // top of the impedance magnitude scale, ohms
extern double phase_scale;
extern double rtloss_scale;  // return loss, dB
extern double Q_scale;
extern double s21gain_scale;     // dB
extern double s21phase_scale;    // degrees
extern double s11gain_scale;     // dB (negative by default)
extern double delay_scale;       // group delay
extern int Zero_Ref;             // grid division of the 0 dB line, from the top (0..18)
extern double swr_ruler;         // SWR ruler value, 0 = off
extern double ruler_1, ruler_2;  // ruler levels, dB
extern int ruler1_on, ruler2_on;

// ---- Graph behaviour and line styles ---------------------------------------
extern int cursorena;       // cursor readout follows the mouse
extern int markerena;       // markers shown
extern int highlight;       // band highlighting
extern int grid_highlight;  // grid highlighting
// Trace styles 0..6: 0 plain, 1 short dash, 2 long dash, 3 circles, 4 squares, 5 wide line.
extern int swrstyle, zmagstyle, rsstyle, xsstyle, phasestyle, rtstyle, s11style, s21style,
    delaystyle;

// ---- Main window -------------------------------------------------------------
extern int WinWidth, WinHeight;  // main window size, pixels

// ---- Voice and tones ----------------------------------------------------------
extern int voice;       // voice output of readings
extern int swrminfreq;  // "SWR Min Tone(1-50)"
extern int swrmaxfreq;  // "SWR Max Tone (10-60)"
extern int swrmax;      // "Max SWR (2-20)"

// ---- Files and folders (keyless lines of the init file) ---------------------
// Folders end in a backslash; every text holds at most 254 characters.
extern std::string config_file_name, cal_file_name;  // names of the loaded config and cal files
extern std::string init_spare;
extern std::string cal_folder, cal_file_path;
extern std::string config_folder, config_file_path;
extern std::string scan_folder, scan_file_path;
extern std::string spare_folder, spare_file_path;
extern std::string bmp_folder, bmp_file;
extern std::string marker_folder, marker_file_path;

// ---- Markers -----------------------------------------------------------------
// One marker: ten doubles. The init file keeps Freq, Rs, Xs, Phase, SWR and Rt.
struct Marker {
  double Freq = 0;        // MHz; 10000 (or 9999) in an empty row
  double Rs = 0, Xs = 0;  // ohms
  double Phase = 0;       // radians
  double SWR = 0;
  double Rt = 0;  // return loss, dB
  double spare1 = 0, spare2 = 0;
  double s21mag = 0;    // dB
  double s21phase = 0;  // degrees
};
constexpr int kMaxMarkers = 20;
extern Marker markers[kMaxMarkers + 1];  // rows 1..20; row 0 unused

// ---- Calibration bands ----------------------------------------------------
// The four custom calibration bands (init file) and their restore copies
// (never changed; the "restore defaults" command and the init reader take them).
extern double BCcalStart, BCcalEnd, BCcalDelta;
extern double HFcalStart, HFcalEnd, HFcalDelta;
extern double VHFcalStart, VHFcalEnd, VHFcalDelta;
extern double UHFcalStart, UHFcalEnd, UHFcalDelta;
extern double BCcalStart_def, BCcalEnd_def, BCcalDelta_def;
extern double HFcalStart_def, HFcalEnd_def, HFcalDelta_def;
extern double VHFcalStart_def, VHFcalEnd_def, VHFcalDelta_def;
extern double UHFcalStart_def, UHFcalEnd_def, UHFcalDelta_def;

// ---- Band presets and band skip (config file) ------------------------------
constexpr int kBandPresets = 16;               // the Bands menu's presets, ids 51..66
constexpr int kBandSlots = 64;                 // room of the name and band-skip tables
extern std::string band_name[kBandSlots + 1];  // preset names, entries 1..16 used
extern double band_start[kBandPresets + 1];    // lower edge, MHz
extern double band_end[kBandPresets + 1];      // upper edge, MHz
extern double band_delta[kBandPresets + 1];    // scan step, MHz
extern double bandskip_start[kBandSlots + 1];  // band-skip lower edges, MHz (bands 1..12 used)
extern double bandskip_end[kBandSlots + 1];    // band-skip upper edges, MHz

// ---- Colours (packed r + 256 g + 65536 b) ------------------------------------
// The twelve trace colours; the init file keeps them.
extern int RedColor, LightRed, Green, LightGreen, Magenta, LightMagenta;
extern int Blue, LightBlue, Yellow, LightYellow, Orange, LightOrange;
// Colours the config file may set.
extern int Cyan;             // fifth TDR colour, SWR ruler label
extern int title_color;      // graph title line
extern int chart_bg_color;   // circles of the Smith and polar charts
extern int grid_line_color;  // fine grid lines
extern int grid_color;       // highlighted grid lines
extern int files_color;      // text of the files panel
extern int band_color;       // fill of highlighted bands
// Fixed colours (defaults only).
extern int White, Black, Grey, grey_color, light_grey_color, graph_bg_color;
extern int bright_green_color, bright_yellow_color, btn_hilite, color_blue2, color_lilac;
// Colour tables: copies taken when the defaults are set.
extern int default_colors[12];  // LightMagenta, Magenta, LightGreen, Green, LightRed, RedColor,
                                // LightBlue, Blue, LightOrange, Orange, LightYellow, Yellow
extern int tdr_colors[6];       // entries 1..5
extern int cycle_colors[8];     // light-colour pass of the scans, by color_index

// ---- Sizes, units and options of the config file ----------------------------
extern int trace_width;                    // pen width of the scan traces, pixels
extern int max_points;                     // most points of a scan, 20..30000
extern int metric;                         // lengths in metres (1) or feet (0)
extern int version_delay;                  // ms before the older version query writes its command
extern int cfg_win_width, cfg_win_height;  // main window size of the config file, pixels
extern int font_size;               // base font size of graph and tool windows, points (3..10)
extern int bold_font;               // bold graph texts
extern double chart_scale;          // size factor of the chart windows (0.5..3)
extern int recycle_delay;           // ms between repeated scans
extern int highbaud;                // the link test also tries 115000 baud
extern double dspthreshold_factor;  // outlier threshold factor of the rescan noise filter
extern double dspthreshold;         // lower bound of that threshold
extern int regctl_mode;             // registry mailbox mode (2 and up polls at start-up)
extern int autosave_graph;          // save the graph after each live scan
extern int voice_digits;            // decimals spoken, 1 or 2
extern int voice_repeat;            // readings after which an unchanged value is spoken again
extern int lowres_tol;              // percent tolerance of the low-resolution warning
extern double relay_freq;           // MHz the relay command retunes to
extern int autobaud;                // baud rate announced for automatic setting
extern int swr_yoffset;             // vertical offset of the SWR trace, pixels
extern std::string control_csv;     // result CSV of an external scan request ("outputfile=")
extern std::string voice_folder;    // folder of the voice files ("voicefilefolder=")

}  // namespace vna
