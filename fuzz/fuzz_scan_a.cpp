// The Port A scan file, chosen in Load Scan's file dialog, and drawn by its
// replay in Port A mode.
#include <algorithm>
#include <cmath>

#include "files/scan_file_a.h"
#include "files/settings.h"
#include "files/state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/state.h"

namespace {

// Line 2 the format, line 3 the count, points from line 18: frequency, |Z|
// and phase, or |Z| and phase in the formats before 130.
void ExpectTaken(const std::vector<std::string>& lines) {
  using namespace vna;
  using fuzz::Expect;
  using fuzz::NumberOn;
  using fuzz::Same;
  const int n = fuzz::ExpectScanCount(lines, scanA_npoints, "Port A");
  const bool old = std::nearbyint(NumberOn(lines, 2)) < 130;
  const size_t per = old ? 2 : 3;
  for (const int i : {0, n - 1}) {
    const size_t at = 18 + per * static_cast<size_t>(i);
    if (!old && smoothing == 0) {
      // The replay draws a point where the instrument could have measured
      // it: a frequency outside the model's range at the nearer limit.
      const double f = std::clamp(NumberOn(lines, at), min_freq, maximumfreq);
      Expect(Same(scanA_freq[i], f), "frequency of point " + std::to_string(i));
    }
    const size_t z = old ? at : at + 1;
    Expect(Same(readA_zmag[i], NumberOn(lines, z)), "|Z| of point " + std::to_string(i));
    Expect(Same(readA_phase[i], NumberOn(lines, z + 1)), "phase of point " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin();
  testhook::QueueFileAnswer(fuzz::InputFile(data, size, "input.scn"));
  if (fuzz::WholeOrNothing(fuzz::StoredScans(), "Port A scan file", [] { LoadScanA(); })) {
    ExpectTaken(fuzz::Lines(data, size));
  }
  return 0;
}
