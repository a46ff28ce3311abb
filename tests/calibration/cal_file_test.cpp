// The calibration file: the exact text the writer produces (a golden file of
// the two-multiplier model), round trips on both models and for multiplexer
// channel files, the file names, and the writer's refusals.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "calibration/cal_fixture.h"
#include "calibration/cal_file.h"
#include "files/write_errors.h"

namespace vna::test {
namespace {

const std::string kGolden =
    std::string(VNA_SOURCE_DIR) + "/tests/calibration/data/two_multiplier.vcal";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text with its date line (line 5) set aside, and that line checked.
std::vector<std::string> WithoutDate(const std::string& text) {
  std::vector<std::string> lines = SplitCrLf(text);
  EXPECT_GT(lines.size(), 5u);
  if (lines.size() > 4) {
    EXPECT_TRUE(std::regex_match(lines[4], std::regex(R"(\d\d-\d\d-\d{4}  \d\d:\d\d:\d\d)")))
        << lines[4];
    lines[4] = "<date>";
  }
  return lines;
}

void ExpectFilledTables(int n, bool port_b) {
  // What FillCalibration put there, as the file's decimals carry it.
  const CalSnapshot loaded = CalSnapshot::Take();
  FillCalibration(n, port_b);
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    const CalPointA &w = CalDataA[i], &g = loaded.a[i];
    EXPECT_NEAR(g.freq, w.freq, 1e-9);
    EXPECT_NEAR(g.shortR, w.shortR, 1e-9);
    EXPECT_NEAR(g.shortX, w.shortX, 1e-9);
    EXPECT_NEAR(g.openR, w.openR, 1e-9);
    EXPECT_NEAR(g.openX, w.openX, 1e-9);
    EXPECT_NEAR(g.stdR, w.stdR, 1e-9);
    EXPECT_NEAR(g.stdX, w.stdX, 1e-9);
    EXPECT_EQ(g.multstate, w.multstate);
    EXPECT_NEAR(g.gainA, w.gainA, 1e-9);
    EXPECT_EQ(g.osc, w.osc);
    if (!port_b) continue;
    const CalPointB &wb = CalDataB[i], &gb = loaded.b[i];
    EXPECT_NEAR(gb.freq, wb.freq, 1e-9);
    EXPECT_NEAR(gb.ratio_low, wb.ratio_low, 1e-9);
    EXPECT_NEAR(gb.ratio_high, wb.ratio_high, 1e-9);
    EXPECT_NEAR(gb.phase_low, wb.phase_low, 1e-9);
    EXPECT_NEAR(gb.phase_high, wb.phase_high, 1e-9);
    EXPECT_EQ(gb.multstate, wb.multstate);
    EXPECT_NEAR(gb.gainB, wb.gainB, 1e-9);
    EXPECT_EQ(gb.osc, wb.osc);
  }
  EXPECT_EQ(loaded.points, n);
  EXPECT_EQ(loaded.max_a, n - 1);
  EXPECT_EQ(loaded.port_a, 1);
  EXPECT_EQ(loaded.valid, 1);
  EXPECT_EQ(loaded.port_b, port_b ? 1 : 0);
  EXPECT_EQ(loaded.rstd, 50);
  EXPECT_EQ(loaded.comment, "bench cal");
  EXPECT_EQ(loaded.amplitude, 87);
  EXPECT_EQ(loaded.start, 1);
  EXPECT_EQ(loaded.end, n);
  if (port_b) {
    EXPECT_EQ(loaded.max_b, n - 1);
    EXPECT_EQ(loaded.indep, 5);
    EXPECT_NEAR(loaded.rng_gain[2], 4.875, 1e-9);
    EXPECT_NEAR(loaded.rng[4], 6.25 / 57.3, 1e-9);
  }
}

TEST_F(CalFileTest, TwoMultiplierModelWritesTheGoldenText) {
  StartModel("uhf", 1);
  FillCalibration(10, true);
  const std::string text = Save("cal.vcal");
  std::ofstream(std::string(VNA_BINARY_DIR) + "/two_multiplier.vcal", std::ios::binary) << text;
  EXPECT_EQ(WithoutDate(text), WithoutDate(ReadFile(kGolden)));
  EXPECT_EQ(cal_prog_version, "Zelmar_636A");
  EXPECT_EQ(number_decimals, 3);
  EXPECT_TRUE(Boxes().empty());
  // The names point at what was written, ready for the read back.
  EXPECT_EQ(cal_file_path, dir / "cal.vcal");
  EXPECT_EQ(cal_file_name, "cal.vcal");
  EXPECT_EQ(cal_folder, dir.path() + "/");
  EXPECT_EQ(file_name, cal_file_path);
  const auto& dialogs = testhook::FileDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].title, " Save Calibration File");
  EXPECT_EQ(dialogs[0].filter, "Cal Files(*.vcal)|*.vcal||");
  EXPECT_EQ(dialogs[0].ext, "vcal");
  EXPECT_TRUE(dialogs[0].save);
}

