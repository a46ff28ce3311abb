// Trace styles and trace colours.
#include "graph/styles.h"

#include <array>

#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/redraw.h"
#include "graph/state.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/state.h"

namespace vna {
namespace {

// The style setting of trace 1..9; nullptr for any other number.
int* TraceStyle(int trace) {
  int* const styles[9] = {&swrstyle, &zmagstyle, &rsstyle,  &xsstyle,   &phasestyle,
                          &rtstyle,  &s11style,  &s21style, &delaystyle};
  return trace >= 1 && trace <= 9 ? styles[trace - 1] : nullptr;
}

void TickStyle(int choice) {
  for (int box = 1; box <= 6; ++box) SetCheck(dlg_style, box, box == choice + 1);
}

// The colour buttons 13..18, each with its normal and its light colour, and
// the text that reads on the normal colour.
struct ColorButton {
  int* normal;
  int* light;
  bool white_text;
};
const std::array<ColorButton, 6> kButtons = {{
    {&RedColor, &LightRed, true},
    {&Green, &LightGreen, true},
    {&Magenta, &LightMagenta, true},
    {&Orange, &LightOrange, false},
    {&Yellow, &LightYellow, false},
    {&Blue, &LightBlue, true},
}};

using Colors = std::array<int, 12>;

Colors SaveColors() {
  Colors c{};
  for (size_t k = 0; k < kButtons.size(); ++k) {
    c[2 * k] = *kButtons[k].normal;
    c[2 * k + 1] = *kButtons[k].light;
  }
  return c;
}

void PutColors(const Colors& c) {
  for (size_t k = 0; k < kButtons.size(); ++k) {
    *kButtons[k].normal = c[2 * k];
    *kButtons[k].light = c[2 * k + 1];
  }
}

// The defaults of the buttons' colours, normal then light, by their places
// in default_colors.
Colors DefaultColors() {
  enum {
    kLightMagenta,
    kMagenta,
    kLightGreen,
    kGreen,
    kLightRed,
    kRed,
    kLightBlue,
    kBlue,
    kLightOrange,
    kOrange,
    kLightYellow,
    kYellow
  };
  const int order[12] = {kRed,    kLightRed,    kGreen,  kLightGreen,  kMagenta, kLightMagenta,
                         kOrange, kLightOrange, kYellow, kLightYellow, kBlue,    kLightBlue};
  Colors c{};
  for (int k = 0; k < 12; ++k) c[k] = default_colors[order[k]];
  return c;
}

void PaintNormalSet() {
  for (size_t k = 0; k < kButtons.size(); ++k)
    SetCtlColors(dlg_colors, 13 + static_cast<int>(k), kButtons[k].white_text ? White : Black,
                 *kButtons[k].normal);
}

void PaintLightSet() {
  for (size_t k = 0; k < kButtons.size(); ++k)
    SetCtlColors(dlg_colors, 13 + static_cast<int>(k), Black, *kButtons[k].light);
}

// "Scan" ticked: the buttons show and set the normal colours.
void ScanColors() {
  SetCheck(dlg_colors, 19, true);
  SetCheck(dlg_colors, 20, false);
  PaintNormalSet();
}

void PickColor(int id) {
  const ColorButton& b = kButtons[id - 13];
  int* target = GetCheck(dlg_colors, 19) ? b.normal : b.light;
  const int picked = ColorPicker(&dlg_colors, *target);
  if (picked == -1) return;
  *target = picked;
  SetCtlColors(dlg_colors, id, White, picked);
}

}  // namespace

void SelectStyle(int trace, int style) {
  cmd_param = style;
  style_choice = -1;
  RunModal(dlg_style, &main_win);
  if (style_choice < 0 || style_choice > 6) return;
  if (int* setting = TraceStyle(trace)) *setting = style_choice;
  RedrawGraph();
}

int GraphStyleHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_style);
    TickStyle(cmd_param);
  } else if (msg_id == kEvCommand) {
    const int id = msg_ctl_id;
    if (id >= 1 && id <= 6) style_choice = id - 1;
    if (id == 7) {
      CloseDialog(dlg_style, 2);
      FocusMainWindow();
    }
    TickStyle(style_choice);
  }
  return 0;
}

void SetStyles(int style) {
  SUB = "SetStyles";
  if (tdr_mode != 0) {
    MsgBox(&main_win, "Overlay is not available in TDR mode.", " //321742", kMbOk, kIconNone, true);
    return;
  }
  swrstyle = zmagstyle = rsstyle = xsstyle = phasestyle = rtstyle = style;
  alt_colors = 0;
  // The loader asks for the file to overlay.
  save_mode = 0;
  if (PortB_on != 0) {
    LoadScanB();
  } else {
    LoadScanA();
  }
}

void SelectColors() {
  const Colors saved = SaveColors();
  RunModal(dlg_colors, &main_win);
  if (dlg_result == 2) PutColors(saved);
  RedrawGraph();
}

int ColorSelectionHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_colors);
    for (int id = 13; id <= 18; ++id) SetCtlFont(dlg_colors, id, "arial", font_size + 2, 700);
    ScanColors();
    SetCtlColors(dlg_colors, 99, White, White);
  } else if (msg_id == kEvCommand) {
    const int id = msg_ctl_id;
    if (id == 10) {
      CloseDialog(dlg_colors, 1);
    } else if (id == 12) {
      if (MsgBox(&dlg_colors, "Do you want to restore the default colors?", " Defaults", kMbYesNo,
                 kIconNone, true) == kIdYes) {
        PutColors(DefaultColors());
        ScanColors();
      }
    } else if (id >= 13 && id <= 18) {
      PickColor(id);
    } else if (id == 19) {
      ScanColors();
    } else if (id == 20) {
      SetCheck(dlg_colors, 19, false);
      SetCheck(dlg_colors, 20, true);
      PaintLightSet();
    }
  }
  return 0;
}

}  // namespace vna
