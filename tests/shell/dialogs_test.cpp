// The 39 dialog definitions and the About dialog: a dump of every record
// against a golden file written from the dialog tables, the handler of each
// record, the placement of the controls, and every dialog opening for real.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "calibration/cal_limits.h"
#include "calibration/cal_port_a.h"
#include "calibration/line_extension.h"
#include "graph/graph_dialogs.h"
#include "graph/scales_dialogs.h"
#include "graph/styles.h"
#include "instrument/test_panels.h"
#include "platform/testhook.h"
#include "scan/point_data.h"
#include "scan/scan_limits.h"
#include "scan/smoothing.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/number_entry.h"
#include "shell/setup_dialogs.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "tools/crystal.h"
#include "tools/distance_to_fault.h"
#include "tools/tuning_stub.h"

namespace vna {
namespace {

const char* KindName(CtlKind k) {
  switch (k) {
    case CtlKind::Button:
      return "button";
    case CtlKind::CheckBox:
      return "check";
    case CtlKind::Radio:
      return "radio";
    case CtlKind::Edit:
      return "edit";
    case CtlKind::RichEdit:
      return "richedit";
    case CtlKind::ComboSimple:
      return "combo";
    case CtlKind::ComboDropDown:
      return "dropdown";
    case CtlKind::Static:
      return "static";
    case CtlKind::GroupBox:
      return "group";
  }
  return "?";
}

std::string Dump(const Dialog& d) {
  std::ostringstream out;
  out << "dialog " << d.name << " \"" << d.title << "\" " << d.width << "x" << d.height;
  const std::pair<unsigned, const char*> styles[] = {{kDlgPopup, "popup"},
                                                     {kDlgTitleBar, "titlebar"},
                                                     {kDlgCloseBox, "closebox"},
                                                     {kDlgModalFrame, "modalframe"},
                                                     {kDlgSizing, "sizing"}};
  for (auto [bit, name] : styles)
    if (d.style & bit) out << " " << name;
  out << "\n";
  const std::pair<unsigned, const char*> flags[] = {
      {kCtlDefault, "default"},       {kCtlTextLeft, "textleft"}, {kCtlMultiLine, "multiline"},
      {kCtlReadOnly, "readonly"},     {kCtlCentered, "centered"}, {kCtlPlain, "plain"},
      {kCtlScrollBars, "scrollbars"}, {kCtlTabStop, "tabstop"}};
  for (const ControlDef& c : d.controls) {
    out << "  " << KindName(c.kind) << " " << c.id << " \"" << c.text << "\" " << c.x << "," << c.y
        << "," << c.w << "," << c.h;
    for (auto [bit, name] : flags)
      if (c.flags & bit) out << " " << name;
    out << "\n";
  }
  return out.str();
}

std::string Golden() {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/tests/shell/data/dialogs.golden");
  std::string line, text;
  while (std::getline(in, line))
    if (!line.empty() && line[0] != '#') text += line + "\n";
  return text;
}

class DialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineAboutDialog();
    DefineDialogs();
  }
};

TEST_F(DialogsTest, DefinitionsMatchTheGoldenDump) {
  ASSERT_EQ(AllDialogs().size(), 40u);
  std::string dump;
  for (const Dialog* d : AllDialogs()) dump += Dump(*d);
  const std::string golden = Golden();
  ASSERT_FALSE(golden.empty());
  // Compare dialog by dialog so a failure names the dialog.
  std::istringstream a(dump), b(golden);
  std::string la, lb, current;
  int line = 0;
  while (true) {
    const bool ga = static_cast<bool>(std::getline(a, la));
    const bool gb = static_cast<bool>(std::getline(b, lb));
    ++line;
    if (!ga && !gb) break;
    if (ga && la.rfind("dialog ", 0) == 0) current = la;
    ASSERT_EQ(la, lb) << "line " << line << " in " << current;
  }
}

