#include "shell/menus.h"

#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {
namespace {

using Items = std::vector<MenuItem>;

// The dividing lines of the Calibrate menu are ordinary items sharing one id.
constexpr int kDividerId = 21330;

Items FileMenu() {
  const std::string port = PortB_on != 0 ? "Port B" : "Port A";
  return {
      {"Load " + port + " Graph", 1},
      {"Save " + port + " Graph", 2},
      MenuItem::Sub("Overlay " + port + " Graph", {{"Plain Line", 27932},
                                                   {"Circles", 27935},
                                                   {"Squares", 27936},
                                                   {"Wide Line", 27937},
                                                   {"Short Dash", 27933},
                                                   {"Long Dash", 27934}}),
      {"Swap Graphs", 2914},
      {"Save Image BitMap", 2173},
      {"Print", 3},
      {"Load Calibration File", 5},
      {"Load Config File", 8},
      {"Save State", 2196},
      {"Recall State", 21971},
      {"DC Power Off", 3057},
      {"Quit", 9},
  };
}

Items FunctionsMenu() {
  Items m = {
      {"Distance to Fault", 40},
      {"Refer to Antenna", 38},
      {"Constant Freq", 34},
      MenuItem::Sub(
          "Band Scan",
          {{"Normal Sensitivity", 212},
           {model_uhf != 0 ? "High Sensitivity(+15dB)" : "High Sensitivity(+12dB)", 21279}}),
      {"Measure Crystal", 36},
      {"1/4Wave Stub", 213},
      {"Q Measurement", 2139},
      {"Antenna Bandwidth", 2141},
      {"Line Extension", 2143},
      MenuItem::Sub("DSP Filters", {{"DSP Filter 1", 2193}, {"DSP Filter 2", 2195}}),
  };
  if (DIAGMODE != 0) m.push_back({"Plot MagRef", 2347});
  return m;
}

// "  Band n " + start-end (step), numbers by the number-to-text rule.
std::string CalBandCaption(int n, double start, double end, double step) {
  return "  Band" + NumStr(n) + " " + NumStr(start) + "-" + NumStr(end) + " (" + NumStr(step) + ")";
}

Items CalibrateMenu() {
  return {
      {"======================", kDividerId},
      {"STANDARD CAL  5KHz-" + NumStr(maximumfreq) + " MHz", 39177},
      {"======================", kDividerId},
      {"CUSTOM CAL:", 39178},
      {CalBandCaption(1, BCcalStart, BCcalEnd, BCcalDelta), 21335},
      {CalBandCaption(2, HFcalStart, HFcalEnd, HFcalDelta), 21336},
      {CalBandCaption(3, VHFcalStart, VHFcalEnd, VHFcalDelta), 21337},
      {CalBandCaption(4, UHFcalStart, UHFcalEnd, UHFcalDelta), 21338},
      {"====================== ", kDividerId},
      {"Restore Default Freq Ranges", 21205},
      {"====================== ", kDividerId},
      {"PORT B CAL", 39179},
      {"  ", kDividerId},
  };
}

Items SetupMenu() {
  Items m = {
      {"Plot Parameters", 3195},
      MenuItem::Sub("Graph styles", {{"SWR", 3021},
                                     {"Zmag", 3022},
                                     {"Rs", 3023},
                                     {"Xs", 3024},
                                     {"Phase", 3025},
                                     {"Return loss", 3026},
                                     {"Gain (S21)", 3030},
                                     {"S11", 3029},
                                     {"Group Delay", 3031},
                                     {"Legend", 3028},
                                     {"Clear all styles", 3027},
                                     {"Color Selection", 4334}}),
      {"Cursor Normally ON", 3163},
      {"Grid Highlight", 3165},
      {"SWR Ruler", 147},
      {"Recycle Depth", 4373},
      {"Enter Comm Port", 44},
      MenuItem::Sub(
          "Audio Out",
          {{"Voice Output", 4473},
           MenuItem::Sub(
               "Parameter Tones",
               {{"SWR", 4505}, {"Phase", 4506}, {"Zmag", 4507}, {"Set High Tone Limit", 4508}})}),
      MenuItem::Sub("Power Control", {{"Batt automatic off", 46}, {"Low current mode", 3058}}),
      {"Default Graph Size", 27103},
  };
  if (DIAGMODE != 0) {
    const Items diag = {
        {"Temperature Comp", 27107}, {"Toggle Gain Color", 30172}, {"Cal Compensation", 30177},
        {"Trace Data", 30178},       {"Display Mults", 30179},     {"Display Clk Intervals", 30183},
        {"Read Temperature", 27041}, {"Test Logic Lines", 30180},  {"Temperature Drift", 30182},
        {"set Diagmode off", 12843}, {"Debug Toggle", 12844},
    };
    m.insert(m.end(), diag.begin(), diag.end());
  }
  return m;
}

Items MarkersMenu() {
  return {
      MenuItem::Sub("Markers", {{"Display Marker Data", 3081},
                                {"Phase Rotation", 3089},
                                {"Toggle Markers", 3085},
                                {"Clear All Markers", 3086},
                                {"Save Marker Data", 3087},
                                {"Recall Marker Data", 3088}}),
      {"Rotate Smith Chart", 2191},
      MenuItem::Sub("Polar Plot", {{"SWR", 4793}, {"Z   ", 4794}, {"S11", 4795}}),
  };
}

Items BandsMenu() {
  Items m = {{"Highlight Bands", 67}};
  for (int k = 1; k <= kBandPresets; ++k)
    m.push_back(MenuItem(band_name[k], 50 + k, band_start[k] < 0.001));
  return m;
}

Items AveragingWeightItems() {
  return {{"Low ", 25317}, {"Med ", 25318}, {"High", 25319}, {"Fixed Avg", 25320}};
}

Items PortBMenu() {
  if (DIAGMODE == 0) {
    return {
        MenuItem::Sub("Averaging Weight", AveragingWeightItems()),
        {"Delay Time", 23328},
        {"Delay Smoothing", 25327},
        {"Rulers", 23446},
        {"Filter Bandwidth", 23448},
    };
  }
  return {
      {"Autoranging", 23348},
      {"Point data - A/B", 23349},
      MenuItem::Sub("Port B RF Gain", {{"+12 dB", 23346}, {"    0 dB", 23347}}),
      MenuItem::Sub("S21 Compensation", {{"Standard Compensation", 23350},
                                         {"Use S11=0.5", 23351},
                                         {"  Specify S11", 23353},
                                         {"  Measure S11", 23352},
                                         {"Use S22=0.5", 23354},
                                         {"  Specify S22", 23356},
                                         {"  Use S22=S11", 23355}}),
      MenuItem::Sub("Port B AF Gain", {{"1x    (0dB)", 23340},
                                       {"5x    (+14dB)", 23341},
                                       {"24x   (+28dB)", 23342},
                                       {"122x (+42dB)", 23343},
                                       {"513x (+54dB)", 23344}}),
      MenuItem::Sub("Averaging Weight", AveragingWeightItems()),
      {"Delay Offset", 23328},
      {"Delay Smoothing", 25327},
      {"Rulers", 23446},
      {"Filter Bandwidth", 23448},
      {"VNA Test", 2147},
  };
}

Items MultiChannelMenu() {
  Items scans;
  for (int n = 1; n <= 6; ++n) scans.push_back({"Scan Chan" + NumStr(n), 23490 + n});
  return {
      {"Vector Scope", 28362},
      {"MUX Control", 28361},
      MenuItem::Sub("Channel Scan", scans),
      {"Cal MultiChannel", 23497},
      {"Clean MUX Contacts 5x", 23499},
  };
}

Items TdrMenu() {
  return {
      {"TDR Mode on/off", 32191}, {"Linear Z Scale", 32195}, {"Show Rho Scale", 32196},
      {"Lines/Dots", 32193},      {"Velocity Factor", 3867}, {"Meters/feet", 32198},
      {"High Resolution", 32194},
  };
}

Items HelpMenu() {
  return {{"Manual (pdf)", 41272},
          {"Edit Config File", 4331},
          {"Check for Prog Update", 4333},
          {"About", 42}};
}

Items MyVarsMenu() {
  return {{"myvar1", 9171}, {"myvar2", 9172}, {"myvar3", 9173}, {"myvar4", 9174}};
}

struct BarButton {
  int id;
  const char* caption;  // the Scan and Rescan captions get their suffix at creation
  int extra_width;
};
constexpr BarButton kBar[] = {
    {kBtnPortAB, "Port A/B", 0},
    {kBtnScan, "Scan", 0},
    {kBtnRescan, "Rescan", 0},
    {kBtnRecycle, "Recycle", 0},
    {kBtnPointData, "Point Data", 0},
    {kBtnLimits, "Limits", 0},
    {kBtnScales, "Scales", 0},
    {kBtnSmith, "Smith", 0},
    {kBtnComment, "Comment", 5},
    {kBtnStatus, "Status", 5},
    {kBtnHalt, "Halt", 0},
    {kBtnQuit, "Quit", 0},
};

// What a Scan or Rescan button created now adds to its word.
std::string ScanCaptionSuffix() {
  if (PortB_on > 0) return " B";
  return tdr_mode > 0 ? " TDR" : " A";
}

// Creates the twelve buttons that main_win does not have yet (an existing one
// keeps its caption), then gives all of them their font and hover colour.
void BuildButtonBar() {
  const int w = (WinWidth - WinLeft) / 12 - 1;
  int text_w = 0, text_h = 0;
  TextExtent(main_win, "ScanKey", text_w, text_h);
  const int h = text_h + 6;
  const std::string suffix = ScanCaptionSuffix();
  int x = WinLeft;
  for (const BarButton& b : kBar) {
    std::string caption = b.caption;
    if (b.id == kBtnScan || b.id == kBtnRescan) caption += suffix;
    const int bw = w + b.extra_width;
    AddControl(main_win, {CtlKind::Button, caption, x, status_y, bw, h, 0, b.id});
    x += bw;
    SetCtlFont(main_win, b.id, "arial", font_size + 1, 600);
    SetCtlColors(main_win, b.id, -1, -1, Rgb(140, 250, 250));
  }
  ShowModeOnButtons();
}

// Buttons that make no sense on the TDR plot.
constexpr int kTdrOffButtons[] = {kBtnRecycle, kBtnPointData, kBtnLimits, kBtnSmith};

// A Scan or Rescan caption that does not name what the button runs gets the
// one it is created with.
void NameScannedPort(int id, const std::string& word) {
  if (!main_win.IsOpen()) return;
  const std::string caption = GetCtlText(main_win, id);
  const bool right = PortB_on > 0   ? caption == word + " B"
                     : tdr_mode > 0 ? caption == word + " A" || caption == word + " TDR"
                                    : caption == word + " A";
  if (!right) SetCtlText(main_win, id, word + ScanCaptionSuffix());
}

}  // namespace