TEST_F(CalFileTest, GoldenFileLoadsAndWritesBackTheSameText) {
  StartModel("uhf", 1);
  ASSERT_EQ(Load(kGolden), 0);
  EXPECT_EQ(number_decimals, 3);
  EXPECT_EQ(cal_file_name, "two_multiplier.vcal");
  EXPECT_EQ(cal_prog_version, "Zelmar_636A");
  EXPECT_EQ(cal_date, SplitCrLf(ReadFile(kGolden))[4]);
  EXPECT_EQ(cal_temperature, 76.5);
  const std::string again = Save("again.vcal");
  EXPECT_EQ(WithoutDate(again), WithoutDate(ReadFile(kGolden)));
  ExpectFilledTables(10, true);
}

TEST_F(CalFileTest, SingleDdsModelHasNoModelBlockAndMayHoldNoPortB) {
  StartModel("7306", 1);
  FillCalibration(12, false);
  const std::string text = Save("vhf.vcal");
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_GT(lines.size(), 60u);
  EXPECT_EQ(lines[0], " 16300");
  EXPECT_EQ(lines[1], " 180");
  EXPECT_EQ(lines[2], "VNA_636A");
  EXPECT_EQ(lines[5], "VNA_");
  EXPECT_EQ(lines[17], " 1");
  EXPECT_EQ(lines[18], " 87");  // the amplitude line follows line 18 directly
  EXPECT_EQ(lines[19], " Short Circuit:   index  Freq  R  X  GainA  ");
  EXPECT_EQ(lines[20], "    0    1.000000      0.1250     -2.5000  2459    1.0000    2  short");
  // Port B: count 0, indep_chan, " 0", five gain lines, both headings, no rows.
  const std::vector<std::string> tail(lines.end() - 11, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      " Port B cal data:", " 0", " 0", " 0", "   1   1    0",
                      "   2   4.875000    0.250000", "   3   24.250000    2.500000",
                      "   4   117.500000    6.250000", "   5   487.750000    6.750000",
                      "B Low range   index  freq  ratio  phase", "B High range"}));

  // Loading it leaves the Port B data in memory as it was.
  ClearCalibration();
  for (int k = 1; k <= 5; ++k) RngGain[k] = 1000 + k;
  CalDataB[3].ratio_low = 0.75;
  MaxCalBNdx = 7;
  PortB_cal = 1;
  ASSERT_EQ(Load(dir / "vhf.vcal"), 0);
  EXPECT_EQ(PortB_cal, 0);
  EXPECT_EQ(RngGain[2], 1002);
  EXPECT_EQ(CalDataB[3].ratio_low, 0.75);
  EXPECT_EQ(MaxCalBNdx, 7);
  const double gains[] = {0, 1, 4.875, 24.25, 117.5, 487.75};
  std::copy(gains, gains + 6, RngGain);
  EXPECT_EQ(WithoutDate(Save("vhf2.vcal")), WithoutDate(text));
  ExpectFilledTables(12, false);
}

TEST_F(CalFileTest, MultiplexerChannelFiles) {
  StartModel("uhf", 1);
  FillCalibration(10, true);
  std::filesystem::create_directory(dir / "my.cal");
  mux_chan = 1;
  Save("my.cal/x.vcal");
  EXPECT_FALSE(std::filesystem::exists(dir / "my.cal/x.vcal"));
  ASSERT_TRUE(std::filesystem::exists(dir / "my.cal/x.chan1"));
  EXPECT_EQ(cal_save_name, dir / "my.cal/x.vcal");
  EXPECT_EQ(cal_file_name, "x.chan1");
  EXPECT_EQ(cal_folder, dir / "my.cal/");
  const std::vector<std::string> first = SplitCrLf(dir.Read("my.cal/x.chan1"));
  EXPECT_EQ(first[3], "Instrument: VNA-Zelmar  multiplexer channel 1");

  // The next channels take their name without a dialog.
  mux_chan = 2;
  CalDataA[0].shortR = 7.5;
  SaveCalFile();
  EXPECT_EQ(testhook::FileDialogs().size(), 1u);
  ASSERT_TRUE(std::filesystem::exists(dir / "my.cal/x.chan2"));
  EXPECT_EQ(file_name, dir / "my.cal/x.chan2");

  ClearCalibration();
  ASSERT_EQ(Load(dir / "my.cal/x.chan2"), 0);
  EXPECT_EQ(CalDataA[0].shortR, 7.5);
  EXPECT_EQ(PortB_cal, 1);
  EXPECT_EQ(cal_file_name, "x.chan2");
}

