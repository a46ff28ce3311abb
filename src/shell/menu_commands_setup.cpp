// Menu commands of the Setup, Markers, Utilities, Port B Functions, Help and
// My Vars menus and the diagnostic entries. None of them needs an
// instrument to be picked; the routines they call decide for themselves.
#include "calibration/state.h"
#include "files/config_editor.h"
#include "files/settings.h"
#include "graph/chart_handlers.h"
#include "graph/geometry.h"
#include "graph/graph_dialogs.h"
#include "graph/info_panel.h"
#include "graph/legend.h"
#include "graph/marker_commands.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "graph/styles.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/diag_graph.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/point_data.h"
#include "scan/state.h"
#include "shell/chart_loops.h"
#include "shell/command_table.h"
#include "shell/dialogs.h"
#include "shell/help.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/status.h"
#include "shell/text.h"
#include "shell/tones.h"
#include "shell/windows.h"
#include "tools/bandwidth.h"

namespace vna {
namespace {

// A flag switched from the menu whose check mark UpdateMenuChecks sets.
Command CheckedToggle(int id, int& flag) {
  return {id, Guard::kNone, [&flag] {
            flag = 1 - flag;
            UpdateMenuChecks();
          }};
}

// Choosing the lit tone mode switches all tones off; another one takes its
// remembered highest-tone value and switches the others off.
Command ToneMode(int id, int& mode, const double& remembered) {
  return {id, Guard::kNone, [&mode, &remembered] {
            if (mode == 0) {
              tone_swr = tone_phase = tone_zmag = 0;
              mode = Rnd(remembered);
            } else {
              mode = 0;
            }
            SetToneRange();
            UpdateMenuChecks();
          }};
}

void AutoPowerOff() {
  autopoweroff = 1 - autopoweroff;
  full_current_mode = autopoweroff == 0 ? 1 : 0;
  SetAutoPowerDown(autopoweroff);
  SetMenuCheck(main_win, 46, autopoweroff != 0);
  MsgBox(&main_win,
         std::string(" Auto power down is ") +
             (autopoweroff != 0 ? "enabled for battery operation." : "disabled."),
         "", kMbOk, kIconNone, true);
  ProgRelay(0);
}

void LowCurrentMode() {
  if (full_current_mode != 0) {
    full_current_mode = 0;
    MsgBox(&main_win, " Low current mode is on.", "", kMbOk, kIconNone, true);
  } else {
    full_current_mode = 1;
    MsgBox(&main_win, " Low current mode is off", "", kMbOk, kIconNone, true);
  }
  ProgRelay(0);
  BuildMenus();
}

// The notice right of the plot is drawn while autoranging is off and erased
// in the background colour when it comes back on.
void Autoranging() {
  autorange = 1 - autorange;
  MoveTo(main_win, graph_right + Rnd(60 * win_xscale), 5);
  if (autorange == 0) {
    SetTextColor(main_win, RedColor);
    PrintItems(main_win, {"Autorange OFF   "});
  } else if (autorange == 1) {
    SetTextColor(main_win, bg_color);
    PrintItems(main_win, {"Autorange OFF   "});
    SetTextColor(main_win, Black);
  }
  UpdateMenuChecks();
  InfoPanel(0);
}

// An S11 choice of the S21 compensation. "Use S22=0.5" comes with it only
// while no S22 choice is marked, so the S22 marks stay one choice.
Command S11Choice(int id, int& mark) {
  return {id, Guard::kNone, [&mark] {
            std_comp = 0;
            comp_s11_half = comp_s11_measure = comp_s11_specify = 0;
            mark = 1;
            if (comp_s22_half == 0 && comp_s22_is_s11 == 0 && comp_s22_specify == 0)
              comp_s22_half = 1;
            UpdateMenuChecks();
          }};
}

Command S22Choice(int id, int& mark) {
  return {id, Guard::kNone, [&mark] {
            std_comp = 0;
            comp_s22_half = comp_s22_is_s11 = comp_s22_specify = 0;
            mark = 1;
            UpdateMenuChecks();
          }};
}

Command AveragingWeight(int id, double weight) {
  return {id, Guard::kNone, [weight] {
            avgweight = weight;
            BuildMenus();
          }};
}

Command PolarPlot(int id, int& quantity) {
  return {id, Guard::kNone, [&quantity] {
            polar_swr = polar_z = polar_s11 = 0;
            quantity = 1;
            RepeatPolarPlot();
          }};
}

void SetPortBGain(int step) {
  PortB_Gain = step;
  UpdateMenuChecks();
  ProgGain();
}

void SetPortBSens(int sens) {
  PortB_Sens = sens;
  UpdateMenuChecks();
  ProgGain();
}

}  // namespace

std::vector<Command> SetupMenuCommands() {
  using G = Guard;
  std::vector<Command> c = {
      // Setup
      {3195, G::kNone, [] { RunModal(dlg_plot_params, &main_win); }},
      {3027, G::kNone,
       [] {
         swrstyle = zmagstyle = rsstyle = xsstyle = phasestyle = rtstyle = s11style = s21style =
             delaystyle = 0;
         RedrawGraph();
       }},
      {3028, G::kNone, ShowLegend},
      {4334, G::kNone, SelectColors},
      CheckedToggle(3163, cursorena),
      {3165, G::kNone,
       [] {
         grid_highlight = 1 - grid_highlight;
         UpdateMenuChecks();
         RedrawGraph();
       }},
      {147, G::kNone,
       [] {
         EnterSwrRuler();
         RedrawGraph();
         SetMenuCheck(main_win, 147, swr_ruler > 0.9999);
       }},
      {4373, G::kNone, EnterRecycleDepth},
      {44, G::kNone, EnterCommPort},
      {4473, G::kNone,
       [] {
         ToggleVoice();
         SetMenuCheck(main_win, 4473, voice != 0);
         BuildMenus();
       }},
      ToneMode(4505, tone_swr, tone_swr_max),
      ToneMode(4506, tone_phase, tone_phase_max),
      ToneMode(4507, tone_zmag, tone_zmag_max),
      {4508, G::kNone, SetToneRange},
      {46, G::kNone, AutoPowerOff},
      {3058, G::kNone, LowCurrentMode},
      {27103, G::kNone,
       [] {
         WinHeight = cfg_win_height;
         WinWidth = cfg_win_width;
         ReopenMainWindow(0);
       }},
      // Diagnostic entries ("Temperature Comp" has no action)
      CheckedToggle(30172, gain_color),
      CheckedToggle(30177, no_cal_comp),
      {30178, G::kNone, [] { trace_serial = 1 - trace_serial; }},
      {30179, G::kNone, ShowFreqPlan},
      {30183, G::kNone, ShowOscBands},
      {27041, G::kNone, ReadTemperature},
      {30180, G::kNone, LogicTest},
      {30182, G::kNone, TemperatureDrift},
      {12843, G::kNone,
       [] {
         DIAGMODE = 0;
         no_cal_comp = 0;
         coord_debug = 0;
         dsp_debug = 0;
         BuildMenus();
         RedrawGraph();
       }},
      {12844, G::kNone,
       [] {
         monitor_trace = 1 - monitor_trace;
         DrawFilesPanel();
       }},
      // Markers
      {3081, G::kNone, [] { MarkerCommand(1); }},
      {3089, G::kNone, [] { MarkerCommand(22); }},
      {3085, G::kNone, [] { MarkerCommand(5); }},
      {3086, G::kNone, [] { MarkerCommand(6); }},
      {3087, G::kNone, [] { MarkerCommand(7); }},
      {3088, G::kNone, [] { MarkerCommand(8); }},
      {2191, G::kNone, EnterSmithRotation},
      PolarPlot(4793, polar_swr),
      PolarPlot(4794, polar_z),
      PolarPlot(4795, polar_s11),
      // Utilities
      {217, G::kNone, OpenLCMatching},
      {218, G::kNone, OpenPlotTool},
      {219, G::kNone, ShowTwelfthWave},
      // Port B Functions
      {23348, G::kNone, Autoranging},
      {23349, G::kNone,
       [] {
         transmission_mode = 1;
         PortB_on = 1;  // stays on after the point data window closes
         PointDataMode();
         transmission_mode = 0;
       }},
      {23346, G::kNone, [] { SetPortBSens(2); }},
      {23347, G::kNone, [] { SetPortBSens(1); }},
      {23350, G::kNone,
       [] {
         std_comp = 1;
         comp_s11_half = comp_s11_measure = comp_s11_specify = 0;
         comp_s22_half = comp_s22_is_s11 = comp_s22_specify = 0;
         UpdateMenuChecks();
       }},
      S11Choice(23351, comp_s11_half),
      S11Choice(23352, comp_s11_measure),
      S11Choice(23353, comp_s11_specify),
      S22Choice(23354, comp_s22_half),
      S22Choice(23355, comp_s22_is_s11),
      S22Choice(23356, comp_s22_specify),
      AveragingWeight(25317, 0.125),
      AveragingWeight(25318, 0.5),
      AveragingWeight(25319, 1.0),
      {25320, G::kNone,
       [] {
         fixed_avg = 1 - fixed_avg;
         BuildMenus();
       }},
      {23328, G::kNone, EnterDelayOffset},
      {25327, G::kNone, EnterDelaySmoothing},
      {23446, G::kNone, ShowRulers},
      {23448, G::kNone, Bandwidth},
      {2147, G::kNone, [] { ShowModeless(dlg_vna_test, &main_win); }},
      // Help
      {41272, G::kNone, OpenManual},
      {4331, G::kNone, ConfigEditor},
      {4333, G::kNone, OpenUpdatePage},
      {42, G::kNone, ShowAbout},
  };
  // Graph styles: trace 1..9 with its present style to preselect.
  const struct {
    int id;
    int* style;
  } styles[] = {{3021, &swrstyle}, {3022, &zmagstyle},  {3023, &rsstyle},
                {3024, &xsstyle},  {3025, &phasestyle}, {3026, &rtstyle},
                {3029, &s11style}, {3030, &s21style},   {3031, &delaystyle}};
  for (int trace = 1; trace <= 9; ++trace) {
    int* style = styles[trace - 1].style;
    c.push_back({styles[trace - 1].id, G::kNone, [trace, style] { SelectStyle(trace, *style); }});
  }
  for (int step = 1; step <= 5; ++step)
    c.push_back({23339 + step, G::kNone, [step] { SetPortBGain(step); }});
  for (int n = 1; n <= 4; ++n) c.push_back({9170 + n, G::kNone, [n] { EnterMyVar(n); }});
  return c;
}

}  // namespace vna
