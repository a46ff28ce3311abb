// Every path that measures, against the instrument simulator, with each
// failure the instrument can show injected at its first, a middle and its
// last reading (the simulator's "fault ... after N"): the failure is said
// (a status, or one message box), and nothing that was not measured is kept,
// shown, saved, answered or used in a result. Each path is first run clean,
// which counts its readings and gives what a measurement keeps; the faulted
// run may keep less of it, never anything else.
//
// A new measuring path joins by adding a row to Paths().
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "calibration/cal_data_test.h"
#include "calibration/cal_file.h"
#include "calibration/cal_port_a.h"
#include "calibration/cal_port_b.h"
#include "graph/marker_window.h"
#include "graph/state.h"
#include "instrument/link_lost.h"
#include "instrument/measurement_reply.h"
#include "platform/store.h"
#include "scan/band_scan.h"
#include "scan/point_data.h"
#include "scan/scan_sim.h"
#include "shell/dialogs.h"
#include "shell/mailbox.h"
#include "shell/vna_exports.h"
#include "support/file_lines.h"
#include "support/shell_fixture.h"
#include "support/sim_calibration.h"
#include "tools/bandwidth.h"
#include "tools/crystal.h"
#include "tools/distance_to_fault.h"
#include "tools/q_measurement.h"
#include "tools/tdr.h"
#include "vscope/vscope_fixture.h"

namespace vna {
namespace {

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";

// What a path kept, showed or answered as measured, each value under a key
// (its frequency, or its index) so the faulted run's values can be found
// among the clean run's.
struct Kept {
  double key, value;
};

struct Outcome {
  int status = 0;             // what the path reports (an answer's code for the mailbox)
  std::vector<Kept> kept;     // what it keeps, shows, saves or answers as measured
  bool result = false;        // a result of the whole measurement was shown or saved
  double result_value = NAN;  // its number, where it has one
  // Boxes shown by the measurement itself; those after them belong to a
  // tool run on its result (Q, bandwidth), a command of its own.
  size_t measured_boxes = SIZE_MAX;
};

class MeasuringPaths;

struct Path {
  std::string name;
  std::string model;
  // The faults this path can see: a band scan's levels carry neither a
  // reference nor a checksum.
  std::vector<const char*> faults;
  std::function<void(MeasuringPaths&)> prepare;
  std::function<Outcome(MeasuringPaths&)> run;
  double tolerance;         // of a kept value against the clean run's
  bool status_required;     // a failure must be answered with a status (a caller tests it)
  bool all_or_nothing;      // a failed run keeps nothing of its own (an answer, a result)
  double result_tolerance;  // relative; 0: a failed run shows no result at all
  // Clean runs before the counted one: a path whose first run differs from
  // the next (a calibration with none in force before it).
  int warm_up = 0;
  bool has_result = false;  // the clean run shows a result (a failed one must not)
};

struct Fault {
  const char* name;
  const char* words;  // what the simulator is told
};
// clang-format off
const Fault kFaults[] = {
    {"noref", "noref 1000"},
    {"nosignal", "nosignal 1000"},
    {"silence", "silence 1"},
    {"checksum", "checksum 5"},  // beyond the link's resends
    {"hangup", "hangup"},
};
// clang-format on

enum class At { kFirst, kMiddle, kLast };

const std::vector<Path>& Paths();

struct Case {
  int path;
  int fault;
  At at;
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  const char* at[] = {"First", "Middle", "Last"};
  return Paths()[info.param.path].name + "_" + kFaults[info.param.fault].name + "_" +
         at[static_cast<int>(info.param.at)];
}

class MeasuringPaths : public ScanSim, public ::testing::WithParamInterface<Case> {
 public:
  using PointSim::Sim;
  using ScanSim::Calibrate;
  using ScanSim::Folder;
  using ScanSim::StopWatch;
  using ScanSim::Watch;
  long Readings() { return std::stol(Sim().Status("readings")); }

  // ---- what the paths need ----

