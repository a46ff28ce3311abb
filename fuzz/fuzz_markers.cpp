// The marker file, chosen in Load Markers' file dialog.
#include "files/settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "graph/markers.h"
#include "graph/state.h"
#include "platform/testhook.h"

namespace {

using namespace vna;

fuzz::Guard& Table() {
  static fuzz::Guard* guard = [] {
    auto* g = new fuzz::Guard;
    g->Add("markers", markers).Add("marker_next", marker_next).Add("marker_count", marker_count);
    g->Add("marker_file_path", marker_file_path).Add("marker_folder", marker_folder);
    return g;
  }();
  return *guard;
}

// The reader's refusal is its box: the wrong first line (4182) or a value
// line missing or without a number (87212).
int Refusal() {
  return fuzz::BoxStatus({{" Marker File Error 4182", 4182}, {"//87212", 87212}});
}

// Four header lines, then eight values for each of the 20 rows: frequency,
// Rs, Xs, phase in degrees, SWR, return loss, S21 dB and S21 phase.
void ExpectTaken(const std::vector<std::string>& lines) {
  using fuzz::Expect;
  using fuzz::NumberOn;
  using fuzz::Same;
  Expect(Same(markers[1].Freq, NumberOn(lines, 5)), "row 1's frequency");
  Expect(Same(markers[1].Phase, NumberOn(lines, 8) / 57.3), "row 1's phase");
  Expect(Same(markers[20].Freq, NumberOn(lines, 4 + 19 * 8 + 1)), "row 20's frequency");
  Expect(Same(markers[20].s21phase, NumberOn(lines, 4 + 20 * 8)), "row 20's S21 phase");
  Expect(marker_file_path == fuzz::Folder() + "/input.mrk", "the remembered marker file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Begin(&Table());
  testhook::QueueFileAnswer(fuzz::InputFile(data, size, "input.mrk"));
  if (fuzz::WholeOrNothing(
          Table(), "marker file", [] { LoadMarkers(); }, Refusal)) {
    ExpectTaken(fuzz::Lines(data, size));
  }
  return 0;
}
