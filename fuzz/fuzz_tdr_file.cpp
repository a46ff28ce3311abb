// The TDR file, chosen in Load TDR's file dialog; a taken file is drawn.
#include <cmath>
#include <filesystem>

#include "files/settings.h"
#include "files/tdr_file.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "graph/state.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "tools/state.h"

namespace {

using namespace vna;

// The stored trace and the settings that draw it.
fuzz::Guard& Trace() {
  static fuzz::Guard* guard = [] {
    auto* g = new fuzz::Guard;
    g->Add("tdr_response", tdr_response).Add("tdr_trace_points", tdr_trace_points);
    g->Add("tdr_graph_title", tdr_graph_title).Add("tdr_title", tdr_title);
    g->Add("scan_stamp", scan_stamp).Add("Numpts", Numpts).Add("Tdr_delf", Tdr_delf);
    g->Add("DXscale", DXscale).Add("tdr_zmax", tdr_zmax).Add("tdr_range_factor", tdr_range_factor);
    g->Add("average", average).Add("tdr_zo", tdr_zo).Add("tdr_linear_z", tdr_linear_z);
    g->Add("VF", VF).Add("tdr_overlay", tdr_overlay).Add("tdr_feet_per_index", tdr_feet_per_index);
    g->Add("bandscan_mode", bandscan_mode);
    return g;
  }();
  return *guard;
}

// The reader's refusal is its box; it sets no status.
int Refusal() {
  return fuzz::BoxStatus({{" TDR File", 1}});
}

// Line 1 the stamp, 3 the title, 5 the count n, from line 29 the n + 1
// response values.
void ExpectTaken(const std::vector<std::string>& lines) {
  using fuzz::Expect;
  using fuzz::NumberOn;
  using fuzz::Same;
  const int n = static_cast<int>(std::nearbyint(NumberOn(lines, 5)));
  // The trace keeps its own count; the frame it is drawn over plans its own
  // points again (Numpts).
  Expect(tdr_trace_points == n, "a taken TDR file's count");
  Expect(lines.size() >= 3 && scan_stamp == lines[0] && tdr_graph_title == lines[2],
         "a taken TDR file's stamp and title");
  for (const int i : {0, n}) {
    Expect(Same(tdr_response[i], NumberOn(lines, 29 + static_cast<size_t>(i))),
           "response value " + std::to_string(i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Begin(&Trace());
  testhook::QueueFileAnswer(fuzz::InputFile(data, size, "input.tdr"));
  // A taken trace is drawn, which rewrites the auto-save file in the
  // current folder: the temporary folder, for the reader only.
  const std::filesystem::path kept = std::filesystem::current_path();
  std::filesystem::current_path(fuzz::Folder());
  const bool taken = fuzz::WholeOrNothing(
      Trace(), "TDR file", [] { LoadTDR(0); }, Refusal);
  std::filesystem::current_path(kept);
  if (taken) {
    ExpectTaken(fuzz::Lines(data, size));
  }
  return 0;
}