void BuildMenus() {
  if (vna_present != 0 && PortB_cal == 0) PortB_on = 0;
  SetDigits(3);
  std::vector<MenuItem> bar = {
      MenuItem::Sub("File", FileMenu()),
      MenuItem::Sub("Functions", FunctionsMenu()),
      MenuItem::Sub("Calibrate", CalibrateMenu()),
      MenuItem::Sub("Setup", SetupMenu()),
      MenuItem::Sub("Markers", MarkersMenu()),
      MenuItem::Sub("Bands", BandsMenu()),
      MenuItem::Sub("Utilities", {{"L-C Matching Networks", 217},
                                  {"ZPlots Data Analysis", 218},
                                  {"Twelfth-wave Matching", 219}}),
      MenuItem::Sub("Port B Functions", PortBMenu(),
                    !(DIAGMODE != 0 || (PortB_on != 0 && PortB_cal != 0))),
      MenuItem::Sub("Multi Channel", MultiChannelMenu(), PortB_on == 0),
      MenuItem::Sub("TDR", TdrMenu()),
      MenuItem::Sub("Help", HelpMenu()),
  };
  if (DIAGMODE != 0) bar.push_back(MenuItem::Sub("My Vars", MyVarsMenu()));
  SetMenuBar(main_win, std::move(bar));
  BuildButtonBar();
  UpdateMenuChecks();
}

