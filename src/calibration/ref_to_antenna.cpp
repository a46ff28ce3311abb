#include "calibration/ref_to_antenna.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/menus.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr double kFeetPerMetre = 3.2808;
constexpr double kDbPerNeper = 8.686;

void TakeCableData() {
  cable_length_text = dlg_text1;
  std::string t = dlg_text1;
  for (char& ch : t) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  double unit = metric != 0 ? kFeetPerMetre : 1;
  for (char& ch : t) {
    if (ch != 'm') continue;
    ch = ' ';
    unit = kFeetPerMetre;  // the length was typed in metres
  }
  if (!t.empty()) cable_length = unit * std::fabs(ParseNumber(t));
  cable_loss_text = dlg_text2;
  loss = std::fabs(ParseNumber(dlg_text2)) / 100 * (1 / unit) / kDbPerNeper;
  Z0real = std::fabs(ParseNumber(dlg_text3));
  // Every reflection is computed against this impedance: 0 would divide by 0.
  if (Z0real < 1 || Z0real > 10000) Z0real = 50;
  Zref = Z0real;
  VF = std::fabs(ParseNumber(dlg_text4));
  if (VF < 0.5) VF = 0.66;
  if (VF > 1) VF = 1;
}

}  // namespace

void RefToAntenna() {
  ref_to_antenna = ref_to_antenna != 0 ? 0 : 1;
  UpdateMenuChecks();
  int result = 0;
  if (ref_to_antenna == 1) result = RunModal(dlg_cable_data, &main_win);
  int color = White;
  if (result == 1) {
    TakeCableData();
    ref_to_antenna = 1;
    color = RedColor;
  } else if (ref_to_antenna != 0) {
    ref_to_antenna = 0;  // no cable data: the mode stays off
    UpdateMenuChecks();
  }
  SetFont(main_win, "arial", font_size, font_weight);
  SetTextColor(main_win, color);
  MoveTo(main_win, graph_mid_x - 50, line1_y);
  PrintText(main_win, "Ref to Antenna     ");
  SetTextColor(main_win, Black);
  SetPen(main_win, Black);
}

}  // namespace vna