  // The Port A calibration with a series circuit on Port A.
  void PortA(double start, double end, double step) {
    Calibrate(start, end, step);
    Sim().SetDut("series:r=10,l=10u,c=100p");  // 5.03 MHz, Q 31.6
  }
  // Both calibrations as a person runs them, a 20 dB attenuator on Port B.
  void PortsAB(double start, double end, double step) {
    Calibrate(start, end, step);
    cal_delta_freq = step;
    RunThroughCal();
    Sim().SetDut("r=75");
    Sim().SetDutB("atten:db=20");
    PortBMode();
  }
  // The calibrations written as the files of multiplexer channels 1 to 3,
  // a 10 ns line with 3 dB loss on channel 1, 6 dB attenuators on 2 and 3.
  void Channels() {
    PortsAB(1, 10, 0.5);
    PortB_on = transmission_mode = 0;
    mux_busy = vscope_open = arrayscan_open = arrayscan_shown = 0;
    vscope_recycle = 0;
    for (int n = 1; n <= 6; ++n) chan_enabled[n] = 0;
    chan_enabled[1] = chan_enabled[2] = chan_enabled[3] = 1;
    font_weight = 200;
    cal_save_name = Folder() + "/array.vcal";
    for (int c = 1; c <= 3; ++c) {
      mux_chan = c;
      if (c == 1) testhook::QueueFileAnswer(Folder() + "/array.vcal");
      ASSERT_TRUE(SaveCalFile()) << c;
    }
    mux_chan = 0;
    Sim().SetChannel(1, "delay:ns=10,db=3");
    Sim().SetChannel(2, "atten:db=6");
    Sim().SetChannel(3, "atten:db=6");
    start_freq = 2;
    end_freq = 8;
    delta_freq = 0.5;
    Numscanpts = 13;
  }

  // ---- what the paths keep ----

