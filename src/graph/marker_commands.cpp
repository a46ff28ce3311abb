// The Markers menu, the right-click marker editing and the rotation of a
// marker impedance along a line.
#include "graph/marker_commands.h"

#include <cmath>
#include <string>

#include "files/settings.h"
#include "graph/marker_lines.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

bool FreeRow(int i) {
  return markers[i].Freq >= 9000;
}

// The row a new marker takes: marker_next when it is free, else the first
// free row; 0 when all 20 hold a marker.
int RowForInsert() {
  if (marker_next >= 1 && marker_next <= kMaxMarkers && FreeRow(marker_next)) return marker_next;
  for (int i = 1; i <= kMaxMarkers; ++i) {
    if (FreeRow(i)) return i;
  }
  return 0;
}

void Insert(double f) {
  for (int i = 1; i <= kMaxMarkers; ++i) {
    if (std::fabs(markers[i].Freq - f) <= 0.0001) return;
  }
  const int row = RowForInsert();
  if (row == 0) {
    MsgBox(&main_win, "All 20 markers are in use.\rRemove a marker before you insert another one.",
           " Marker", kMbOk, kIconNone, true);
    return;
  }
  markers[row].Freq = f;
  marker_next = row + 1 > kMaxMarkers ? 1 : row + 1;
}

void Remove(double f) {
  const double v = std::floor(200 * f + 0.5) * 0.005;
  if (v <= 0.005) {
    if (marker_next >= 1 && marker_next <= kMaxMarkers) markers[marker_next].Freq = 10000;
    return;
  }
  // Of equally near rows the highest one goes.
  int nearest = 1;
  for (int i = 2; i <= kMaxMarkers; ++i) {
    if (std::fabs(markers[i].Freq - v) <= std::fabs(markers[nearest].Freq - v)) nearest = i;
  }
  markers[nearest].Freq = 10000;
}

void AskRotation() {
  if (PortB_on != 0) return;
  msg_text = "Marker Rotation (+/- deg)";
  input_value = marker_rotation;
  InputNumber();
  if (dlg_result != 1) return;
  marker_rotation = input_value;
  // The window lists with the angle it opened with: it closes.
  if (markerwin_open != 0) {
    markerwin_open = 0;
    recycle_on = 0;
    CloseWindow(marker_win);
  }
}

}  // namespace

void MarkerCommand(int sub) {
  if (tdr_mode != 0) return;
  cmd_param = sub;
  marker_measure = 0;
  switch (sub) {
    case 1:
      marker_measure = 1;
      MarkerData_A();
      break;
    case 5:
      markerena = 1 - markerena;
      if (markers_drawn != markerena) DrawMarkers();
      break;
    case 6:
      ClearMarkers();
      markerena = 0;
      RedrawGraph();
      break;
    case 7:
      SaveMarkers();
      break;
    case 8:
      LoadMarkers();
      markerena = 1;
      RedrawGraph();
      break;
    case 9:
      EditMarker();
      markerena = 1;
      RedrawGraph();
      break;
    case 22:
      AskRotation();
      break;
    default:
      break;
  }
  SetMenuCheck(main_win, 3081, markers[1].Freq < maximumfreq);
  SetMenuCheck(main_win, 3085, markerena != 0);
  marker_count = 0;
  for (int i = 1; i <= kMaxMarkers; ++i) marker_count += markers[i].Freq < maximumfreq ? 1 : 0;
  marker_next = marker_count + 1 > kMaxMarkers ? 1 : marker_count + 1;
}

void EditMarker() {
  const int x = msg_mouse_x;
  SetDigits(5);
  double f = graph_start + (x - graph_left) / px_per_MHz;
  const double m = graph_end - graph_start > 0.05 ? 200 : 500;
  f = std::floor(m * f + 0.5) / m;
  freq = f;
  RunModal(dlg_marker, &main_win);
  if (dlg_result == 1) {
    int choice = cmd_param;
    if (!dlg_text1.empty()) {
      msg_text = dlg_text1;
      ParseKSuffix();
      f = std::fabs(ParseNumber(msg_text) * input_scale);
      if (f > maximumfreq) f = maximumfreq;
      if (markerwin_open != 0) {
        markerwin_open = 0;
        recycle_on = 0;
        CloseWindow(marker_win);
      }
    } else {
      choice = 0;
    }
    if (choice == 1) Insert(f);
    if (choice == 2) Remove(f);
    SortMarkers();
  }
  FocusMainWindow();
  SetDigits(3);
}

void RotateMarkerZ(double degrees) {
  const double theta = -2 * degrees / (180 / pi);
  const Complex z0{Z0real, Z0imag}, z{point_Rs, point_Xs}, one{1, 0};
  Complex num, den, gamma;
  CSub(num, z, z0);
  CAdd(den, z, z0);
  CDiv(gamma, num, den);
  const Complex turn{std::cos(theta), -std::sin(theta)};
  Complex turned, up, down, ratio, zr;
  CMul(turned, gamma, turn);
  CAdd(up, one, turned);
  CSub(down, one, turned);
  CDiv(ratio, up, down);
  CMul(zr, z0, ratio);
  point_Rs = zr.r < 0.00001 ? 0.00001 : zr.r;
  point_Xs = zr.i;
  Zphase = std::atan(point_Xs / point_Rs);
}

}  // namespace vna
