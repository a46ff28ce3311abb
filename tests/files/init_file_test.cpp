// The init file and the state files: the exact bytes written, the read
// rules of each line, the markers, and what damaged files and failed writes
// do to the settings and to the files on disk.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <regex>

#include "calibration/state.h"
#include "files/init_file.h"
#include "files/settings_fixture.h"
#include "files/settings_table.h"
#include "graph/state.h"
#include "scan/state.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr char kInitName[] = "VNA_Init_Data_ 4177.ini";
constexpr size_t kMsecLine = 250;  // index of line 251

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
    s.replace(p, from.size(), to);
}

// Every setting the table holds, as text (doubles to 8 decimals, as the file
// keeps them), keyed by its line.
std::map<std::string, std::string> Snapshot() {
  std::map<std::string, std::string> out;
  int n = 0;
  for (const InitLine& l : InitFileLines()) {
    ++n;
    const std::string key = l.key ? std::string(l.key) : "line " + std::to_string(n);
    char buf[64];
    if (l.int_value) {
      out[key] = std::to_string(*l.int_value);
    } else if (l.double_value) {
      std::snprintf(buf, sizeof buf, "%.8f", *l.double_value);
      out[key] = buf;
    } else if (l.text_value) {
      out[key] = *l.text_value;
    }
  }
  return out;
}

class InitFileTest : public testing::SettingsTest {
 protected:
  std::string InitPath() { return dir / kInitName; }

  // The golden file with this machine's program folder and screen size, and
  // the clock reading of the file it is compared with.
  std::string Golden(const std::string& msec_line) {
    std::string g = ReadBytes(VNA_SOURCE_DIR "/tests/files/data/init_defaults.ini");
    int w = 0, h = 0;
    ScreenSize(w, h);
    ReplaceAll(g, "@PROGRAM_FOLDER@", dir.path() + "/");
    ReplaceAll(g, "@WIN_HEIGHT@", " " + std::to_string(h * 7 / 10));
    ReplaceAll(g, "@WIN_WIDTH@", " " + std::to_string(w * 9 / 10));
    ReplaceAll(g, "Msec   @MSEC@", msec_line);
    return g;
  }

  // The lines of a file written from the present settings.
  std::vector<std::string> WrittenLines() {
    file_name = dir / "base.stat";
    msg_text = "base.stat";
    EXPECT_TRUE(SaveInitData());
    return Lines(dir.Read("base.stat"));
  }

  // Resets to the defaults and reads the given lines as the init file.
  void LoadLines(const std::vector<std::string>& lines) {
    dir.Write("case.stat", Join(lines));
    InitVars();
    format = 25;
    config_file_name = cal_file_name = "";  // names the defaults do not set
    delay_scale = 0;                        // nor this scale: 0 when the program starts
    file_name = dir / "case.stat";
    testhook::ClearLogs();
    LoadInitData();
  }
};

