// The Port B scan file and its "_B.csv" companion: the exact layout, the
// round trip, the names, and every way a file is refused without changing
// what is in memory.
#include <cmath>
#include <filesystem>
#include <regex>

#include "files/scan_file_b.h"
#include "platform/testhook.h"
#include "scan/scan_b.h"
#include "scan_files/scan_files_fixture.h"

namespace vna {
namespace {

using test::CrLfLines;
using test::GoldenFile;

// Everything a Port B file sets, to show that a refused file changed none of it.
struct SnapshotB {
  std::vector<double> freq, s21, phase, rl, rlphase, a_swr;
  int points = 0, ok_a = 0, ok_b = 0, gain = 0, sens = 0, avg = 0, smooth = 0;
  double start = 0, end = 0, step = 0, zref = 0, vf = 0, phase_scale = 0;
  std::string title, stamp, comment;
  static SnapshotB Take() {
    SnapshotB s;
    s.freq.assign(scanB_freq, scanB_freq + 10);
    s.s21.assign(s21_dB, s21_dB + 10);
    s.phase.assign(scanB_phase, scanB_phase + 10);
    s.rl.assign(scanB_s11rl, scanB_s11rl + 10);
    s.rlphase.assign(scanB_s11phase, scanB_s11phase + 10);
    s.a_swr.assign(scanA_swr, scanA_swr + 10);
    s.points = Numscanpts;
    s.ok_a = scana_ok;
    s.ok_b = scanb_ok;
    s.gain = PortB_Gain;
    s.sens = PortB_Sens;
    s.avg = average;
    s.smooth = smoothing;
    s.start = start_freq;
    s.end = end_freq;
    s.step = delta_freq;
    s.zref = Zref;
    s.vf = VF;
    s.phase_scale = s21phase_scale;
    s.title = PortB_title;
    s.stamp = scan_stamp;
    s.comment = scan_comment;
    return s;
  }
  bool operator==(const SnapshotB&) const = default;
};

class ScanFileB : public test::ScanFileTest {
 protected:
  void SetUp() override {
    ScanFileTest::SetUp();
    scan_format_B = 4080;
    PortB_on = 0;  // loads draw nothing unless a test asks for Port B mode
  }
  // The scan of the golden files, as a Port B scan leaves it in memory.
  void StoreGoldenScanB() {
    scan_stamp = "Dec 10, 2025  14:05:09";
    plot_at_zero = 0;
    scan_npoints = scanB_npoints = Numscanpts = 3;
    start_freq = 10;
    end_freq = 11;
    delta_freq = 0.5;
    scanB_limits = {10, 11, 0.5};
    graph_start = 9.5;
    graph_end = 11.5;
    swr_scale = 10;
    zmag_scale = 500;
    phase_scale = 90;
    s21gain_scale = -80;
    s11gain_scale = -60;
    rtloss_scale = 40;
    delay_scale = 100;
    Q_scale = 200;
    spare_scale_1 = spare_scale_2 = 0;
    ruler_1 = -3;
    ruler1_on = 1;
    ruler_2 = -20;
    ruler2_on = 0;
    PortB_Gain = 2;
    PortB_Sens = 1;
    grid_units_per_div = 27.5;
    freq_per_div = 0.25;
    PortB_title = "Filter test";
    const double f[] = {10, 10.5, 11, 11.5}, s[] = {-3, -6.25, -40, 0}, p[] = {0.5, -0.25, 1, 0};
    const double rl[] = {-20, -15.5, -30, 0}, rp[] = {-1, 0, 0.5, 0}, d[] = {0, 150, 200, 0};
    for (int i = 0; i < 4; ++i) {
      scanB_freq[i] = f[i];
      s21_dB[i] = s[i];
      scanB_phase[i] = p[i];
      scanB_s11rl[i] = rl[i];
      scanB_s11phase[i] = rp[i];
      delay_B[i] = d[i];
    }
    Zref = scanhdr_zref = 50;
    scanhdr_z0imag = 0;
    VF = 0.66;
    cable_length = 12.5;
    scanhdr_avg = 16;
    scanhdr_smooth = 0;
    scanhdr_extra = 0;
    s21phase_scale = 180;
    scanb_ok = 1;
  }
  void SaveBAs(const std::string& name) {
    testhook::QueueFileAnswer(dir / name);
    save_mode = 0;
    SaveScanB();
  }
  void LoadBFrom(const std::string& path) {
    testhook::QueueFileAnswer(path);
    save_mode = 0;
    LoadScanB();
  }
};

// The golden file with some of its lines replaced (1-based).
std::string EditedB(std::vector<std::pair<int, std::string>> lines) {
  std::vector<std::string> l = CrLfLines(GoldenFile("port_b.scnb"));
  for (auto& [n, text] : lines) l[n - 1] = text;
  std::string out;
  for (const std::string& s : l) out += s + "\r\n";
  return out;
}

TEST_F(ScanFileB, DialogSaveWritesTheGoldenFileAndCompanion) {
  StoreGoldenScanB();
  SaveBAs("filter.scnb");
  EXPECT_EQ(dir.Read("filter.scnb"), GoldenFile("port_b.scnb"));
  std::vector<std::string> csv = CrLfLines(dir.Read("filter_B.csv"));
  const std::vector<std::string> want = CrLfLines(GoldenFile("port_b_B.csv"));
  ASSERT_EQ(csv.size(), want.size());
  EXPECT_TRUE(
      std::regex_match(csv[0], std::regex("Created: \\d\\d-\\d\\d-\\d{4}  \\d\\d:\\d\\d:\\d\\d")))
      << csv[0];
  csv[0] = want[0];
  EXPECT_EQ(csv, want);
  EXPECT_EQ(save_mode, 0);
  EXPECT_EQ(number_decimals, 3);
  const auto& d = testhook::FileDialogs().back();
  EXPECT_EQ(d.title, " Save Port B Scan File");
  EXPECT_EQ(d.ext, "scnb");
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

// The trailer holds what was in force when the scan ran, whatever the
// settings have become since.
TEST_F(ScanFileB, TheFileRecordsTheScansOwnSettings) {
  StoreGoldenScanB();
  ChangeSettingsSinceTheScan();
  SaveBAs("later.scnb");
  EXPECT_EQ(dir.Read("later.scnb"), GoldenFile("port_b.scnb"));
}

TEST_F(ScanFileB, AutomaticAndExitSavesWriteTheCompanionToo) {
  StoreGoldenScanB();
  save_mode = 10;
  msg_text = "0";
  SaveScanB();
  save_mode = 1;
  SaveScanB();
  EXPECT_EQ(dir.Read("ZiviRURGraphB0.scnb"), GoldenFile("port_b.scnb"));
  EXPECT_EQ(dir.Read("ZiviRURGraphB.scnb"), GoldenFile("port_b.scnb"));
  EXPECT_TRUE(std::filesystem::exists(dir / "ZiviRURGraphB0_B.csv"));
  EXPECT_TRUE(std::filesystem::exists(dir / "ZiviRURGraphB_B.csv"));
  EXPECT_EQ(save_mode, 0);
}

TEST_F(ScanFileB, LoadInPortAModeSetsEverythingAndDrawsNothing) {
  const std::string path = dir.Write("in.scnb", GoldenFile("port_b.scnb"));
  for (int i = 0; i < 5; ++i) scanA_swr[i] = scanA_zmag[i] = scanA_phase[i] = 2;
  scana_ok = 1;
  start_freq = 1;
  end_freq = 2;
  s21phase_scale = 50;
  LoadBFrom(path);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(Numscanpts, 3);
  const double f[] = {10, 10.5, 11, 11.5}, s[] = {-3, -6.25, -40, 0}, p[] = {0.5, -0.25, 1, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(scanB_freq[i], f[i]);
    EXPECT_DOUBLE_EQ(s21_dB[i], s[i]);
    EXPECT_NEAR(scanB_phase[i], p[i], 1e-12);
  }
  EXPECT_NEAR(scanB_s11phase[0], -1, 1e-12);
  EXPECT_EQ(scan_stamp, "Dec 10, 2025  14:05:09");  // the stamp does not grow
  EXPECT_EQ(PortB_title, "Filter test");
  EXPECT_EQ(PortB_Gain, 2);
  EXPECT_EQ(ruler_2, -20);
  EXPECT_EQ(delay_scale, 100);
  EXPECT_EQ(average, 16);
  EXPECT_EQ(s21phase_scale, 180);
  EXPECT_EQ(scanb_ok, 1);
  EXPECT_EQ(scan_comment, "File: in.scnb             ");
  // Other limits: the Port A scan is cleared and no longer counts.
  EXPECT_EQ(scanA_swr[4], 0);
  EXPECT_EQ(scana_ok, 0);
  EXPECT_EQ(testhook::FileDialogs().back().title, " Load Port B Scan File");
}

TEST_F(ScanFileB, SaveLoadSaveGivesTheSameFileAndTheReplayKeepsThePoints) {
  StoreGoldenScanB();
  SaveBAs("first.scnb");
  test::ClearScanArrays();
  PortB_on = 1;    // the load replays the points through the Port B scan
  vna_status = 7;  // an earlier failure does not stop the replay
  LoadBFrom(dir / "first.scnb");
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(scan_npoints, 3);
  EXPECT_EQ(live_data, 1);
  EXPECT_NEAR(s21_dB[2], -40, 1e-9);
  SaveBAs("second.scnb");
  // The replay draws a fresh frequency grid: the graph edges (lines 7, 8),
  // the grid division (25) and MHz per division (28) follow the limits.
  std::vector<std::string> first = CrLfLines(dir.Read("first.scnb"));
  std::vector<std::string> second = CrLfLines(dir.Read("second.scnb"));
  ASSERT_EQ(first.size(), second.size());
  for (int line : {7, 8, 25, 28}) first[line - 1] = second[line - 1];
  EXPECT_EQ(second, first);
}

TEST_F(ScanFileB, OldFormatIsLoadedAfterAWarning) {
  std::vector<std::string> l = CrLfLines(GoldenFile("port_b.scnb"));
  l[1] = " 4070 ";
  for (int r = 3; r >= 0; --r) l.erase(l.begin() + 29 + 5 * r);  // the frequency lines
  l.pop_back();                                                  // no phase scale line
  std::string text;
  for (const std::string& s : l) text += s + "\r\n";
  s21phase_scale = 33;
  LoadBFrom(dir.Write("old.scnb", text));
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port B - Warning: Invalid File Format");
  EXPECT_EQ(
      testhook::MsgBoxes()[0].text,
      "This file for Port B is not in the latest format.\rIt may not have the latest features.");
  EXPECT_EQ(vna_status, 0);
  EXPECT_DOUBLE_EQ(scanB_freq[1], 10.5);  // start + i x step
  EXPECT_DOUBLE_EQ(s21_dB[2], -40);
  EXPECT_EQ(s21phase_scale, 33);
}

TEST_F(ScanFileB, PhaseScaleOutsideItsRangeBecomes200) {
  for (const char* t10 : {" 0.5", " 500"}) {
    LoadBFrom(dir.Write("scale.scnb", EditedB({{59, t10}})));
    EXPECT_EQ(s21phase_scale, 200) << t10;
  }
  LoadBFrom(dir.Write("scale.scnb", EditedB({{59, " -45"}})));
  EXPECT_EQ(s21phase_scale, 45);
}

// Trailer values outside their ranges (a damaged or foreign file) are
// replaced before they reach the settings; values inside stay, edges too.
TEST_F(ScanFileB, TrailerValuesOutsideTheirRangesAreReplaced) {
  struct Case {
    int line;
    const char* text;
    double* setting;
    double want;
  };
  const Case cases[] = {
      {50, " 0.5", &Zref, 50},   {50, " 10000.5", &Zref, 50},  {50, " -75", &Zref, 50},
      {50, " 1", &Zref, 1},      {50, " 10000", &Zref, 10000}, {50, " 75", &Zref, 75},
      {50, " 0.5", &Z0real, 50}, {50, " 75", &Z0real, 75},     {51, " 10.5", &Z0imag, 0},
      {51, " -12", &Z0imag, 0},  {51, " -10", &Z0imag, -10},   {51, " 3", &Z0imag, 3},
      {53, " 0.49", &VF, 0.66},  {53, " 1.2", &VF, 1},         {53, " 0.5", &VF, 0.5},
      {53, " 0.8", &VF, 0.8},
  };
  for (const Case& c : cases) {
    Zref = Z0real = 300;
    Z0imag = VF = 7;
    LoadBFrom(dir.Write("trailer.scnb", EditedB({{c.line, c.text}})));
    EXPECT_EQ(vna_status, 0) << "line " << c.line << ":" << c.text;
    EXPECT_DOUBLE_EQ(*c.setting, c.want) << "line " << c.line << ":" << c.text;
  }
}

TEST_F(ScanFileB, LoadedLimitsAreMadeValid) {
  struct Case {
    std::string start, end, step;
    double want_start, want_end, want_step;
  };
  const Case cases[] = {
      {" 0.001", " 11", " 0.5", 1, 11, 0.5},
      {" 10", " 11", " 0", 1, 2, 0.1},
      {" 20", " 11", " 0.5", 1, 2, 0.02},
      {" 10", " 1500", " 0.5", 1, 2, 0.5},
  };
  maximumfreq = 1200;
  for (const Case& c : cases) {
    LoadBFrom(dir.Write("limits.scnb", EditedB({{4, c.start}, {5, c.end}, {6, c.step}})));
    EXPECT_DOUBLE_EQ(start_freq, c.want_start) << c.start << c.end << c.step;
    EXPECT_DOUBLE_EQ(end_freq, c.want_end) << c.start << c.end << c.step;
    EXPECT_DOUBLE_EQ(delta_freq, c.want_step) << c.start << c.end << c.step;
  }
}

TEST_F(ScanFileB, DamagedFilesAreRefusedWholeWithAMessage) {
  const std::string golden = GoldenFile("port_b.scnb");
  std::string binary;
  for (int i = 0; i < 600; ++i) binary += static_cast<char>((i * 37) % 256);
  std::string nul_title = EditedB({{29, std::string("Fil\0ter", 7)}});
  struct Damage {
    const char* what;
    std::string bytes;
    int status;
  };
  const Damage cases[] = {
      {"truncated in the points", golden.substr(0, golden.find(" 57.30000000")), 78331},
      {"truncated in the trailer", golden.substr(0, golden.find("Zelmar")), 78331},
      {"more points than announced", EditedB({{3, " 2"}}), 78331},
      {"a huge point count", EditedB({{3, " 40000"}}), 7232},
      {"no points", EditedB({{3, " 0"}}), 7232},
      {"gain step 0", EditedB({{23, " 0"}}), 7234},
      {"gain step 6", EditedB({{23, " 6"}}), 7234},
      {"sensitivity 3", EditedB({{24, " 3"}}), 7234},
      {"binary", binary, 7233},
      {"a control character in the title", nul_title, 7233},
      // A line without its number would read as 0; a frequency no point
      // can have would be drawn.
      {"a word for S21", EditedB({{31, " minus three"}}), 7235},
      {"an empty header line", EditedB({{9, ""}}), 7235},
      {"a trailer line of words", EditedB({{52, " none"}}), 7235},
      {"a number beyond a double", EditedB({{33, " -2e999"}}), 7235},
      {"frequencies running backwards", EditedB({{35, " 9"}}), 7235},
      {"a frequency of 1e250", EditedB({{40, " 1e250"}}), 7235},
      {"a frequency above every model", EditedB({{40, " 5000"}}), 7235},
      {"the record after the points at 1e250", EditedB({{45, " 1e250"}}), 7235},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    StoreGoldenScanB();
    for (int i = 0; i < 3; ++i) s21_dB[i] = 7 + i;  // not what any file holds
    scan_comment = "kept";
    const SnapshotB before = SnapshotB::Take();
    testhook::ClearLogs();
    vna_status = 0;
    LoadBFrom(dir.Write("bad.scnb", c.bytes));
    ASSERT_GE(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes().back().caption, "Port B - Invalid Scan File");
    EXPECT_NE(testhook::MsgBoxes().back().text.find("The scan on the graph was kept."),
              std::string::npos);
    EXPECT_EQ(vna_status, c.status);
    EXPECT_TRUE(SnapshotB::Take() == before);
  }
}

// The record after the measured points holds whatever frequency the list
// had there (a longer earlier scan's): it need not rise. Exponents read as
// written.
TEST_F(ScanFileB, TheRecordAfterThePointsAndExponentsLoad) {
  LoadBFrom(dir.Write("after.scnb", EditedB({{45, " 3"}, {31, " -3E0"}, {36, " -1.5e+1"}})));
  EXPECT_EQ(vna_status, 0);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(scanB_freq[3], 3);
  EXPECT_EQ(s21_dB[0], -3);
  EXPECT_EQ(s21_dB[1], -15);
  testhook::ClearLogs();
  const std::string path = dir.Write("back.scnb", EditedB({{35, " 9"}}));
  LoadBFrom(path);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port B - Invalid Scan File");
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "The file named: " + path +
                "\rholds frequencies that run backwards: a point below the one before it on "
                "line 35.\rThe scan on the graph was kept.");
}

TEST_F(ScanFileB, InvalidLimitsAreRefusedBeforeTheName) {
  StoreGoldenScanB();
  scanB_limits.step = 0;  // the stored scan's own step
  SaveScanB();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Invalid Limits  3");
  EXPECT_TRUE(testhook::FileDialogs().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST_F(ScanFileB, NoInfiniteValueReachesTheFiles) {
  StoreGoldenScanB();
  s21_dB[1] = -INFINITY;
  scanB_phase[2] = NAN;
  delay_B[1] = INFINITY;
  SaveBAs("inf.scnb");
  for (const char* name : {"inf.scnb", "inf_B.csv"}) {
    const std::string text = dir.Read(name);
    EXPECT_EQ(text.find("inf"), std::string::npos) << name;
    EXPECT_EQ(text.find("nan"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace vna
