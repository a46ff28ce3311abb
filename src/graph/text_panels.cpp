#include "graph/text_panels.h"

#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/graph_frame.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

std::string PadTo30(std::string s) {
  if (s.size() < 30) s.append(30 - s.size(), ' ');
  return s;
}

}  // namespace

void DrawTitle() {
  Window& w = main_win;
  std::string text = PortB_on != 0 ? PortB_title : PortA_title;
  if (tdr_mode != 0) text = tdr_graph_title;
  const size_t last = text.find_last_not_of(" \t");
  text.erase(last == std::string::npos ? 0 : last + 1);
  text.erase(0, text.find_first_not_of(" \t"));
  if (text.size() > 120) text.resize(120);
  SetTextColor(w, title_color);
  SetFont(w, "arial", font_size + 1, font_weight);
  int tw = 0, th = 0;
  TextExtent(w, text, tw, th);
  int x = graph_mid_x - tw / 2;
  if (x < title_min_x) x = title_min_x;
  const std::string blanks(200, ' ');
  GraphPrint(title_min_x, title_y, {blanks});
  GraphPrint(title_min_x, title_y + 2, {blanks});
  GraphPrint(x, title_y, {text});
  SetTextColor(w, Black);
}

void DrawDateStamp() {
  Window& w = main_win;
  SetTextColor(w, Black);
  const std::string stamp = DateText("MMM d',' yyyy") + "  " + TimeText();
  int tw = 0, th = 0;
  TextExtent(w, stamp, tw, th);
  MoveTo(w, 10, graph_bottom + 7);
  title_min_x = tw + 40;
  if (live_data != 0) scan_stamp = stamp;
  PrintText(w, scan_stamp);
  graph_stamp = scan_stamp;
}

void DrawFilesPanel() {
  Window& w = main_win;
  int tw = 0, h = 0;
  SetFont(w, "arial", font_size + 1, font_weight);
  TextExtent(w, "FileName", tw, h);
  int x = info_x;
  int y = graph_bottom - 3 * h;
  files_panel_y = y;
  SetFont(w, "arial", font_size, font_weight);
  SetTextColor(w, files_color);
  GraphPrint(x, y, {"FILES: (" + prog_ver + prog_subver + ")"});
  // Each name wipes the name shown before it, and a long one is cut to the
  // window keeping its end, where the file's own name is.
  int right = 0, bottom = 0;
  ClientSize(w, right, bottom);
  y += h;
  x += 5;
  MoveTo(w, x, y);
  PrintInLine(w, right, {PadTo30(cal_file_name)}, true);
  y += h;
  SetTextColor(w, files_color);
  MoveTo(w, x, y);
  PrintInLine(w, right, {PadTo30(config_file_name)}, true);
  SetTextColor(w, Green);
  SetDigits(6);
  GraphPrint(
      graph_mid_x - 200, line0_y,
      {" Cal Range =" + NumStr(cal_start_freq) + ", " + NumStr(cal_end_freq) + " MHz       "});
  SetDigits(3);
  SetTextColor(w, Black);
  if (DIAGMODE != 0) {
    SetTextColor(w, Green);
    GraphPrint(
        graph_mid_x, 1,
        {" DIAGMODE Baud=" + NumStr(baudrate / 1000) + "K  port=" + NumStr(commport) +
         "  MultSet= " + NumStr(format) + (monitor_trace != 0 ? "  Debug" : std::string(13, ' '))});
  }
  DrawBattery(dc_voltage);
}

void DrawBattery(double volts) {
  const bool monitored =
      full_current_mode != 0 || ((DIAGMODE > 0 || autopoweroff > 0) && min_dc_voltage < 100);
  if (!monitored) return;
  Window& w = main_win;
  MoveTo(w, info_x + 35, 20);
  SetDigits(1);
  const bool low = min_dc_voltage < 10;
  SetFont(w, "arial", font_size, font_weight);
  SetTextColor(w, Black);
  if (autopoweroff != 0) PrintText(w, "BattV=" + NumStr(volts));
  SetTextColor(w, low ? RedColor : Black);
  PrintText(w, low ? " LOW BATT    " : std::string(11, ' '));
  SetTextColor(w, Black);
  SetDigits(3);
}

}  // namespace vna