TEST_F(InitFileTest, DefaultsWriteTheGoldenFile) {
  WriteInitFile();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(msg_text, kInitName);
  EXPECT_EQ(file_name, dir.path() + "/" + kInitName);
  const std::string first = dir.Read(kInitName);
  const std::vector<std::string> lines = Lines(first);
  ASSERT_EQ(lines.size(), 267u);
  EXPECT_TRUE(std::regex_match(lines[kMsecLine], std::regex("Msec    -?[0-9]+")))
      << lines[kMsecLine];
  EXPECT_EQ(first, Golden(lines[kMsecLine]));
  EXPECT_EQ(number_decimals, 3);

  // Writing again gives the same bytes (the clock reading aside).
  WriteInitFile();
  const std::string second = dir.Read(kInitName);
  EXPECT_EQ(second, Golden(Lines(second)[kMsecLine]));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(InitFileTest, ReadingBackRestoresEverySetting) {
  // Every line without a rule of its own gets a value of its own...
  int n = 0;
  for (const InitLine& l : InitFileLines()) {
    ++n;
    if (l.read || l.write) continue;
    if (l.int_value) *l.int_value = 3 + n % 40;
    if (l.double_value) *l.double_value = 1.25 + 0.125 * (n % 64);
    if (l.text_value) *l.text_value = "/home/user/vna/folder" + std::to_string(n) + "/";
  }
  // ...and the lines with rules a value the rule keeps.
  freq = 14.25;
  start_freq = 3.5;
  end_freq = 30.25;
  delta_freq = 0.05;
  freq_comp = 1.005;
  freq_comp1 = 0.995;
  freq_comp2 = 1.0001;
  osc_freq = 400;
  swr_scale = 5;
  swr_log = 1;
  zmag_scale = 2000;
  phase_scale = 90;
  Zref = 75;
  Z0real = 60;
  Z0imag = -5;
  VF = 0.8;
  for (int* flag : {&plot_swrB, &plot_s11, &plot_zmagB, &plot_rsB, &plot_rpA, &plot_rpB, &plot_Q,
                    &plot_delay, &plot_ZphaseB, &plot_phaseS11, &autopoweroff, &PortB_on,
                    &highlight, &bandskip, &voice, &plot_at_zero})
    *flag = 1;
  for (int* flag :
       {&plot_swrA, &plots21, &plot_rt, &plot_zmagA, &plot_rsA, &plot_ZphaseA, &plot_phaseS21})
    *flag = 0;
  s21gain_scale = 5;
  s21phase_scale = 90;
  s11gain_scale = -40;
  delay_scale = 250;
  delay_smoothing = -5;
  PortB_Gain = 3;
  PortB_Sens = 2;
  PortA_Sens = 1;
  config_file_name = "my.cfg";
  cal_file_name = "bench.vcal";
  cal_file_path = "/home/user/cal/bench.vcal";
  smoothing = 5;
  rtloss_scale = 40;
  DDSdelay = 10;
  int style = 0;
  for (int* s : {&swrstyle, &zmagstyle, &rsstyle, &xsstyle, &phasestyle, &rtstyle, &s11style,
                 &s21style, &delaystyle})
    *s = ++style % 7;
  Q_scale = 50;
  Zextension = 75;
  ExtensionVP = 0.7;
  ExtensionFlag = 1;
  for (int k = 1; k <= 5; ++k) Rng[k] = 0.01 * k;
  WinHeight = 700;
  WinWidth = 1100;
  full_current_mode = 1;
  Recycle_depth = 7;
  autorange = 0;  // written, never read back
  const double freqs[5] = {28.5, 3.6, 14.2, 7.1, 3.6};
  for (int i = 1; i <= kMaxMarkers; ++i) markers[i] = Marker{};
  for (int i = 1; i <= kMaxMarkers; ++i) markers[i].Freq = 10000;
  for (int i = 0; i < 5; ++i) {
    Marker& m = markers[i + 1];
    m.Freq = freqs[i];
    m.Rs = 50 + i;
    m.Xs = -10.5 + i;
    m.Phase = -0.25 * i;
    m.SWR = 1.5 + i;
    m.Rt = 12 + i;
  }
  std::map<std::string, std::string> before = Snapshot();
  const double ext_phase = 2 * pi * ExtensionLength / (299.8 * ExtensionVP);

  file_name = dir / "user.stat";
  msg_text = "user.stat";
  ASSERT_TRUE(SaveInitData());
  InitVars();
  format = 25;
  LoadInitData();
  EXPECT_TRUE(Boxes().empty());

  std::map<std::string, std::string> after = Snapshot();
  EXPECT_EQ(after["autorange   "], "1");  // the default stays
  after.erase("autorange   ");
  before.erase("autorange   ");
  EXPECT_EQ(before, after);
  EXPECT_EQ(swr_log, 1);
  EXPECT_EQ(recycle_count, 9);
  EXPECT_EQ(smoothing_on, 1);
  EXPECT_DOUBLE_EQ(ext_phase_per_MHz, ext_phase);
  EXPECT_EQ(step_text, " 0.050");  // three decimals for a span of 26.75 MHz
  // Markers come back sorted by frequency, equal frequencies in file order.
  EXPECT_EQ(marker_count, 5);
  const double sorted[5] = {3.6, 3.6, 7.1, 14.2, 28.5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(markers[i + 1].Freq, sorted[i]) << i;
  EXPECT_EQ(markers[1].Rs, 51);  // the first 3.6 of the file
  EXPECT_EQ(markers[2].Rs, 54);
  EXPECT_EQ(markers[4].Xs, -8.5);
  EXPECT_EQ(markers[6].Freq, 10000);
  EXPECT_EQ(marker_next, 6);
}

TEST_F(InitFileTest, SpecialNumberForms) {
  freq = 14.1;
  swr_scale = 10;
  swr_log = 1;
  Rng[1] = 0.1;
  full_current_mode = 1;
  cal_file_path = "/cal/array.chan4";
  markers[3].Freq = 10000;
  std::vector<std::string> lines = WrittenLines();
  EXPECT_EQ(lines[1], "freq     14.10000038");
  EXPECT_EQ(lines[9], "swr_scale     10L");
  EXPECT_EQ(lines[230], "Rng1        5.73000000");
  EXPECT_EQ(lines[249], "LowPwrMode   0");
  EXPECT_EQ(lines[72], "/cal/array.chan1");
  EXPECT_EQ(cal_file_path, "/cal/array.chan1");  // the rewrite stays in memory
  EXPECT_EQ(lines[112], "markerFreq    10000");
  EXPECT_EQ(freq_single, 14.1f);

  freq = 7.05;
  EXPECT_EQ(WrittenLines()[1], "freq     7.05000019");
}

TEST_F(InitFileTest, TextSettingsNeverMoveTheLinesAfterThem) {
  cal_folder = "/data/line\nbreak/";
  scan_folder = std::string(300, 'x');
  std::vector<std::string> lines = WrittenLines();
  ASSERT_EQ(lines.size(), 267u);
  EXPECT_EQ(lines[71], "/data/line");
  EXPECT_EQ(lines[75], std::string(254, 'x'));
  EXPECT_EQ(lines[81], "swrstyle    0");
}

TEST_F(InitFileTest, ReadRules) {
  Z0imag = 5;  // so the rule that clears it along with Z0real shows
  const std::vector<std::string> base = WrittenLines();
  struct Case {
    size_t line;  // 1-based, in a file written by the program
    std::string text;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {3, "start_freq     0.001", [] { EXPECT_EQ(start_freq, 0.005); }},
      {4, "end_freq     1300", [] { EXPECT_EQ(end_freq, 1200); }},
      {5, "delta_freq     0", [] { EXPECT_EQ(delta_freq, 0.001); }},
      {5, "delta_freq     500",
       [] {
         EXPECT_EQ(delta_freq, 10);  // and ClampSettings keeps 10
         EXPECT_EQ(step_text, " 10");
       }},
      {6, "freq_comp     1.02", [] { EXPECT_EQ(freq_comp, 1); }},
      {6, "freq_comp     0.995", [] { EXPECT_EQ(freq_comp, 0.995); }},
      {9, "osc_freq     3", [] { EXPECT_EQ(osc_freq, 50); }},
      {10, "swr_scale     10L",
       [] {
         EXPECT_EQ(swr_log, 1);
         EXPECT_EQ(swr_scale, 10);
       }},
      {10, "swr_scale     7",
       [] {
         EXPECT_EQ(swr_log, 0);
         EXPECT_EQ(swr_scale, 7);
       }},
      {10, "swr_scale     7l", [] { EXPECT_EQ(swr_log, 0); }},
      {13, "Zref    2000",
       [] {
         EXPECT_EQ(Zref, 50);
         EXPECT_EQ(Z0real, 50);
       }},
      {13, "Zref    0.5", [] { EXPECT_EQ(Zref, 50); }},
      {14, "VF    0.3", [] { EXPECT_EQ(VF, 0.66); }},
      {14, "VF    1.5", [] { EXPECT_EQ(VF, 1); }},
      {15, "cabel_lenght  33", [] { EXPECT_EQ(cable_length, 33); }},
      {15, "cable_length  3.3E1", [] { EXPECT_EQ(cable_length, 33); }},
      {3, "start_freq     1.5e1", [] { EXPECT_EQ(start_freq, 15); }},
      {16, "plot_swrA    5", [] { EXPECT_EQ(plot_swrA, 1); }},
      {17, "plot_swrB    -1", [] { EXPECT_EQ(plot_swrB, 1); }},
      {16, "plot_swrA    0", [] { EXPECT_EQ(plot_swrA, 0); }},
      {36, "Z0imag    -12", [] { EXPECT_EQ(Z0imag, 0); }},
      {36, "Z0imag    -10", [] { EXPECT_EQ(Z0imag, -10); }},
      {42, "s21phase_scale   -300", [] { EXPECT_EQ(s21phase_scale, 200); }},
      {42, "s21phase_scale   -90", [] { EXPECT_EQ(s21phase_scale, 90); }},
      {48, "PortB_Sens    3", [] { EXPECT_EQ(PortB_Sens, 1); }},
      {50, "PortA_Sens    0", [] { EXPECT_EQ(PortA_Sens, 2); }},
      {51, "autorange    0", [] { EXPECT_EQ(autorange, 1); }},
      {52, "MyCfg.CFG", [] { EXPECT_EQ(config_file_name, "MyCfg.CFG"); }},
      {52, "notes.txt", [] { EXPECT_EQ(config_file_name, ""); }},
      {53, "C:\\Cal\\Bench.VCAL", [] { EXPECT_EQ(cal_file_name, "C:\\Cal\\Bench.VCAL"); }},
      {59, "maximumfreq    180", [] { EXPECT_EQ(maximumfreq, 1200); }},
      {60, "smoothing    31",
       [] {
         EXPECT_EQ(smoothing, 5);
         EXPECT_EQ(smoothing_on, 1);
       }},
      {60, "smoothing    30", [] { EXPECT_EQ(smoothing, 0); }},  // ClampSettings: above maxsmooth
      {64, "rtloss_scale    -95", [] { EXPECT_EQ(rtloss_scale, 80); }},
      {68, "DDSdelay    0", [] { EXPECT_EQ(DDSdelay, 2); }},
      {68, "DDSdelay    40", [] { EXPECT_EQ(DDSdelay, 31); }},
      {95, "ExtensionVP    -0.8", [] { EXPECT_EQ(ExtensionVP, 0.8); }},
      {95, "ExtensionVP    0.3", [] { EXPECT_EQ(ExtensionVP, 0.6666); }},
      {94, "Zextension    1500", [] { EXPECT_EQ(Zextension, 50); }},
      {231, "Rng1        5.73", [] { EXPECT_NEAR(Rng[1], 0.1, 1e-12); }},
      {236, "WinHeight   100", [] { EXPECT_EQ(WinHeight, 300); }},
      {237, "WinWidth    100", [] { EXPECT_EQ(WinWidth, 500); }},
      {250, "LowPwrMode   1", [] { EXPECT_EQ(full_current_mode, 0); }},
      {250, "LowPwrMode   0", [] { EXPECT_EQ(full_current_mode, 1); }},
      {250, "LowPwrMode   2", [] { EXPECT_EQ(full_current_mode, 1); }},
      {250, "LowPwrMode   -1", [] { EXPECT_EQ(full_current_mode, 1); }},
      {252, "anything at all", [] { EXPECT_EQ(Recycle_depth, 3); }},
      {253, "Recycle_depth   3", [] { EXPECT_EQ(recycle_count, 5); }},
      {265, "UHFcalEnd  1300",
       [] {
         EXPECT_EQ(UHFcalStart, 140);
         EXPECT_EQ(UHFcalEnd, 500);
         EXPECT_EQ(UHFcalDelta, 0.5);
       }},
      // Values the program would index an array with or divide by stay usable.
      {47, "PortB_Gain    9", [] { EXPECT_EQ(PortB_Gain, 1); }},
      {47, "PortB_Gain    4", [] { EXPECT_EQ(PortB_Gain, 4); }},
      {82, "swrstyle    12", [] { EXPECT_EQ(swrstyle, 0); }},
      {90, "delaystyle    -2", [] { EXPECT_EQ(delaystyle, 0); }},
      {11, "zmag_scale     0", [] { EXPECT_EQ(zmag_scale, 1000); }},
      {44, "delay_scale    0", [] { EXPECT_EQ(delay_scale, 100); }},  // nothing else set it
      {44, "delay_scale    5000", [] { EXPECT_EQ(delay_scale, 5000); }},
      // A reference resistance below min_Zref falls back to 50 + j0: the
      // reactance read on line 36 goes with it.
      {37, "Z0real    0.5",
       [] {
         EXPECT_EQ(Z0real, 50);
         EXPECT_EQ(Z0imag, 0);
       }},
      {10, "swr_scale     1", [] { EXPECT_EQ(swr_scale, 10); }},
      {45, "delay_smoothing   50", [] { EXPECT_EQ(delay_smoothing, 20); }},
      {45, "delay_smoothing   -50", [] { EXPECT_EQ(delay_smoothing, -20); }},
      {253, "Recycle_depth   99999999999", [] { EXPECT_GT(recycle_count, Recycle_depth); }},
      {33, "commport    99999999999999", [] { EXPECT_EQ(commport, 2147483647); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.text);
    std::vector<std::string> lines = base;
    lines[c.line - 1] = c.text;
    LoadLines(lines);
    EXPECT_TRUE(Boxes().empty());
    c.check();
  }
}

// A line that holds no number where the table has one would read as 0; a
// line too many or too few moves every setting after it. Either way the
// file is refused whole: no setting, marker or flag changes. A line the
// file does not hold (it ended early) still keeps its setting.
TEST_F(InitFileTest, ALineWithoutANumberRefusesTheWholeFile) {
  const std::vector<std::string> base = WrittenLines();
  struct Case {
    const char* name;
    std::function<void(std::vector<std::string>&)> edit;
    int line;  // the line the message names
  };
  auto set = [](size_t line, std::string text) {
    return [=](std::vector<std::string>& l) { l[line - 1] = text; };
  };
  auto insert = [](size_t before, std::string text) {
    return [=](std::vector<std::string>& l) { l.insert(l.begin() + (before - 1), text); };
  };
  const Case cases[] = {
      {"a word for a number", set(15, "cable_length  long"), 15},
      {"no value after the key", set(2, "freq    "), 2},
      {"a tab for the blank", set(15, "cable_length\t33"), 15},
      {"no key word", set(15, " 33"), 15},
      {"an empty line", set(64, ""), 64},
      {"a number beyond a double", set(13, "Zref    1e999"), 13},
      {"the marker count", set(100, "maxmarkers    all"), 100},
      {"a marker value", set(103, "markerXs    x"), 103},
      {"the clock line", set(251, "Msec   "), 251},
      {"the last line", set(266, "UHFcalDelta half"), 266},
      // A line too many: the text lands where a number belongs.
      {"a line inserted among numbers", insert(21, "plot_extra   yes"), 21},
      {"a line inserted among the folders", insert(76, "/extra/folder/"), 82},
      // A line too few: the settings after it move up, numbers onto
      // numbers, until a folder reaches line 96.
      {"a line missing among the folders", [](auto& l) { l.erase(l.begin() + 75); }, 96},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = base;
    c.edit(lines);
    dir.Write("case.stat", Join(lines));
    InitVars();
    format = 25;
    config_file_name = cal_file_name = "";
    start_freq = 7;  // not the defaults, nor the file's
    markers[4].Rs = 33;
    marker_count = 4;
    swr_log = 1;
    step_text = "kept";
    SetDigits(5);
    const std::map<std::string, std::string> before = Snapshot();
    std::vector<double> marker_values;
    for (const Marker& m : markers) {
      for (double v : {m.Freq, m.Rs, m.Xs, m.Phase, m.SWR, m.Rt}) marker_values.push_back(v);
    }
    file_name = dir / "case.stat";
    testhook::ClearLogs();
    LoadInitData();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{" Invalid *.ini file|The file named: " + file_name +
                                       "\rholds no number on line " + std::to_string(c.line) +
                                       ", where a setting needs one.\rNone of its "
                                       "settings were taken."});
    EXPECT_EQ(Snapshot(), before);
    std::vector<double> marker_after;
    for (const Marker& m : markers) {
      for (double v : {m.Freq, m.Rs, m.Xs, m.Phase, m.SWR, m.Rt}) marker_after.push_back(v);
    }
    EXPECT_EQ(marker_after, marker_values);
    EXPECT_EQ(marker_count, 4);
    EXPECT_EQ(swr_log, 1);
    EXPECT_EQ(step_text, "kept");
    EXPECT_EQ(number_decimals, 5);
    EXPECT_FALSE(data_file.IsOpen());
  }
}

// The writer never writes a file its reader refuses: a value that is not
// finite (a typed "1e999") is written as 0.
TEST_F(InitFileTest, NoInfiniteValueReachesTheFile) {
  cable_length = INFINITY;
  swr_scale = -INFINITY;
  swr_log = 1;
  Rng[3] = INFINITY;
  markers[2].Rt = INFINITY;
  const std::vector<std::string> lines = WrittenLines();
  EXPECT_EQ(lines[14], "cable_length   0");
  EXPECT_EQ(lines[9], "swr_scale     0L");
  EXPECT_EQ(lines[232], "Rng3        0");
  EXPECT_EQ(lines[100 + 6 + 5], "markerRt    0");
  testhook::ClearLogs();
  LoadInitData();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(cable_length, 0);
}

TEST_F(InitFileTest, AFileCutInALineKeepsWhatItDidNotHold) {
  // The writer ends every line: a last line without its end was cut short.
  // It is not taken, as a line the file does not hold, and nothing is
  // refused for it.
  const std::vector<std::string> base = WrittenLines();
  for (const std::string& cut : {std::string("cable_len"), std::string("cable_length  1")}) {
    SCOPED_TRACE(cut);
    std::string bytes = Join(std::vector<std::string>(base.begin(), base.begin() + 14)) + cut;
    dir.Write("cut.stat", bytes);
    InitVars();
    format = 25;
    cable_length = 12;
    Zref = 60;
    file_name = dir / "cut.stat";
    testhook::ClearLogs();
    LoadInitData();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{" Init file incomplete|The settings file ended early, "
                                       "after line 14:\r" +
                                       file_name +
                                       "\rThe settings it did not hold keep their present "
                                       "values."});
    EXPECT_EQ(cable_length, 12);
    EXPECT_EQ(Zref, 50);  // line 13, read
  }
}

TEST_F(InitFileTest, Markers) {
  // Six lines per group: a count of 2 leaves the Smith chart line where the
  // third group would have begun.
  std::vector<std::string> lines = WrittenLines();
  std::vector<std::string> two(lines.begin(), lines.begin() + 100);
  two[99] = "maxmarkers    2";
  const std::vector<std::string> groups = {
      "markerFreq    0", "markerRs    1",       "markerXs    2",     "markerPhase    3",
      "markerSwr    4",  "markerRt    5",       "markerFreq    7.2", "markerRs    50",
      "markerXs    -3",  "markerPhase    -0.5", "markerSwr    1.2",  "markerRt    20"};
  two.insert(two.end(), groups.begin(), groups.end());
  std::vector<std::string> tail(lines.begin() + 220, lines.end());
  tail[0] = "Zsm_real    75";
  two.insert(two.end(), tail.begin(), tail.end());
  LoadLines(two);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(marker_count, 1);
  EXPECT_EQ(markers[1].Freq, 7.2);  // sorted before the 9999 of the zero frequency
  EXPECT_EQ(markers[1].Phase, -0.5);
  EXPECT_EQ(markers[2].Freq, 9999);
  EXPECT_EQ(markers[2].Rs, 1);
  EXPECT_EQ(markers[3].Freq, 10000);
  EXPECT_EQ(marker_next, 2);
  EXPECT_EQ(Zsm_real, 75);
  EXPECT_EQ(UHFcalDelta, 0.5);

  // A count of 0: no markers, the next line is the Smith chart's.
  std::vector<std::string> none(lines.begin(), lines.begin() + 100);
  none[99] = "maxmarkers    0";
  none.insert(none.end(), tail.begin(), tail.end());
  LoadLines(none);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(marker_count, 0);
  EXPECT_EQ(Zsm_real, 75);

  // A count of 21: message, empty markers, nothing after the count read.
  lines[99] = "maxmarkers    21";
  lines[220] = "Zsm_real    75";
  lines[1] = "freq    7";
  LoadLines(lines);
  EXPECT_EQ(Boxes(), std::vector<std::string>{" Init file error 2183| Incorrect number of markers "
                                              "in init file.\r\nNumber read =  21"});
  EXPECT_EQ(testhook::MsgBoxes()[0].owner, "main_win");
  EXPECT_EQ(marker_count, 0);
  EXPECT_EQ(markers[1].Freq, 10000);
  EXPECT_EQ(freq, 7);       // read before the count
  EXPECT_EQ(Zsm_real, 50);  // not read
  EXPECT_FALSE(data_file.IsOpen());
}

TEST_F(InitFileTest, MissingAndForeignFiles) {
  // Missing: a message, and the defaults, clamped.
  start_freq = 10;
  end_freq = 10;
  ReadInitFile();
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " No INIT data  error=7321|The INIT data file was not found in "
                         "the same folder with the .exe file.\rMake sure these files "
                         "are in the same folder."});
  EXPECT_EQ(start_freq, 1);
  EXPECT_EQ(end_freq, 21);

  // Another version's file: a message, and no setting changes.
  std::vector<std::string> lines = WrittenLines();
  lines[0] = "format    4176";
  lines[2] = "start_freq     7";
  dir.Write(kInitName, Join(lines));
  InitVars();
  format = 25;
  testhook::ClearLogs();
  ReadInitFile();
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " Invalid *.ini file|The init file is not compatible with this program."
                         "\rThe expected format is:  4177\r\r\nA new init file will be created "
                         "when you close this program."});
  EXPECT_EQ(start_freq, 5);
  EXPECT_FALSE(data_file.IsOpen());
}

