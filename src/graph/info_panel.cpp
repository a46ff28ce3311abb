#include "graph/info_panel.h"

#include <cmath>
#include <string>

#include "files/settings.h"
#include "files/settings_clamp.h"
#include "graph/state.h"
#include "shell/menus.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// Padded with blanks to 22 characters with bold text (20 without), and cut
// to 22 when that long or longer, unless `never_cut`.
std::string FitButtonText(std::string s, bool never_cut = false) {
  const size_t width = bold_font != 0 ? 22 : 20;
  if (s.size() < width) {
    s.append(width - s.size(), ' ');
  } else if (!never_cut && s.size() > 22) {
    s.resize(22);
  }
  return s;
}

void ShowButton(int id, const std::string& text, int background) {
  SetCtlColors(main_win, id, Black, background);
  SetCtlFont(main_win, id, "courier", font_size, font_weight);
  SetCtlText(main_win, id, text);
}

void AverageButton() {
  const bool on = average >= 2;
  const std::string text = FitButtonText(on ? "Average=" + NumStr(average) : "Average is OFF ");
  SetCtlColors(main_win, kInfoAverage, Black, on ? kInfoActiveColor : Grey);
  // Unchanged text: only the colour is set again, so the button does not
  // flicker at every scan.
  if (GetCtlText(main_win, kInfoAverage) != text) {
    SetCtlFont(main_win, kInfoAverage, "courier", font_size, font_weight);
    SetCtlText(main_win, kInfoAverage, text);
  }
  shown_average = average;
}

std::string ZrefText() {
  std::string text = "Zref=" + NumStr(Zref);
  if (Z0imag > 0.00001) {
    text += " + j" + NumStr(Z0imag);
  } else if (Z0imag < -0.00001) {
    text += " - j" + NumStr(std::fabs(Z0imag));
  }
  return text;
}

}  // namespace

void InfoPanel(int n) {
  ClampSettings();
  if (n == 0) {
    for (int id = kInfoAverage; id <= kInfoZref; ++id) {
      const int y = info_button_y + (id - kInfoAverage) * info_button_h;
      AddControl(main_win, {CtlKind::Button, "", info_x, y, info_button_w, info_button_h, 0, id});
    }
  }
  if (n == 0 || n == 1) AverageButton();
  if (n == 0 || n == 2) {
    ShowButton(kInfoSettling, FitButtonText("Settling Time=" + NumStr(DDSdelay) + " ms"),
               kInfoActiveColor);
  }
  if (n == 0 || n == 3) {
    std::string text = "Smoothing=" + NumStr(smoothing);
    if (smoothing > 0 && smooth_auto > 0) text += " auto";
    ShowButton(kInfoSmoothing, FitButtonText(text), smoothing != 0 ? kInfoActiveColor : Grey);
  }
  SetDigits(2);
  if (n == 0 || n == 4) {
    const std::string text = "Line Extension=" + NumStr(ExtensionLength * 100) + " cm";
    ShowButton(kInfoExtension, FitButtonText(text, true),
               ExtensionFlag != 0 ? kInfoActiveColor : Grey);
  }
  SetDigits(3);
  if (n == 0 || n == 5) ShowButton(kInfoZref, FitButtonText(ZrefText()), kInfoActiveColor);
  SetFont(main_win, "Arial", font_size, font_weight);
}

}  // namespace vna