TEST(CalChannelFileNameTest, CutsTheFileNameNotTheFolder) {
  const struct {
    const char* path;
    int chan;
    const char* want;
  } cases[] = {
      {"C:\\cal\\x.vcal", 1, "C:\\cal\\x.chan1"},
      {"C:\\cal\\x.vcal", 4, "C:\\cal\\x.chan4"},
      {"C:\\my.cal\\x.vcal", 1, "C:\\my.cal\\x.chan1"},
      {"/home/u/my.cal/x.vcal", 6, "/home/u/my.cal/x.chan6"},
      {"/home/u/x.y.vcal", 3, "/home/u/x.chan3"},
      {"/home/u/x", 2, "/home/u/x.chan2"},
      {"x.chan1", 5, "x.chan5"},
      {"", 1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CalChannelFileName(c.path, c.chan), c.want) << c.path;
}

TEST_F(CalFileTest, ACancelledSaveWritesNothing) {
  testing::TempDir cwd(true);
  StartModel("uhf", 1);
  FillCalibration(10, true);
  cal_file_path = "/somewhere/old.vcal";
  cal_file_name = "old.vcal";
  cal_folder = "/somewhere/";
  for (int chan : {0, 1, 2}) {
    SCOPED_TRACE(chan);
    mux_chan = chan;
    if (chan < 2) testhook::QueueFileAnswer("");
    SaveCalFile();
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(std::filesystem::is_empty(cwd.path()));
    EXPECT_EQ(cal_file_path, "/somewhere/old.vcal");
    EXPECT_EQ(cal_file_name, "old.vcal");
    EXPECT_EQ(cal_folder, "/somewhere/");
    EXPECT_EQ(file_name, "/somewhere/old.vcal");  // a read back reads the file in force
    EXPECT_TRUE(Boxes().empty());
  }
}

TEST_F(CalFileTest, AReadOnlyFileIsReportedAndKept) {
  StartModel("uhf", 1);
  FillCalibration(10, true);
  const std::string path = dir.Write("locked.vcal", "old contents\r\n");
  chmod(path.c_str(), 0444);
  cal_file_path = "/somewhere/old.vcal";
  cal_file_name = "old.vcal";
  cal_folder = "/somewhere/";
  testhook::QueueMsgBoxAnswer(kIdNo, " Calibration not saved");  // no other name
  Save("locked.vcal");
  EXPECT_EQ(dir.Read("locked.vcal"), "old contents\r\n");
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " Calibration not saved|" + ReadOnlyFileText(dir / "locked.vcal") +
                         "\r\rThe new calibration stays in force, but no file holds it yet."
                         "\rDo you want to save it under another name?"});
  // The calibration in memory is in no file: no name may claim it.
  EXPECT_EQ(cal_unsaved, 1);
  EXPECT_EQ(cal_file_path, "");
  EXPECT_EQ(cal_file_name, "");
  EXPECT_EQ(file_name, "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(CalFileTest, SummaryBox) {
  StartModel("uhf", 1);
  ASSERT_EQ(Load(kGolden, 0), 0);
  EXPECT_TRUE(Boxes().empty());
  ASSERT_EQ(Load(kGolden, 1), 0);
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         " Calibration|Calibration File --- two_multiplier.vcal\r\rRange =  1 to  "
                         "10 MHz\rFreq step "
                         "size = 1 MHz\r\rComment: bench cal\r\rCal resistor used was  50 ohms\r\r"
                         "Zref for analysis =  50 ohms\r\rThis cal file is valid for Port A and "
                         "Port B."});
  // A standard calibration without a comment and without Port B.
  std::vector<std::string> lines = SplitCrLf(ReadFile(kGolden));
  lines[7] = "";
  lines[9] = " 1";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == " Port B cal data:") lines[i + 1] = " 0";
  }
  testhook::ClearLogs();
  ASSERT_EQ(Load(dir.Write("std.vcal", JoinCrLf(lines)), 1), 0);
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{
                " Calibration|Calibration File --- std.vcal\r\rRange =  1 to  10 MHz\rCal resistor "
                "used was  50 ohms\r\rZref for analysis =  50 ohms\r\rThis cal file is "
                "valid for Port A only."});
}

}  // namespace
}  // namespace vna::test