TEST_F(DialogsTest, EachRecordHasItsNamedHandler) {
  const std::map<const Dialog*, int (*)()> handlers = {
      {&dlg_scan_limits, ScanLimitsHandler},
      {&dlg_cal_limits, CalLimitsHandler},
      {&dlg_graph_scales, GraphScalesHandler},
      {&dlg_velocity_factor, VelocityFactorHandler},
      {&dlg_cable_length, CableLengthHandler},
      {&dlg_meas_results, MeasResultsHandler},
      {&dlg_test_freq, TestFreqHandler},
      {&dlg_cable_zo, CableZoHandler},
      {&dlg_const_freq, ConstantTestFreqHandler},
      {&dlg_comment, CommentHandler},
      {&dlg_calibration, CalibrationHandler},
      {&dlg_line_length, LineLengthHandler},
      {&dlg_comm_port, CommPortHandler},
      {&dlg_crystal_meas, CrystalMeasHandler},
      {&dlg_crystal_params, CrystalParamsHandler},
      {&dlg_cable_data, CableDataHandler},
      {&dlg_enter_data, EnterDataHandler},
      {&dlg_plot_params, PlotParamsHandler},
      {&dlg_enter_freq, EnterFreqHandler},
      {&dlg_swr_ruler, SWRRulerHandler},
      {&dlg_tuning_stub, TuningStubHandler},
      {&dlg_smoothing, SmoothingHandler},
      {&dlg_marker, MarkerDlgHandler},
      {&dlg_style, GraphStyleHandler},
      {&dlg_line_ext, LineExtensionHandler},
      {&dlg_voice, VoiceHandler},
      {&dlg_sweep, SweepParamsHandler},
      {&dlg_vna_test, VnaTestHandler},
      {&dlg_touchstone, TouchstoneHandler},
      {&dlg_gain, GainHandler},
      {&dlg_rulers, RulersHandler},
      {&dlg_colors, ColorSelectionHandler},
      {&dlg_average, AverageHandler},
      {&dlg_delay_time, DelayTimeHandler},
      {&dlg_mux, MuxHandler},
      {&dlg_chan_ref, ChannelRefHandler},
      {&dlg_ref_circles, ReferenceCirclesHandler},
      {&dlg_array_current, ArrayCurrentHandler},
      {&dlg_tdrscales, TDRScalesHandler},
      {&dlg_about, AboutHandler},
  };
  ASSERT_EQ(handlers.size(), AllDialogs().size());
  for (const Dialog* d : AllDialogs()) {
    ASSERT_TRUE(d->defined) << d->name;
    auto* fn = d->handler.target<int (*)()>();
    ASSERT_NE(fn, nullptr) << d->name;
    EXPECT_EQ(*fn, handlers.at(d)) << d->name;
  }
}

struct Rect {
  int x, y, w, h;
  bool Inside(const Rect& o) const {
    return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h;
  }
  bool Overlaps(const Rect& o) const {
    return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
  }
};

Rect RectOf(const Dialog& d, int id) {
  for (const ControlDef& c : d.controls)
    if (c.id == id) return {c.x, c.y, c.w, c.h};
  ADD_FAILURE() << d.name << " has no control " << id;
  return {0, 0, 0, 0};
}

TEST_F(DialogsTest, ControlsLieInsideTheirDialogAndDoNotOverlap) {
  for (const Dialog* d : AllDialogs()) {
    std::set<int> ids;
    const Rect client{0, 0, d->width, d->height};
    for (size_t i = 0; i < d->controls.size(); ++i) {
      const ControlDef& c = d->controls[i];
      EXPECT_TRUE(ids.insert(c.id).second) << d->name << " repeats id " << c.id;
      EXPECT_TRUE((Rect{c.x, c.y, c.w, c.h}.Inside(client))) << d->name << " control " << c.id;
      if (c.kind == CtlKind::GroupBox) continue;
      for (size_t j = i + 1; j < d->controls.size(); ++j) {
        const ControlDef& o = d->controls[j];
        if (o.kind == CtlKind::GroupBox) continue;
        // The colour panel of " Color Selection" lies under its six buttons.
        if (d == &dlg_colors && (c.id == 99 || o.id == 99) && o.id >= 13 && o.id <= 18) continue;
        // The About box's rectangles are given as they are: its version line
        // reaches one pixel into the controller field.
        if (d == &dlg_about && c.id == 1 && o.id == 9) continue;
        EXPECT_FALSE((Rect{c.x, c.y, c.w, c.h}.Overlaps(Rect{o.x, o.y, o.w, o.h})))
            << d->name << " controls " << c.id << " and " << o.id;
      }
    }
  }
}

