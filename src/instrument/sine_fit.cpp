#include "instrument/sine_fit.h"

#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/measurement_reply.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

void SineFit() {
  double S = 0, C = 0, S2 = 0, C2 = 0, S3 = 0, C3 = 0, sum = 0;
  int largest = 0, smallest = 100000;
  const bool diag = DIAGMODE != 0;
  for (int i = 0; i < 16; ++i) {
    const int s = fit_samples[i];
    if (s > largest) largest = s;
    if (s < smallest) smallest = s;
    S += s * sin_tab1[i];
    C += s * cos_tab1[i];
    if (diag) {
      S2 += s * sin_tab2[i];
      C2 += s * cos_tab2[i];
      S3 += s * sin_tab3[i];
      C3 += s * cos_tab3[i];
    }
    sum += s;
  }
  S = 2 * S / 16;
  C = 2 * C / 16;
  fit_mag = std::sqrt(C * C + S * S);
  if (diag) {
    fit_mag2 = std::sqrt(S2 * S2 + C2 * C2) * 2 / 16;
    fit_mag3 = std::sqrt(S3 * S3 + C3 * C3) * 2 / 16;
  }
  fit_dc = sum / 16;
  fit_min = smallest;
  fit_max = largest;

  if (S == 0) {
    fit_phase = C <= 0 ? -1.570796 : 1.570796;
  } else {
    fit_phase = std::atan(C / S);
    if (S < 0) fit_phase += C <= 0 ? -pi : pi;
  }
  if (transmission_mode != 0) fit_phase = -fit_phase;
}

void AnaRawDat() {
  if (raw_valid == 0) return;

  for (int i = 0; i < 16; ++i) fit_samples[i] = ADCdata[i];
  SineFit();
  load_adc_max = fit_max;
  load_adc_min = fit_min;
  double g = PortB_on != 0 ? gain_factor_B : gain_factor_A;
  if (g < 0.1) g = 1;
  load_mag_raw = fit_mag;
  MagLoad = fit_mag / g;
  if (MagLoad == 0) MagLoad = 0.000000001;
  load_phase = fit_phase;
  load_mag2 = fit_mag2;
  load_mag3 = fit_mag3;
  load_dc = fit_dc;

  for (int i = 0; i < 16; ++i) fit_samples[i] = ADCdata[16 + i];
  SineFit();
  if (freq > 10 && fit_mag < 50) {
    MoveTo(main_win, graph_left, graph_top - 10);
    PrintItems(main_win, {"*** No Reference signal at ", freq, " MHz      "});
    fit_mag = 50;
    vna_status |= kStatusWeakReference;
  }
  ref_mag_raw = fit_mag;
  MagRef = fit_mag / gain_factor_A;  // the Port A factor, on Port B too
  ref_phase = fit_phase;

  Delta_Phase = load_phase - ref_phase;
  if (Delta_Phase <= -pi) {
    Delta_Phase += twopi;
  } else if (Delta_Phase > pi) {
    Delta_Phase -= twopi;
  }
  ref_mag2 = fit_mag2;
  ref_mag3 = fit_mag3;
  ref_dc = fit_dc;
}

}  // namespace vna
