// The dispatch by id, and the commands of the button bar and the info panel
// with the Recycle loop.
#include "shell/commands.h"

#include <map>

#include "calibration/line_extension.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "graph/cursor_readout.h"
#include "graph/graph_frame.h"
#include "graph/redraw.h"
#include "graph/scales_dialogs.h"
#include "graph/smith_chart.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "scan/band_scan.h"
#include "scan/point_data.h"
#include "scan/scan_a.h"
#include "scan/scan_b.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"
#include "scan/state.h"
#include "shell/chart_loops.h"
#include "shell/command_table.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/status.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/channel_scan.h"
#include "tools/state.h"
#include "tools/stored_scan.h"
#include "tools/tdr.h"

namespace vna {
namespace {

const std::map<int, Command>& CommandTable() {
  static const std::map<int, Command> table = [] {
    std::map<int, Command> t;
    for (auto* part : {ButtonCommands, MeasureMenuCommands, SetupMenuCommands})
      for (Command& c : part()) t.emplace(c.id, std::move(c));
    return t;
  }();
  return table;
}

void ScanButton() {
  scan_from_file = 0;
  if (tdr_mode != 0) {
    RunTdrWithParams();
    return;
  }
  if (scan_running != 0) return;
  CurrentTitle().clear();
  rescan_on = 0;
  color_index = 0;
  alt_colors = 0;
  FocusMainWindow();
  DrawGraph();
  live_data = 1;
  if (PortB_on != 0 && vscope_open != 0) {
    ScanAllChannels();
  } else {
    ScanCurrentPort();
  }
}

void RescanButton() {
  if (tdr_mode != 0) {
    RunTDR();
  } else if (bandscan_mode != 0) {
    BandScan();
  } else if (recycle_on > 0 || scan_running == 0) {
    // Drawn over the last scan: the title stays and the graph is not cleared.
    rescan_on = 1;
    NextColorIndex();
    ScanCurrentPort();
  }
}

void PrintRecycleCount() {
  SetFont(main_win, "arial", font_size - 1, font_weight);
  MoveTo(main_win, 1, 0);
  PrintItems(main_win, {" Recycle=", recycle_scans_done, " "});
  SetFont(main_win, "arial", font_size + 1, font_weight);
}

// Scans again and again until Halt, a second Recycle click or the end of the
// program; a click while a pass runs ends the loop after that pass.
void RecycleButton() {
  if (tdr_mode != 0) return;
  if (recycle_on == 0) {
    recycle_on = 1;
    recycle_scans_done = 0;
    DrawGraph();
  } else {
    recycle_on = 0;
    scan_running = 0;
  }
  if (scan_running != 0) return;
  while (main_loop_on > 0 && recycle_on > 0) {
    if (recycle_count > 0) {
      --recycle_count;
      if (recycle_count <= 0) {
        RedrawGraph();  // only the last scan stays on the graph
        recycle_count = Recycle_depth;
      }
    }
    ++recycle_scans_done;
    PrintRecycleCount();
    ScanCurrentPort();
    if (recycle_on > 0) recycle_on = 2;
    CursorReadout(mouse_x, mouse_y);
    if (smith_drawn > 0) Smith();
    DelayMs(recycle_delay);
  }
}

void PortABButton() {
  if (scan_running != 0) return;
  if (DIAGMODE > 0 || PortB_cal > 0) {
    PortB_on = 1 - PortB_on;
    SetScanCaptions();
    BuildMenus();
    // Each port keeps its own averaging count.
    const int previous = average;
    AverageADC(average_other);
    average_other = previous;
    RedrawGraph();
  } else {
    MsgBox(&main_win, "Port B is not calibrated.", "Port B not calibrated", kMbOk, kIconNone, true);
  }
}

void SmithButton() {
  if (tdr_mode == 0 && MeasuredPointsA() > 1 && PortB_on == 0 && recycle_on == 0) RepeatSmith();
}

}  // namespace

std::string& CurrentTitle() {
  return PortB_on != 0 ? PortB_title : PortA_title;
}

void ScanCurrentPort() {
  if (PortB_on != 0) {
    // A new scan starts afresh: a failure an earlier operation left would
    // close the Port B scan's gate without a word (the Port A scan clears
    // it itself).
    if (!ScanBInProgress()) vna_status = 0;
    Scan_B();
  } else {
    Scan_A();
  }
}

void NextColorIndex() {
  ++color_index;
  if (color_index > 7) color_index = 0;
}

void RunTdrWithParams() {
  tdr_show_params = 1;
  RunTDR();
  tdr_show_params = 0;
}

std::vector<Command> ButtonCommands() {
  using G = Guard;
  return {
      {kBtnScan, G::kInstrument, ScanButton},
      {kBtnRescan, G::kInstrument, RescanButton},
      {kBtnRecycle, G::kInstrument, RecycleButton},
      {kBtnHalt, G::kNone,
       [] {
         scan_running = 0;
         recycle_on = 0;
         chan_scan_stop = 1;  // an all-channel scan stops before its next channel
       }},
      {kBtnPortAB, G::kNone, PortABButton},
      {kBtnPointData, G::kInstrument,
       [] {
         if (tdr_mode == 0) PointDataMode();
       }},
      {kBtnLimits, G::kNone, SetScanLimits},
      {kBtnScales, G::kNone,
       [] {
         if (tdr_mode != 0) {
           TDRScales();
         } else {
           GraphScales();
         }
       }},
      {kBtnSmith, G::kNone, SmithButton},
      {kBtnComment, G::kNone,
       [] {
         EnterComment();
         DrawTitle();
       }},
      {kBtnStatus, G::kNone, ShowStatus},
      {kBtnQuit, G::kNone, CloseToolWindows},
      {kInfoAverage, G::kNone, EnterAverage},
      {kInfoSettling, G::kNone, EnterDDSdelay},
      {kInfoSmoothing, G::kNone, SmoothingDialog},
      {kInfoExtension, G::kNone,
       [] {
         SetLineExtension();
         RedrawGraph();
       }},
      {kInfoZref, G::kNone,
       [] {
         EnterZref();
         RedrawGraph();
       }},
  };
}

void DispatchCommand(int id) {
  const auto& table = CommandTable();
  const auto it = table.find(id);
  if (it == table.end()) return;
  const Command& c = it->second;
  if (c.guard != Guard::kNone && vna_present == 0) {
    if (c.guard == Guard::kInstrument) NeedsHardware();
    return;
  }
  c.action();
  // A command may leave another mode than it found (a calibration ends TDR
  // mode, a point read selects its port): the buttons show the one it left.
  ShowModeOnButtons();
}

}  // namespace vna
