#include "instrument/impedance.h"

#include <cmath>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

double SwrOfRho(double rho) {
  const double swr = rho < 0.999999 ? (1 + rho) / (1 - rho) : 999;
  return swr > 999 ? 999 : swr;
}

}  // namespace

void RawImpedance() {
  const double z = MagLoad == 0 ? 1000000 : raw_Z0 / ((MagLoad / MagRef) / z_factor);
  fit_phase = Delta_Phase;
  Rsm = z * std::cos(Delta_Phase);
  Xsm = z * std::sin(Delta_Phase);
  if (freq < 0.0001) freq = 0.0001;
  const double z2 = Xsm * Xsm + Rsm * Rsm;
  Rp_raw = Rsm > 0.001 ? z2 / Rsm : 1000000;
  if (Xsm > 0.001 || Xsm < -0.001) {
    Xp_raw = z2 / Xsm;
  } else {
    Xp_raw = Xsm < 0 ? -1000000 : 1000000;
  }
  fit_phase = fit_phase * 57.296;

  if (model_uhf > 0 && DIAGMODE > 0) {
    SetTextColor(main_win, Black);
    MoveTo(main_win, graph_left + 25, graph_top - 25);
    PrintItems(main_win, {"Freq= ", freq, ": MagRef= ", MagRef, " MagLoad= ", MagLoad,
                          " FreqOffset=", diag_freq_offset});
    MoveTo(main_win, graph_left + 25, graph_top - 10);
    PrintItems(main_win, {" Phase= ", fit_phase, "deg  Mults=", dds_mult1, ",", dds_mult2,
                          " AGain=", gain_factor_A, " BGain=", PortB_Gain, " settling=", settle_ms,
                          " clk=", OSC, "  //6283   "});
  }
}

void ImpedanceFromPolar() {
  freq_plot = freq;
  point_Rs = Zmag * std::cos(Zphase);
  point_Xs = Zmag * std::sin(Zphase);
  if (point_Rs < 0.0001) point_Rs = 0.001;
  Rp = Zmag * Zmag / point_Rs;
  Xp = std::abs(point_Xs) > 0.0001 ? Zmag * Zmag / point_Xs : 100000;
  if (freq < 0.001) freq = 0.005;
  CalcRho(point_Rs, point_Xs);
}

void CalcRho(double R, double X) {
  double N, D;
  if (std::abs(Z0imag) > 0.001) {
    N = (R - Zref) * (R - Zref) + (X - Z0imag) * (X - Z0imag);
    D = (R + Zref) * (R + Zref) + (X + Z0imag) * (X + Z0imag);
  } else {
    N = (R - Zref) * (R - Zref) + X * X;
    D = (R + Zref) * (R + Zref) + X * X;
  }
  rho = std::sqrt(N / D);

  // The complex coefficient is formed for every point, not only while the
  // |S11| trace is on: the Port A smoothing reads rho_mag and the Port B scan
  // stores rho_phase with each point, and both must describe this point.
  const double a = R - Zref, b = X - Z0imag, c = R + Zref, d = X + Z0imag;
  double q = c * c + d * d;
  if (q < 0.000001) q = 0.000001;
  s11.r = (a * c + b * d) / q;
  s11.i = (b * c - a * d) / q;
  rho_mag = std::sqrt(s11.r * s11.r + s11.i * s11.i);
  double re = s11.r;
  if (std::abs(re) < 0.000001) re = re < 0 ? -0.000001 : 0.000001;
  double k = 0;
  if (re < 0) k = s11.i >= 0 ? pi : -pi;
  rho_phase = std::atan(s11.i / re) + k;

  // A perfect match has no finite return loss; -200 dB stands for it (rho 1e-10).
  return_loss = rho > 1e-10 ? 20 * std::log10(rho) : -200;
  swr = SwrOfRho(rho);
}

double SwrOfReturnLoss(double rl_db) {
  return SwrOfRho(std::isfinite(rl_db) ? std::pow(10.0, rl_db / 20) : 1);
}

}  // namespace vna