void UpdateMenuChecks() {
  struct Check {
    int id;
    bool on;
    bool set_only;  // never cleared here
  };
  const bool weighted = fixed_avg == 0;
  const Check checks[] = {
      {30178, trace_serial != 0, false},
      {23350, std_comp != 0, false},
      {23351, comp_s11_half != 0, false},
      {23352, comp_s11_measure != 0, false},
      {23353, comp_s11_specify != 0, false},
      {23354, comp_s22_half != 0, false},
      {23355, comp_s22_is_s11 != 0, false},
      {23356, comp_s22_specify != 0, false},
      {23348, autorange == 1, false},
      {38, ref_to_antenna != 0, false},
      {4505, tone_swr != 0, false},
      {4506, tone_phase != 0, false},
      {4507, tone_zmag != 0, false},
      {3058, full_current_mode == 0, false},
      {46, autopoweroff != 0, false},
      {30172, gain_color == 1, false},
      {30177, no_cal_comp == 0, false},
      {3163, cursorena == 1, false},
      {3165, grid_highlight != 0, false},
      {32191, tdr_mode != 0, false},
      {32193, tdr_lines != 0, false},
      {32194, tdr_high_res != 0, false},
      {32195, tdr_linear_z != 0, false},
      {32198, metric != 0, false},
      {147, swr_ruler > 0.99999, true},
      {4473, voice != 0, false},
      {3081, markers[1].Freq < 990, false},
      {67, highlight > 0, false},
      {3085, markerena != 0, false},
      {23340, PortB_Gain == 1, false},
      {23341, PortB_Gain == 2, false},
      {23342, PortB_Gain == 3, false},
      {23343, PortB_Gain == 4, false},
      {23344, PortB_Gain == 5, false},
      {23346, PortB_Sens == 2, false},
      {23347, PortB_Sens == 1, false},
      {25317, weighted && avgweight < 0.4, true},
      {25318, weighted && avgweight >= 0.4 && avgweight < 0.6, true},
      {25319, weighted && avgweight >= 0.6, true},
      {25320, fixed_avg != 0, true},
  };
  for (const Check& c : checks) {
    if (c.on || !c.set_only) SetMenuCheck(main_win, c.id, c.on);
  }
}

void ShowModeOnButtons() {
  if (!main_win.IsOpen()) return;
  NameScannedPort(kBtnScan, "Scan");
  NameScannedPort(kBtnRescan, "Rescan");
  for (int id : kTdrOffButtons) EnableCtl(main_win, id, tdr_mode == 0);
  EnableCtl(main_win, kBtnPortAB, tdr_mode == 0 && PortB_cal > 0);
  SetMenuCheck(main_win, 32191, tdr_mode != 0);
}

void SetScanCaptions() {
  BuildMenus();
  msg_text = PortB_on != 0 ? " B" : " A";
  SetCtlText(main_win, kBtnScan, "Scan" + msg_text);
  SetCtlText(main_win, kBtnRescan, "Rescan" + msg_text);
  FocusForm(main_win);
}

}  // namespace vna