  // The stored scan; for Port B also the newest auto-saved one, in its CSV
  // companion (a Port A auto-save writes none).
  static std::vector<Kept> StoredA() {
    std::vector<Kept> k;
    for (int i = 0; i < scan_npoints; ++i) k.push_back({scanA_freq[i], scanA_zmag[i]});
    return k;
  }
  std::vector<Kept> StoredB() {
    std::vector<Kept> k = AutoSavedB();
    for (int i = 0; i < scan_npoints; ++i) k.push_back({scanB_freq[i], s21_dB[i]});
    return k;
  }
  // The points of the newest ZiviRURGraphB?_B.csv: S21 in dB under their
  // frequency + 4000.
  std::vector<Kept> AutoSavedB() {
    namespace fs = std::filesystem;
    fs::path newest;
    for (const auto& e : fs::directory_iterator(Folder())) {
      const std::string name = e.path().filename().string();
      if (name.rfind("ZiviRURGraphB", 0) != 0 || !name.ends_with("_B.csv")) continue;
      if (newest.empty() || fs::last_write_time(e.path()) > fs::last_write_time(newest))
        newest = e.path();
    }
    std::vector<Kept> k;
    if (newest.empty()) return k;
    std::ifstream in(newest, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    bool rows = false;
    for (const std::string& line : testing::SplitCrLf(text.str())) {
      if (line.rfind("Freq(MHz)", 0) == 0) {
        rows = true;
        continue;
      }
      if (!rows || line.empty()) continue;
      std::vector<double> v;
      std::stringstream fields(line);
      for (std::string f; std::getline(fields, f, ',');) v.push_back(ParseNumber(f));
      if (v.size() > 1) k.push_back({v[0] + 4000, v[1]});
    }
    // The file ends in the record after the last point, as its format has it
    // (zeros at the next frequency of the list): no point.
    if (!k.empty()) k.pop_back();
    return k;
  }
  static bool Printed(const std::string& window, const std::string& text) {
    return testhook::PrintedText(window).find(text) != std::string::npos;
  }
  // The number after `label` in the last message box with this caption.
  static bool BoxNumber(const std::string& caption, const std::string& label, double& value) {
    for (auto it = testhook::MsgBoxes().rbegin(); it != testhook::MsgBoxes().rend(); ++it) {
      if (it->caption != caption) continue;
      const size_t at = it->text.find(label);
      if (at == std::string::npos) return false;
      value = ParseNumber(it->text.substr(at + label.size()));
      return true;
    }
    return false;
  }

  // The single shot of point data at 5 MHz; the window closed once it shows
  // its reading.
  Outcome PointShot() {
    PointWinWidth = 1024;
    PointWinHeight = 700;
    pointwin_run = pointdata_on = 0;
    point_smith = point_smith_new = 0;
    tone_on = voice = 0;
    test::AnswerDialog(" Enter Frequency (MHz)", {{1, "5"}}, 7);
    bool closed = false;
    Watch([&] {
      if (closed) return true;
      if (pointwin_run == 0 || pointdata_on == 0) return false;
      PostEvent(point_win, kEvClose);
      closed = true;
      return true;
    });
    PointDataMode();
    StopWatch();
    Outcome o;
    o.status = vna_status;
    // A reading shown as measured shows its values.
    o.result = Printed("point_win", "SWR");
    return o;
  }

  // A client reading ten points through the exported function; a call that
  // fails must leave its outputs as they were.
  Outcome ExportReads(int (*read)(int, double, double*, double*)) {
    Outcome o;
    for (int k = 0; k < 10; ++k) {
      const double f = 2 + 0.5 * k;
      double out1 = -12345, out2 = -12345;
      const int status = read(1, f, &out1, &out2);
      if (status != 0) {
        if (o.status == 0) o.status = status;
        EXPECT_EQ(out1, -12345) << "a failed read wrote out1 at " << f;
        EXPECT_EQ(out2, -12345) << "a failed read wrote out2 at " << f;
      } else {
        o.kept.push_back({f, out1});
        o.kept.push_back({f + 1000, out2});
      }
    }
    return o;
  }

  // A client's request through the registry mailbox, 2 to 8 MHz; the polling
  // loop runs until it is answered.
  Outcome Mailbox(const std::string& port) {
    const std::string csv = Folder() + "/result.csv";
    control_csv = csv;
    std::filesystem::remove(csv);
    StoreWrite(kKey, "csvready", "");
    StoreWrite(kKey, "startfreq", "2");
    StoreWrite(kKey, "endfreq", "8");
    StoreWrite(kKey, "deltafreq", "0.5");
    StoreWrite(kKey, "scanport", port);
    StoreWrite(kKey, "dataready", "1");
    main_loop_on = 1;
    regctl_mode = 2;
    testhook::SetPumpHook([] {
      if (!StoreRead(kKey, "csvready", "").empty()) main_loop_on = 0;
    });
    RegistryControl();
    testhook::SetPumpHook(nullptr);
    main_loop_on = 1;
    const std::string answer = StoreRead(kKey, "csvready", "");
    Outcome o;
    if (answer != csv) o.status = answer.rfind("error", 0) == 0 ? std::stoi(answer.substr(5)) : -1;
    std::ifstream in(csv, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::vector<std::string> rows = testing::SplitCrLf(s.str());
    for (size_t i = 5; i < rows.size(); ++i) {
      if (rows[i].empty()) continue;
      std::stringstream row(rows[i]);
      std::string f, v;
      std::getline(row, f, ',');
      std::getline(row, v, ',');
      o.kept.push_back({ParseNumber(f), ParseNumber(v)});
    }
    return o;
  }

  // READ ALL in the Vector Scope: the array SWR it shows (key 0) when it
  // changed, and each element's magnitude (key n) and phase (key n + 10).
  static Outcome ReadAllElements() {
    std::string before, swr;
    test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
      before = GetCtlText(win_vector_scope, kVsSwrText);
      test::Press(win_vector_scope, 30400);  // READ ALL
      swr = GetCtlText(win_vector_scope, kVsSwrText);
      test::Press(win_vector_scope, 21170);
    });
    Outcome o{vna_status, {}, false, NAN};
    const size_t at = swr.find('=');
    if (swr != before && at != std::string::npos)
      o.kept.push_back({0, ParseNumber(swr.substr(at + 1))});
    for (int n = 1; n <= 3; ++n) {
      o.kept.push_back({double(n), vscope_elements[n].mag});
      o.kept.push_back({n + 10.0, vscope_elements[n].phase});
    }
    return o;
  }

  // The channels' reference (channel 1's readings), and the Port B scan
  // the last channel left.
  static std::vector<Kept> ChannelReadings() {
    std::vector<Kept> k;
    for (int i = 0; i < mux_ref_npoints; ++i) k.push_back({mux_ref_freq[i], mux_ref_ratio[i]});
    return k;
  }