TEST_F(DialogsTest, FramesHoldTheirMembers) {
  struct Frame {
    const Dialog* dlg;
    int group;
    std::vector<int> members;
  };
  const Frame frames[] = {
      {&dlg_scan_limits, 12, {2, 3, 4, 8, 10, 11, 17, 18}},
      {&dlg_scan_limits, 19, {20, 25, 26, 30, 31, 32, 34, 35}},
      {&dlg_graph_scales, 29, {4, 5, 6, 1, 2, 3, 12, 13, 14, 17}},
      {&dlg_graph_scales, 30, {15, 18, 19, 21, 25, 26, 27, 28}},
      {&dlg_const_freq, 36, {27, 28, 29, 30, 31, 32, 40, 41, 42}},
      {&dlg_const_freq, 35, {1, 2, 3, 4, 5, 8, 13, 14, 26, 33, 34, 36, 37, 38, 39, 43, 44, 45, 49}},
      {&dlg_vna_test, 62, {32, 23, 29, 26, 25, 28, 27, 30, 39, 140, 33, 34}},
      {&dlg_vna_test, 63, {40, 41, 54, 42, 43, 44, 45, 46, 47, 52, 66, 67}},
      {&dlg_vna_test, 68, {2, 114, 5, 117, 4, 8, 15, 7, 16, 21, 71, 72, 62, 63, 49, 35, 48}},
      {&dlg_plot_params, 1, {2, 3}},
      {&dlg_plot_params, 2, {9, 10, 11}},
      {&dlg_plot_params, 3, {12, 13, 14, 19}},
      {&dlg_plot_params, 4, {5, 6}},
      {&dlg_plot_params, 5, {15, 18, 34}},
      {&dlg_plot_params, 6, {22, 29}},
      {&dlg_crystal_meas, 10, {4, 6}},
      {&dlg_crystal_meas, 9, {1, 2, 8, 10}},
      {&dlg_colors, 7, {99, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}},
      {&dlg_colors, 11, {10, 12}},
      {&dlg_mux, 13, {3, 4, 5, 6, 17, 18}},
      {&dlg_cal_limits, 1, {2, 3, 4, 5, 21, 9, 10, 11, 12, 15, 16, 17, 18, 22, 23, 24}},
  };
  for (const Frame& f : frames) {
    const Rect g = RectOf(*f.dlg, f.group);
    for (int id : f.members)
      EXPECT_TRUE(RectOf(*f.dlg, id).Inside(g))
          << f.dlg->name << " control " << id << " outside " << f.group;
  }
}

// Every record opens as a real dialog (all its controls built) and its
// close box ends it with 2.
TEST_F(DialogsTest, EveryDialogOpensAndClosesByItsCloseBox) {
  testhook::ClearLogs();
  for (Dialog* d : AllDialogs()) {
    testhook::Answer a;
    // The number box and the Zref box take their prompt as their title when
    // they open, the scan limits and smoothing dialogs a title of the
    // present values.
    const std::set<Dialog*> retitled = {&dlg_enter_data, &dlg_cable_zo, &dlg_scan_limits,
                                        &dlg_smoothing};
    if (!retitled.count(d)) a.caption = d->title;
    a.close_box = true;
    testhook::QueueAnswer(a);
    EXPECT_EQ(RunModal(*d, &main_win), 2) << d->name;
    EXPECT_FALSE(d->IsOpen()) << d->name;
  }
  EXPECT_EQ(testhook::Dialogs().size(), AllDialogs().size());
  for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
}

TEST_F(DialogsTest, AboutShowsTheControllerLineInCapitals) {
  testhook::ClearLogs();
  msg_text = " Controller: vna-zelmar 2.1";
  struct Seen {
    std::string field, version;
  };
  static Seen seen;
  testhook::Answer a;
  a.caption = " VNA";
  a.press = 3;
  testhook::QueueAnswer(a);
  // Read the fields as the dialog shows them, before "Close" is pressed.
  auto handler = dlg_about.handler;
  dlg_about.handler = [handler] {
    const int r = handler();
    if (msg_id == kEvInitDialog) seen = {GetCtlText(dlg_about, 9), GetCtlText(dlg_about, 1)};
    return r;
  };
  EXPECT_EQ(RunModal(dlg_about, &main_win), 1);
  dlg_about.handler = handler;
  EXPECT_EQ(seen.field, " CONTROLLER: VNA-ZELMAR 2.1");
  EXPECT_EQ(seen.version, "Program version 636A Aug 12 2018");
  EXPECT_EQ(focus_win, 1);
}

}  // namespace
}  // namespace vna
