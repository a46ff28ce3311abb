// The config file, as start-up reads it. A file of an older version is
// refused whole (the program's own config file is named in its place); a
// file that ends early keeps the values of the positions it lacks.
#include "files/config_file.h"
#include "files/settings.h"
#include "files/state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "graph/state.h"
#include "platform/testhook.h"
#include "shell/state.h"

namespace {

using namespace vna;

// What a config file sets: the colours, bands and options of its positions.
fuzz::Guard& Config() {
  static fuzz::Guard* guard = [] {
    auto* g = new fuzz::Guard;
    g->Add(fuzz::Settings());
    // Named by a refusal on purpose.
    g->Drop(&config_file_name).Drop(&config_file_path);
    g->Add("band_name", band_name).Add("band_start", band_start).Add("band_end", band_end);
    g->Add("band_delta", band_delta).Add("bandskip_start", bandskip_start);
    g->Add("bandskip_end", bandskip_end);
    g->Add("RedColor", RedColor).Add("Green", Green).Add("Blue", Blue).Add("Cyan", Cyan);
    g->Add("title_color", title_color).Add("chart_bg_color", chart_bg_color);
    g->Add("grid_line_color", grid_line_color).Add("grid_color", grid_color);
    g->Add("files_color", files_color).Add("band_color", band_color);
    g->Add("trace_width", trace_width).Add("max_points", max_points).Add("metric", metric);
    g->Add("version_delay", version_delay).Add("cfg_win_width", cfg_win_width);
    g->Add("cfg_win_height", cfg_win_height).Add("font_size", font_size);
    g->Add("bold_font", bold_font).Add("chart_scale", chart_scale);
    g->Add("recycle_delay", recycle_delay).Add("highbaud", highbaud);
    g->Add("dspthreshold_factor", dspthreshold_factor).Add("dspthreshold", dspthreshold);
    g->Add("regctl_mode", regctl_mode).Add("autosave_graph", autosave_graph);
    g->Add("voice_digits", voice_digits).Add("voice_repeat", voice_repeat);
    g->Add("lowres_tol", lowres_tol).Add("relay_freq", relay_freq).Add("autobaud", autobaud);
    g->Add("swr_yoffset", swr_yoffset).Add("control_csv", control_csv);
    g->Add("voice_folder", voice_folder);
    return g;
  }();
  return *guard;
}

int Refusal() {
  return fuzz::BoxStatus({{" Invalid config file", 1}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Begin(&Config());
  file_name = fuzz::InputFile(data, size, "input.cfg");
  if (fuzz::WholeOrNothing(
          Config(), "config file", [] { LoadConfig(); }, Refusal)) {
    // Loaded whole exactly when no box said it ended early.
    bool ended = false;
    for (const testhook::MsgBoxRecord& box : testhook::MsgBoxes()) {
      ended = ended || box.text.find("ended before all its values") != std::string::npos;
    }
    fuzz::Expect(config_loaded == (ended ? 0 : 1),
                 "a taken config file loaded whole or said why not");
  }
  return 0;
}