 protected:
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    CloseWindow(win_vector_scope);
    CloseWindow(win_array_scan);
    CloseWindow(point_win);
    ScanSim::TearDown();
  }

  testing::ScopedEnv registry_{"VNA_REGISTRY_FILE", Folder() + "/registry.ini"};
};

// The table, laid out a row a path (clang-format would put each field of a
// row on a line of its own).
// clang-format off
const std::vector<Path>& Paths() {
  using M = MeasuringPaths;
  static const std::vector<Path> paths = {
      {"PortAScan", "uhf", {},
       [](M& m) { m.PortA(4, 6, 0.1); },
       [](M&) {
         ScanButton(4.5, 5.6, 0.05);
         return Outcome{vna_status, M::StoredA(), M::Printed("main_win", "Resonant freq"), NAN};
       },
       0.01, true, false, 0},
      {"PortBScan", "uhf", {},
       [](M& m) { m.PortsAB(1, 11, 0.5); },
       [](M& m) {
         ScanButton(1, 10, 0.5);
         return Outcome{vna_status, m.StoredB(), false, NAN};
       },
       0.01, true, false, 0},
      {"Rescan", "uhf", {},
       [](M& m) { m.PortA(4, 6, 0.1); },
       [](M&) {
         start_freq = 4.5;
         end_freq = 5.6;
         delta_freq = 0.05;
         DispatchCommand(kBtnRescan);
         return Outcome{vna_status, M::StoredA(), M::Printed("main_win", "Resonant freq"), NAN};
       },
       0.01, true, false, 0},
      {"BandScan", "uhf", {"silence", "hangup"},
       [](M& m) { m.PortA(4, 6, 0.1); },
       [](M&) {
         start_freq = 4.9;
         end_freq = 5.1;
         delta_freq = 0.001;
         bandscan_sens = 1;
         scanloop = 0;
         BandScan();
         Outcome o{vna_status, {}, false, NAN};
         for (int i = 0; i < scanloop; ++i) o.kept.push_back({scanA_freq[i], scanA_swr[i]});
         return o;
       },
       0.5, false, false, 0},
      {"PointDataA", "uhf", {},
       [](M& m) { m.PortA(4, 6, 0.1); },
       [](M& m) { return m.PointShot(); },
       0, false, false, 0},
      {"PointDataAB", "uhf", {},
       [](M& m) {
         m.PortsAB(4, 6, 0.1);
         PortB_on = transmission_mode = 1;
       },
       [](M& m) { return m.PointShot(); },
       0, false, false, 0},
      {"TDR", "7306", {},
       [](M& m) {
         // The standard 2 MHz grid from 0.1 MHz, to the model's top.
         std::vector<double> f = {0.1};
         for (int k = 1; k <= 90; ++k) f.push_back(2.0 * k);
         test::CalibratePortAOnSim(m.Sim(), f);
         cal_start_freq = 0.1;
         cal_end_freq = 180;
         cal_delta_freq = 2;
         m.Sim().SetDut("line:z0=50,vf=0.66,len=10,end=r=100");
         tdr_mode = 1;
         DXscale = 100;
         tdr_zmax = 200;
         tdr_range_factor = 1;
         tdr_zo = 50;
         tdr_high_res = tdr_smoothing = 0;
         tdr_dist_factor = 1;
         tdr_linear_z = tdr_lines = tdr_show_params = 1;
         VF = 0.66;
         metric = 0;
       },
       [](M&) {
         RunTDR();
         Outcome o{vna_status, {}, false, NAN};
         for (int i = 0; i < static_cast<int>(std::size(tdr_response)); ++i) o.kept.push_back({double(i), tdr_response[i]});
         return o;
       },
       0, false, false, 0},
      {"DistanceToFault", "7306", {},
       [](M& m) {
         std::vector<double> f = {0.05, 0.1};
         for (int k = 1; k <= 90; ++k) f.push_back(2.0 * k);
         test::CalibratePortAOnSim(m.Sim(), f);
         cal_start_freq = 0.05;
         cal_end_freq = 180;
         cal_delta_freq = 2;
         m.Sim().SetDut("line:z0=50,vf=0.66,len=10,end=open");
         average = 4;
         AverageADC(average);
       },
       [](M&) {
         testhook::QueueMsgBoxAnswer(kIdOk, "Distance to Fault");
         test::AnswerDialog(" Velocity Factor", {{1, "0.66"}}, 2);
         const size_t boxes = testhook::MsgBoxes().size();
         DistanceToFaultCheck();
         Outcome o{vna_status, {}, false, NAN};
         for (size_t i = boxes; i < testhook::MsgBoxes().size(); ++i)
           o.result |= testhook::MsgBoxes()[i].text.starts_with(" Distance to fault =");
         return o;
       },
       0, false, false, 0, 0, true},
      {"Crystal", "uhf", {},
       [](M& m) {
         m.Calibrate(7.5, 10.6, 0.05);
         m.Sim().SetDut("crystal:fs=10M,r=10,c1=10f,c0=5p");
         average = 8;
         AverageADC(average);
         xtal_cp_warned = 0;
       },
       [](M&) {
         xtal_Fs = xtal_Fp = xtal_Rs = xtal_Cp = -1;
         test::AnswerDialog(GetTitle(dlg_crystal_meas), {{1, "10"}}, 8);
         const size_t dialogs = testhook::Dialogs().size();
         MeasureCrystal();
         Outcome o{vna_status, {}, false, NAN};
         for (size_t i = dialogs; i < testhook::Dialogs().size(); ++i)
           o.result |= testhook::Dialogs()[i].title == GetTitle(dlg_crystal_params);
         if (xtal_Fs != -1) o.kept.push_back({1, xtal_Fs});
         return o;
       },
       1e-4, true, true, 0, 0, true},
      {"Q", "uhf", {},
       [](M& m) { m.PortA(4.5, 5.61, 0.01); },
       [](M&) {
         ScanButton(4.5, 5.6, 0.01);
         Outcome o{vna_status, M::StoredA(), false, NAN, testhook::MsgBoxes().size()};
         MeasureQ();
         o.result = M::BoxNumber(" Q Measurement", "Q = ", o.result_value);
         return o;
       },
       0.01, true, false, 0.02},
      {"Bandwidth", "uhf", {},
       [](M& m) {
         m.PortsAB(0.5, 10.5, 0.5);
         m.Sim().SetDutB("series:l=10u,c=100p");
         ruler1_on = 1;
         ruler2_on = 0;
         ruler_1 = -3.0103;
       },
       [](M& m) {
         ScanButton(1, 10, 0.25);
         Outcome o{vna_status, m.StoredB(), false, NAN, testhook::MsgBoxes().size()};
         cursor_index = 0;
         for (int k = 0; k < scan_npoints; ++k)
           if (s21_dB[k] > s21_dB[cursor_index]) cursor_index = k;
         Bandwidth();
         o.result = M::BoxNumber(" Bandwidth Data", ") = ", o.result_value);
         return o;
       },
       0.01, true, false, 0.02},
      {"VectorScope", "uhf", {},
       [](M& m) { m.Channels(); },
       [](M&) { return M::ReadAllElements(); },
       1e-9, false, false, 0},
      {"VectorScopeNoElement1", "uhf", {},
       [](M& m) {
         m.Channels();
         chan_enabled[1] = 0;  // the array SWR is the first reading
       },
       [](M&) { return M::ReadAllElements(); },
       1e-9, false, false, 0},
      {"ChannelScan", "uhf", {},
       [](M& m) { m.Channels(); },
       [](M&) {
         vscope_open = 1;
         ScanAllChannels();
         vscope_open = 0;
         Outcome o{vna_status, M::ChannelReadings(), false, NAN};
         return o;
       },
       1e-3, false, false, 0},
      {"ArrayScan", "uhf", {},
       [](M& m) { m.Channels(); },
       [](M&) {
         test::WhileOpen(win_vector_scope, OpenVectorScope, [] {
           test::WhileOpen(
               win_array_scan, [] { test::Press(win_vector_scope, 23498); },
               [] {
                 test::Press(win_array_scan, 30501);
                 test::Press(win_array_scan, 30505);
               });
           test::Press(win_vector_scope, 21170);
         });
         return Outcome{vna_status, M::ChannelReadings(), false, NAN};
       },
       1e-3, false, false, 0},
      {"ExportReadPointA", "uhf", {},
       [](M& m) {
         double a, b;
         VNA_ReadPointA(0, 5, &a, &b);  // the library's first call sets its defaults
         m.Calibrate(1, 10, 0.5);
         m.Sim().SetDut("r=75");
       },
       [](M& m) { return m.ExportReads(VNA_ReadPointA); },
       1e-3, true, false, 0},
      {"ExportReadPointB", "uhf", {},
       [](M& m) {
         double a, b;
         VNA_ReadPointB(0, 5, &a, &b);
         m.PortsAB(1, 10, 0.5);
       },
       [](M& m) { return m.ExportReads(VNA_ReadPointB); },
       1e-3, true, false, 0},
      {"MailboxPortA", "uhf", {},
       [](M& m) {
         m.PortA(1, 10, 0.5);
         PortB_on = 0;
       },
       [](M& m) { return m.Mailbox("0"); },
       1e-3, true, true, 0},
      {"MarkerRows", "uhf", {},
       [](M& m) {
         m.PortA(4, 6, 0.1);
         for (int i = 1; i <= kMaxMarkers; ++i) markers[i].Freq = 10000;
         markers[1].Freq = 4.6;
         markers[2].Freq = 5.0;
         markers[3].Freq = 5.4;
         PortB_on = 0;
         marker_measure = 1;
         recycle_on = 0;
       },
       [](M& m) {
         scan_recalled = 0;
         start_freq = 4.5;
         end_freq = 5.6;
         relayA = relayB = 1;  // switched off once the rows are listed
         m.Watch([] {
           if (markerwin_open == 0 || scan_running != 0 || relayA != 0) return false;
           PostEvent(marker_win, kEvCommand, 3175);  // Exit
           return true;
         });
         MarkerData_A();
         m.StopWatch();
         Outcome o{vna_status, {}, false, NAN};
         for (int i = 1; i <= 3; ++i) {
           o.kept.push_back({markers[i].Freq, markers[i].Rs});
           o.kept.push_back({markers[i].Freq + 1000, markers[i].Xs});
         }
         return o;
       },
       1e-3, false, false, 0},
      // The check of a calibration at the midpoints of its records.
      {"CalDataTest", "uhf", {},
       [](M& m) {
         m.Calibrate(1, 3, 0.1);
         m.Sim().SetDut("load");
       },
       [](M&) {
         const size_t boxes = testhook::MsgBoxes().size();
         TestCalData();
         Outcome o{vna_status, {}, false, NAN};
         // Its result: the standard judged off between the records.
         for (size_t i = boxes; i < testhook::MsgBoxes().size(); ++i)
           o.result |= testhook::MsgBoxes()[i].caption == " Warning: Cal step too large";
         return o;
       },
       0, false, false, 0},
      // A calibration takes every reply without its checksum.
      {"PortACal", "uhf", {"noref", "nosignal", "silence", "hangup"},
       [](M& m) {
         m.Sim().SetDut("load");
         Rstd = 0.5;  // below 1 ohm: the calibration asks for the standard's value
         Rbridge = 50;
         cal_folder = m.Folder();
       },
       [](M& m) {
         // The person connects each standard at its prompt; after a
         // hang-up there is no instrument to connect it to.
         auto prompt = [&m](const char* device) {
           testhook::Answer a;
           a.press = 1;
           a.act = [&m, device] {
             try {
               if (*device) m.Sim().SetDut(device);
             } catch (...) {
             }
           };
           testhook::QueueAnswer(a);
         };
         test::AnswerDialog(" Cal Limits", {{2, "1"}, {3, "2"}, {4, "0.05"}, {5, "100"}, {21, "4"}},
                            7);
         prompt("short");
         prompt("open");
         prompt("load");
         test::AnswerDialog(" Cal Standard (ohms)", {{1, "50"}}, 2);
         testhook::QueueMsgBoxAnswer(kIdNo, " Cal B Option ");
         prompt("");  // save it
         test::AnswerDialog(" Enter a comment", {{1, "table"}}, 2);
         testhook::QueueFileAnswer(m.Folder() + "/table.vcal");
         testhook::QueueMsgBoxAnswer(kIdOk, " Calibration");
         const size_t files = testhook::FileDialogs().size();
         msg_text = " HF band cal ";
         cal_band = 2;
         cal_start_freq = HFcalStart;
         cal_end_freq = HFcalEnd;
         cal_delta_freq = HFcalDelta;
         CalA();
         Outcome o{vna_status, {}, false, NAN};
         // Its result: a whole calibration saved. A reading that fails in
         // the check after the passes leaves it measured, and savable.
         for (size_t i = files; i < testhook::FileDialogs().size(); ++i)
           o.result |= testhook::FileDialogs()[i].title == " Save Calibration File";
         if (o.result) o.result_value = cal_points;
         // The calibration in force: this one, or the one before it.
         if (PortA_cal == 1) {
           for (int i = 0; i < cal_points; ++i) {
             o.kept.push_back({CalDataA[i].freq, CalDataA[i].shortR});
             o.kept.push_back({CalDataA[i].freq + 1000, CalDataA[i].openR});
             o.kept.push_back({CalDataA[i].freq + 2000, CalDataA[i].stdR});
           }
         }
         return o;
       },
       1e-6, false, false, 1e-9, 1},
      // A calibration takes every reply without its checksum.
      {"PortBCal", "uhf", {"noref", "nosignal", "silence", "hangup"},
       [](M& m) { m.Calibrate(1, 10, 0.5); },
       [](M& m) {
         calB_only = 0;
         mux_chan = Mux_Cal = 0;
         ExtensionLength = 0;
         delay_offset = 0;
         DDS_Amplitude = 100;
         testhook::Answer through;  // the through cable is connected at the prompt
         through.press = kIdOk;
         through.act = [&m] { m.Sim().SetDutB("thru"); };
         testhook::QueueAnswer(through);
         CalB();
         // What a caller tests: the calibration's own outcome.
         Outcome o{calB_error, {}, false, NAN};
         // Its result: a Port B calibration in force, made of these records
         // (without an instrument both calibrations count as loaded).
         o.result = PortB_cal == 1 && vna_present != 0;
         if (o.result) {
           for (int i = 0; i <= MaxCalBNdx; ++i) {
             o.kept.push_back({CalDataB[i].freq, CalDataB[i].ratio_low});
             o.kept.push_back({CalDataB[i].freq + 1000, CalDataB[i].ratio_high});
           }
         }
         return o;
       },
       1e-6, true, true, 0, 0, true},
      {"MailboxPortB", "uhf", {},
       [](M& m) { m.PortsAB(1, 10, 0.5); },
       [](M& m) { return m.Mailbox("1"); },
       1e-3, true, true, 0},
  };
  // clang-format on
  static const std::vector<Path> both = [] {
    std::vector<Path> out = paths;
    // The single-DDS model programs, ranges and decodes its own way.
    for (const Path& p : paths) {
      if (p.name == "PortAScan" || p.name == "PortBScan" || p.name == "PointDataA" ||
          p.name == "PointDataAB" || p.name.rfind("Export", 0) == 0 ||
          p.name.find("Cal") != std::string::npos) {
        Path q = p;
        q.name += "_7306";
        q.model = "7306";
        out.push_back(q);
      }
    }
    return out;
  }();
  return both;
}

std::string DialogLog() {
  std::string out;
  for (const auto& d : testhook::Dialogs()) out += "dialog " + d.title + "\n";
  return out;
}

// The main window as build/measuring/<name>.png, for a person to look at.
void SavePng(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "measuring";
  std::filesystem::create_directories(dir);
  int w = 0, h = 0;
  ClientSize(main_win, w, h);
  main_win.impl->image.copy(0, 0, w, h)
      .save(QString::fromStdString((dir / (name + ".png")).string()));
}

std::string Describe(const std::vector<Kept>& k) {
  std::ostringstream s;
  for (const Kept& p : k) s << p.key << ":" << p.value << " ";
  return s.str();
}

TEST_P(MeasuringPaths, AFailedReadingIsSaidAndNothingUnmeasuredIsKept) {
  const Case c = GetParam();
  const Path& path = Paths()[c.path];
  const Fault& fault = kFaults[c.fault];
  model_ = path.model;
  WatchForLostInstrument();  // as start-up does: a hang-up loses the instrument
  Begin();
  path.prepare(*this);
  ASSERT_FALSE(HasFatalFailure());
  // A person who answers the question of a silent instrument with Ignore:
  // the program goes on, and must not go on with what it did not read.
  testhook::AnswerAlways(" Hardware Reset", kIdIgnore);
  testhook::ClearLogs();

  for (int k = 0; k < path.warm_up; ++k) {
    ASSERT_EQ(path.run(*this).status, 0) << test::MessageLog() << DialogLog();
    testhook::ClearLogs();
  }
  const long before = Readings();
  const Outcome clean = path.run(*this);
  const long taken = Readings() - before;
  ASSERT_EQ(clean.status, 0) << test::MessageLog() << DialogLog();
  ASSERT_GT(taken, 0) << test::MessageLog();
  const std::vector<std::string> clean_captions = [] {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption);
    return out;
  }();
  if (path.result_tolerance > 0 || path.has_result) {
    ASSERT_TRUE(clean.result) << test::MessageLog();
  }