// Damaged files: each gives a clear message or none, never a crash; what
// could not be read keeps its value; the file itself is never changed.
TEST_F(InitFileTest, DamagedFiles) {
  Zref = 75;
  UHFcalEnd = 400;
  const std::vector<std::string> good = WrittenLines();
  std::mt19937 random(4177);
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(random() & 0xff);
  std::string huge_line = good[71];
  huge_line += std::string(2 << 20, 'z');
  std::vector<std::string> with_huge_line = good;
  with_huge_line[71] = huge_line;

  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> captions;  // the one message expected; several: any of them or none
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"truncated",
       Join(std::vector<std::string>(good.begin(), good.begin() + 120)) + "marker",
       {" Init file incomplete"},
       [] {
         EXPECT_EQ(Zref, 75);      // read before the end
         EXPECT_EQ(Zsm_real, 50);  // not in the file: keeps its default, not 0
         EXPECT_EQ(DDS_Amplitude, 100);
       }},
      {"cut after line 99",
       Join(std::vector<std::string>(good.begin(), good.begin() + 99)),
       {" Init file incomplete"},
       [] {
         EXPECT_EQ(marker_count, 0);
         EXPECT_EQ(DDS_Amplitude, 100);
       }},
      {"empty", "", {" Invalid *.ini file"}, [] { EXPECT_EQ(start_freq, 5); }},
      {"binary", binary, {" Invalid *.ini file"}, [] { EXPECT_EQ(start_freq, 5); }},
      {"binary after a good first line",
       good[0] + "\r\n" + binary,
       {" Init file incomplete", " Init file error 2183", " Invalid *.ini file"},
       [] {
         for (int s : {swrstyle, zmagstyle, rsstyle, xsstyle, phasestyle, rtstyle, s11style,
                       s21style, delaystyle})
           EXPECT_TRUE(s >= 0 && s <= 6);
         EXPECT_TRUE(PortB_Gain >= 1 && PortB_Gain <= 5);
         EXPECT_NE(zmag_scale, 0);
         EXPECT_TRUE(marker_count >= 0 && marker_count <= 20);
       }},
      // Larger than any settings file can be: refused before it is read.
      {"oversized line",
       Join(with_huge_line),
       {" Invalid *.ini file"},
       [] { EXPECT_NE(UHFcalEnd, 400); }},  // the file's value is not taken
      {"oversized file",
       Join(good) + std::string(4 << 20, '\n'),
       {" Invalid *.ini file"},
       [] { EXPECT_NE(UHFcalEnd, 400); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("damaged.stat", c.bytes);
    InitVars();
    format = 25;
    file_name = dir / "damaged.stat";
    testhook::ClearLogs();
    LoadInitData();
    if (c.captions.size() == 1) {
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.captions[0]);
    } else {
      EXPECT_LE(testhook::MsgBoxes().size(), 1u);
      for (const auto& b : testhook::MsgBoxes())
        EXPECT_NE(std::find(c.captions.begin(), c.captions.end(), b.caption), c.captions.end());
    }
    c.check();
    EXPECT_FALSE(data_file.IsOpen());
    EXPECT_EQ(dir.Read("damaged.stat"), c.bytes);
  }
  // The incomplete-file message names the file and where it ended.
  dir.Write("short.stat", Join(std::vector<std::string>(good.begin(), good.begin() + 40)));
  file_name = dir / "short.stat";
  testhook::ClearLogs();
  LoadInitData();
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " Init file incomplete|The settings file ended early, after line 40:\r" +
                         file_name + "\rThe settings it did not hold keep their present values."});
}

