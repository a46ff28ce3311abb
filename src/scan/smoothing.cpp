#include "scan/smoothing.h"

#include <cmath>
#include <cstdlib>

#include "files/settings.h"
#include "graph/info_panel.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kHistory = 102;

// The last readings of each smoothed quantity, oldest first; both ports
// share the frequencies.
struct History {
  double v[kHistory] = {};
};
History freq_hist;
History a_hist[6];  // swr, Zmag, Zphase, point_Xs, point_Rs, return_loss
History b_hist[2];  // point_s21db, Zphase

int smoothing_choice = 0;  // button that closed the dialog

// One moving-average step over the values behind `values`.
template <size_t N>
void Smooth(History (&hist)[N], double* const (&values)[N]) {
  if (smoothing <= 1 || scan_running <= 0 || mult_changed != 0) {
    freq_plot = freq;
    return;
  }
  const int n = smoothing < kHistory ? smoothing : kHistory - 1;
  const int last = n - 1;
  int first = last - scanloop;
  if (first < 0) first = 0;
  const int u = scanloop < n ? scanloop + 1 : n;
  if (scanloop == 0) {
    for (int j = 0; j <= last; ++j) {
      freq_hist.v[j] = freq;
      for (size_t q = 0; q < N; ++q) hist[q].v[j] = *values[q];
    }
  }
  auto shift = [last](History& h) {
    for (int j = 1; j <= last; ++j) h.v[j - 1] = h.v[j];
  };
  freq_hist.v[last] = freq;
  if (first == 0) {
    freq_plot = freq_hist.v[last / 2];
  } else {
    double sum = 0;
    for (int j = first; j <= last; ++j) sum += freq_hist.v[j];
    freq_plot = sum / (last - first + 1);
  }
  for (size_t q = 0; q < N; ++q) {
    hist[q].v[last] = *values[q];
    double sum = 0;
    for (int j = first; j <= last; ++j) sum += hist[q].v[j];
    *values[q] = sum / u;
    shift(hist[q]);
  }
  shift(freq_hist);
}

}  // namespace

void SmoothA() {
  double* const values[6] = {&swr, &Zmag, &Zphase, &point_Xs, &point_Rs, &return_loss};
  Smooth(a_hist, values);
}

void SmoothB() {
  double* const values[2] = {&point_s21db, &Zphase};
  Smooth(b_hist, values);
}

void SmoothCells() {
  int cells = delta_freq != 0 ? Rnd((end_freq - start_freq) / delta_freq * 0.02 + 0.5) : 0;
  cells |= 1;
  if (cells < 3) cells = 0;
  if (cells > maxsmooth) cells = maxsmooth;
  smooth_auto = cells;
  if (smoothing != 0) smoothing = cells;
}

void ShowSmoothing() {
  InfoPanel(3);
}

void SmoothingDialog() {
  smoothing_choice = 0;
  RunModal(dlg_smoothing, &main_win);
  if (dlg_result == 1) {
    switch (smoothing_choice) {
      case 2:
        if (!dlg_text1.empty()) {
          int n = Rnd(std::fabs(ParseNumber(dlg_text1)));
          if (n > maxsmooth) n = maxsmooth;
          n |= 1;
          if (n < 2) {
            smoothing = smooth_auto = smooth_man = 0;
          } else {
            smoothing = smooth_man = n;
            smooth_auto = 0;
          }
        }
        break;
      case 3:
        smooth_auto = 1;
        smoothing = 1;
        smooth_man = 0;
        SmoothCells();
        break;
      case 6:
        smoothing = smooth_man = smooth_auto = 0;
        break;
      default:  // Smoothing ON: closes without a change
        break;
    }
  }
  ShowSmoothing();
}

int SmoothingHandler() {
  if (msg_id == kEvInitDialog) {
    CenterDialog(dlg_smoothing);
    SetCtlText(dlg_smoothing, 1, " " + NumStr(smoothing));
    SetTitle(dlg_smoothing, "Smoothing 0.." + NumStr(maxsmooth));
  } else if (msg_id == kEvCommand) {
    const int id = msg_ctl_id;
    if (id == 2 || id == 3 || id == 4 || id == 6) {
      if (id == 2) dlg_text1 = GetCtlText(dlg_smoothing, 1);
      smoothing_choice = id;
      CloseDialog(dlg_smoothing, 1);
    }
  }
  return 0;
}

}  // namespace vna