  const long at = c.at == At::kFirst ? 0 : c.at == At::kMiddle ? taken / 2 : taken - 1;
  SCOPED_TRACE(std::string(fault.words) + " at reading " + std::to_string(at + 1) + " of " +
               std::to_string(taken));
  testhook::ClearLogs();
  Sim().Fault(std::string(fault.words) + " after " + std::to_string(at));
  const Outcome failed = path.run(*this);
  const bool hung_up = std::string(fault.name) == "hangup";
  if (!hung_up) {
    EXPECT_EQ(Sim().Status("faults").find('@'), std::string::npos) << "the fault was never reached";
    Sim().Fault("none");
  }

  // Said: a status, or one box beyond those the clean run showed.
  std::vector<std::string> boxes;
  const auto& shown = testhook::MsgBoxes();
  for (const auto& b : std::vector<testhook::MsgBoxRecord>(
           shown.begin(), shown.begin() + std::min(shown.size(), failed.measured_boxes))) {
    const auto seen = std::find(clean_captions.begin(), clean_captions.end(), b.caption);
    if (seen == clean_captions.end()) boxes.push_back(b.caption + "|" + b.text);
  }
  EXPECT_TRUE(failed.status != 0 || boxes.size() == 1)
      << "the failure was not reported: status 0 and " << boxes.size() << " boxes";
  EXPECT_LE(boxes.size(), 1u) << "said more than once:\n" << test::MessageLog();