// A write that cannot complete keeps the old file whole and says so.
TEST_F(InitFileTest, FailedWritesKeepTheOldFile) {
  WriteInitFile();
  const std::string old_bytes = dir.Read(kInitName);
  start_freq = 7;  // a change that must not reach the disk
  const std::string read_only_text =
      "The file named: VNA_Init_Data_ 4177.ini  \ris a Read-Only file.\rIt cannot be updated.\r"
      "Make sure the Read-Only bit for all the files in \rthe VNA folder is NOT set.";

  // A read-only file.
  chmod(InitPath().c_str(), 0444);
  testhook::ClearLogs();
  WriteInitFile();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"|" + read_only_text});
  EXPECT_EQ(dir.Read(kInitName), old_bytes);
  chmod(InitPath().c_str(), 0644);

  // A read-only program folder.
  chmod(dir.path().c_str(), 0555);
  testhook::ClearLogs();
  WriteInitFile();
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"|" + read_only_text});
  EXPECT_EQ(dir.Read(kInitName), old_bytes);

  // A disk that fills up while the file is written.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 2000;
  setrlimit(RLIMIT_FSIZE, &small);
  testhook::ClearLogs();
  file_name = InitPath();
  msg_text = kInitName;
  const bool saved = SaveInitData();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  EXPECT_FALSE(saved);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " File not saved");
  EXPECT_TRUE(testhook::MsgBoxes()[0].text.starts_with(
      "The file named: VNA_Init_Data_ 4177.ini  \rcould not be written ("))
      << testhook::MsgBoxes()[0].text;
  EXPECT_TRUE(testhook::MsgBoxes()[0].text.ends_with("The previous file was kept unchanged."));
  EXPECT_EQ(dir.Read(kInitName), old_bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // A missing folder.
  file_name = dir / "gone/x.stat";
  msg_text = "x.stat";
  testhook::ClearLogs();
  EXPECT_FALSE(SaveInitData());
  EXPECT_EQ(testhook::MsgBoxes().size(), 1u);
  // No name at all: nothing is written and nothing said.
  file_name = "";
  testhook::ClearLogs();
  EXPECT_FALSE(SaveInitData());
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace vna
