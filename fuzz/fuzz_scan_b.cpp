// The Port B scan file, chosen in its Load Scan file dialog, in Port B mode,
// where a taken file is drawn by its replay.
#include <cmath>

#include "files/scan_file_b.h"
#include "files/settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"
#include "scan/state.h"

namespace {

// Line 2 the format, line 3 the count, from line 30 one record more than the
// count: frequency, S21 dB, S21 phase in degrees, return loss and its angle
// in degrees; no frequency in the formats before 4080.
void ExpectTaken(const std::vector<std::string>& lines) {
  using namespace vna;
  using fuzz::Expect;
  using fuzz::NumberOn;
  using fuzz::Same;
  const int n = fuzz::ExpectScanCount(lines, scanB_npoints, "Port B");
  const bool old = std::nearbyint(NumberOn(lines, 2)) < 4080;
  const size_t per = old ? 4 : 5;
  constexpr double kDeg = 57.3;
  for (const int i : {0, n - 1}) {
    const size_t at = 30 + per * static_cast<size_t>(i);
    if (!old)
      Expect(Same(scanB_freq[i], NumberOn(lines, at)), "frequency of point " + std::to_string(i));
    const size_t s = old ? at : at + 1;
    Expect(Same(s21_dB[i], NumberOn(lines, s)), "S21 of point " + std::to_string(i));
    Expect(Same(scanB_phase[i], NumberOn(lines, s + 1) / kDeg),
           "S21 phase of point " + std::to_string(i));
    Expect(Same(scanB_s11rl[i], NumberOn(lines, s + 2)),
           "return loss of point " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin();
  PortB_on = 1;
  testhook::QueueFileAnswer(fuzz::InputFile(data, size, "input.scnb"));
  if (fuzz::WholeOrNothing(fuzz::StoredScans(), "Port B scan file", [] { LoadScanB(); })) {
    ExpectTaken(fuzz::Lines(data, size));
  }
  return 0;
}