  // Kept: only what the clean run also measured, with its values.
  for (const Kept& k : failed.kept) {
    const auto same = std::find_if(clean.kept.begin(), clean.kept.end(),
                                   [&](const Kept& m) { return std::fabs(m.key - k.key) < 1e-9; });
    if (same == clean.kept.end()) {
      ADD_FAILURE() << "kept at " << k.key << ", which the clean run did not keep";
      continue;
    }
    EXPECT_NEAR(k.value, same->value, path.tolerance + 1e-6 * std::fabs(same->value))
        << "kept at " << k.key << " a value that was not measured";
  }
  if (path.status_required) {
    EXPECT_NE(failed.status, 0) << "the failure left no status for a caller to test";
  }
  if (path.all_or_nothing && failed.status != 0) {
    EXPECT_TRUE(failed.kept.empty()) << "a failed run kept " << Describe(failed.kept);
  }
  // A result only from what was measured.
  if (path.result_tolerance == 0) {
    EXPECT_FALSE(failed.result) << "a result was shown from a failed measurement";
  } else if (failed.result) {
    EXPECT_NEAR(failed.result_value, clean.result_value,
                path.result_tolerance * std::fabs(clean.result_value))
        << "a result from points that were not measured";
  }
  SavePng(CaseName({GetParam(), 0}));

  // Whatever was left unanswered is no concern of the next test.
  testhook::Reset();
  if (hung_up) sim_.reset();
}

std::vector<Case> AllCases() {
  std::vector<Case> out;
  for (int p = 0; p < static_cast<int>(Paths().size()); ++p) {
    for (int f = 0; f < static_cast<int>(std::size(kFaults)); ++f) {
      const auto& allowed = Paths()[p].faults;
      if (!allowed.empty() && std::find_if(allowed.begin(), allowed.end(), [&](const char* n) {
                                return std::string(n) == kFaults[f].name;
                              }) == allowed.end())
        continue;
      for (At at : {At::kFirst, At::kMiddle, At::kLast}) out.push_back({p, f, at});
    }
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(EveryPath, MeasuringPaths, ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
}  // namespace vna
