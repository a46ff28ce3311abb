#include "tools/stored_scan.h"

#include <algorithm>

#include "files/settings.h"
#include "graph/state.h"
#include "scan/state.h"
#include "shell/text.h"

namespace vna {

int StoredPointsA() {
  return std::clamp(scanA_npoints, 0, kScanArraySize);
}

int StoredPointsB() {
  return std::clamp(scanB_npoints, 0, kScanArraySize);
}

int MeasuredPointsA() {
  return scana_ok == 1 ? StoredPointsA() : 0;
}

int MeasuredPointsB() {
  return scanb_ok == 1 ? StoredPointsB() : 0;
}

double LevelCrossing(double f_a, double v_a, double f_b, double v_b, double level) {
  if (v_b == v_a) return f_a;
  return f_a + (f_b - f_a) * (level - v_a) / (v_b - v_a);
}

int GraphX(double f) {
  return Rnd(graph_left + (f - graph_start) * px_per_MHz);
}

}  // namespace vna
