// The TDR file: the written lines against a file checked by hand, the
// dialogs and names, a round trip, the values a reader snaps or keeps, and
// the files it refuses without changing anything.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "files/tdr_file.h"
#include "graph/cursor_readout.h"
#include "platform/paths.h"
#include "support/file_lines.h"
#include "tdr/tdr_fixture.h"

namespace vna::test {
namespace {

constexpr const char* kAutoSave = "last_VNATDR_file.tdr";

std::string DataFile(const std::string& name) {
  return std::string(VNA_SOURCE_DIR) + "/tests/tdr/data/" + name;
}
std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
std::vector<std::string> Lines(const std::string& bytes) {
  return testing::SplitCrLf(bytes);
}
std::string Join(const std::vector<std::string>& lines) {
  return testing::JoinCrLf(lines);
}

// Everything a TDR file may change.
struct TdrState {
  std::string stamp, title, graph_title;
  int points, trace_points, avg, linear_z, lines, overlay;
  double delf, dxscale, zmax, range, zo, vf, feet;
  std::vector<double> response;
  std::string auto_save;

  static TdrState Take() {
    return {scan_stamp,
            tdr_title,
            tdr_graph_title,
            Numpts,
            tdr_trace_points,
            vna::average,
            tdr_linear_z,
            tdr_lines,
            tdr_overlay,
            Tdr_delf,
            DXscale,
            tdr_zmax,
            tdr_range_factor,
            tdr_zo,
            VF,
            tdr_feet_per_index,
            std::vector<double>(std::begin(tdr_response), std::end(tdr_response)),
            ReadBytes(kAutoSave)};
  }
  bool operator==(const TdrState&) const = default;
};

class TdrFileTest : public TdrTest {
 protected:
  void SetUp() override {
    TdrTest::SetUp();
    tdr_mode = 1;
    SetStoredTrace();
  }
  void TearDown() override {
    tdr_mode = 0;
    TdrTest::TearDown();
  }

  // The trace of the file checked by hand (data/n256.tdr).
  static void SetStoredTrace() {
    scan_stamp = "Mar 7, 2021  09:15:00";
    scan_format_A = 130;
    tdr_graph_title = "Feed line to the mast";
    cal_file_name = "std_7306.vcal";
    Numpts = 256;
    tdr_trace_points = 256;
    Tdr_delf = 1.25;
    DXscale = 100;
    tdr_zmax = 200;
    tdr_range_factor = 0.6;
    average = 1;
    tdr_zo = 50;
    tdr_linear_z = 1;
    tdr_lines = 1;
    VF = 0.66;
    metric = 0;
    tdr_overlay = 2;
    tdr_feet_per_index = 1.056;
    freq_per_div = 2;
    plot_swrA = 1;
    std::fill(std::begin(tdr_response), std::end(tdr_response), 0.0);
    for (int i = 1; i < 128; ++i) tdr_response[i] = ((i % 9) - 4) / 32.0;
    tdr_response[1] = 1 / 3.0;
  }
  // The hand-checked file with some lines replaced (line number from 1).
  std::string Variant(std::vector<std::pair<int, std::string>> changes, int keep_lines = -1,
                      const std::string& name = "variant.tdr") {
    std::vector<std::string> lines = Lines(ReadBytes(DataFile("n256.tdr")));
    for (const auto& [n, text] : changes) lines[n - 1] = text;
    if (keep_lines >= 0) lines.resize(keep_lines);
    return dir.Write(name, Join(lines));
  }
  static void Load(const std::string& path) {
    file_name = path;
    LoadTDR(1);
  }
};

TEST_F(TdrFileTest, WritesTheFileCheckedByHand) {
  file_name = dir / "golden";
  SetDigits(5);
  SaveTDR(1);
  EXPECT_EQ(file_name, dir / "golden.tdr");
  const std::string got = dir.Read("golden.tdr");
  EXPECT_EQ(Lines(got).size(), 285u);  // 28 header lines, responses 0..256
  EXPECT_EQ(Lines(got), Lines(ReadBytes(DataFile("n256.tdr"))));
  EXPECT_EQ(got, ReadBytes(DataFile("n256.tdr")));  // CR LF line ends included
  EXPECT_EQ(Lines(got)[1], " 130");
  EXPECT_EQ(number_decimals, 3);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(tdr_graph_title, "Feed line to the mast");  // an auto-save keeps the title
}

// The writer never writes a file its reader refuses: a value that is not
// finite is written as 0.
TEST_F(TdrFileTest, NoInfiniteValueReachesTheFile) {
  tdr_response[3] = INFINITY;
  tdr_zo = -INFINITY;
  file_name = dir / "inf.tdr";
  SaveTDR(1);
  const std::vector<std::string> lines = Lines(dir.Read("inf.tdr"));
  EXPECT_EQ(lines[28 + 3], " 0");
  EXPECT_EQ(lines[10], " 0");
  testhook::ClearLogs();
  Load(dir / "inf.tdr");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(tdr_response[3], 0);
}

TEST_F(TdrFileTest, SaveDialogNamesAndTitle) {
  // Cancel writes nothing.
  testhook::QueueFileAnswer("");
  SaveTDR(0);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  const auto& d = testhook::FileDialogs()[0];
  EXPECT_EQ(d.title, " Save TDR File");
  EXPECT_EQ(d.filter, "TDR Files(*.tdr)|*.tdr||");
  EXPECT_EQ(d.ext, "tdr");
  EXPECT_TRUE(d.save);
  EXPECT_EQ(d.start_folder, ProgramFolder());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  // A title of one character takes the file's name; .TDR gets no second
  // extension, another name gets .tdr.
  tdr_graph_title = "x";
  testhook::QueueFileAnswer(dir / "Mast.TDR");
  SaveTDR(0);
  EXPECT_EQ(tdr_graph_title, "Mast.TDR");
  EXPECT_EQ(Lines(dir.Read("Mast.TDR"))[2], "Mast.TDR");
  testhook::QueueFileAnswer(dir / "mast2.txt");
  SaveTDR(0);
  EXPECT_EQ(tdr_graph_title, "Mast.TDR");
  EXPECT_TRUE(std::filesystem::exists(dir / "mast2.txt.tdr"));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(TdrFileTest, FailedWritesAreReported) {
  // A read-only folder: the file cannot be created.
  std::filesystem::create_directory(dir / "ro");
  chmod((dir / "ro").c_str(), 0555);
  file_name = dir / "ro/a.tdr";
  SaveTDR(1);
  chmod((dir / "ro").c_str(), 0755);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(Boxes()[0].starts_with("|The file named: " + dir / "ro/a.tdr" + "  \ris a Read-Only"))
      << Boxes()[0];
  EXPECT_FALSE(std::filesystem::exists(dir / "ro/a.tdr"));

  // A disk that fills up while the file is written: the old file stays and
  // the user is told, although reopening it would succeed.
  const std::string old_bytes = "old TDR file\r\n";
  dir.Write("full.tdr", old_bytes);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  testhook::ClearLogs();
  file_name = dir / "full.tdr";
  SaveTDR(1);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "File Error|The file was not saved.\rBe sure the storage medium is not "
                         "set for Read-Only.\rAlso, be sure the disk is not full."});
  EXPECT_EQ(dir.Read("full.tdr"), old_bytes);
}

// Feet per sample as a sweep of this program leaves them: half the speed of
// light on the line, 491.78 VF feet per microsecond, times the time of one
// sample, 1 / (n delf) microseconds.
double FeetPerSample(double vf, double delf, int n) {
  return 299.792458 / 0.3048 / 2 * vf / (delf * n);
}

TEST_F(TdrFileTest, RoundTripDrawsTheTraceAndRewritesTheAutoSave) {
  tdr_feet_per_index = 1.0143;  // of a 1.25 MHz sweep of 256 points at VF 0.66
  file_name = dir / "trip.tdr";
  SaveTDR(1);
  const TdrState saved = TdrState::Take();
  // Everything else is changed before the load.
  scan_stamp = tdr_title = tdr_graph_title = "";
  Tdr_delf = DXscale = tdr_zmax = tdr_range_factor = tdr_zo = VF = tdr_feet_per_index = 0;
  average = tdr_linear_z = tdr_overlay = tdr_trace_points = 0;
  std::fill(std::begin(tdr_response), std::end(tdr_response), 9.0);
  bandscan_mode = 1;
  FillWindow(main_win, White);
  testhook::QueueFileAnswer(dir / "trip.tdr");
  LoadTDR(0);
  const auto& d = testhook::FileDialogs().back();
  EXPECT_EQ(d.title, " Load TDR Scan File");
  EXPECT_EQ(d.filter, "TDR Scan Files(*.tdr)|*.tdr||");
  EXPECT_FALSE(d.save);

  EXPECT_EQ(scan_stamp, saved.stamp);
  EXPECT_EQ(tdr_graph_title, "Feed line to the mast");
  EXPECT_EQ(tdr_title, "Feed line to the mast");
  EXPECT_EQ(tdr_trace_points, 256);
  EXPECT_EQ(Tdr_delf, 1.25);
  EXPECT_EQ(DXscale, 100);
  EXPECT_EQ(tdr_zmax, 200);
  EXPECT_DOUBLE_EQ(tdr_range_factor, 0.6);
  EXPECT_EQ(average, 1);
  EXPECT_EQ(tdr_zo, 50);
  EXPECT_EQ(tdr_linear_z, 1);
  EXPECT_DOUBLE_EQ(VF, 0.66);
  EXPECT_DOUBLE_EQ(tdr_feet_per_index, 1.0143);
  for (int i = 0; i <= 256; ++i) EXPECT_NEAR(tdr_response[i], saved.response[i], 1e-8) << i;
  EXPECT_EQ(tdr_response[257], 0);
  EXPECT_EQ(bandscan_mode, 0);
  EXPECT_EQ(number_decimals, 3);
  // Drawn over a new frame in the first colour, the stamp above the box.
  EXPECT_TRUE(Printed("TDR Mode"));
  EXPECT_TRUE(PrintedAt(10, line2_y - 10, "Mar 7, 2021  09:15:00   "));
  // Sample 50: (50 % 9 - 4) / 32 = 1/32, 53.2 ohm, 8 ohm above the 50 ohm
  // row (y 415) at 2.5 pixels per ohm; x = 60 + 8 (1.0143 x 51 - 10), the
  // axis drawing 100 ft over 800 pixels.
  EXPECT_EQ(tdr_trace_table[50][0], Rnd(60 + 8 * (1.0143 * 51 - 10)));
  EXPECT_NEAR(tdr_trace_table[50][1], 50 * (1 + 1 / 32.0) / (1 - 1 / 32.0), 1e-6);
  EXPECT_EQ(Pixel(Rnd(tdr_trace_table[50][0]), 407), tdr_colors[1]);
  EXPECT_EQ(tdr_overlay, 2);
  // The auto-save file now holds the loaded trace.
  EXPECT_EQ(Lines(ReadBytes(kAutoSave)), Lines(dir.Read("trip.tdr")));
  SavePng("tdr_file_loaded");
}

TEST_F(TdrFileTest, AStoredTraceKeepsItsOwnPointsAndFeetPerSample) {
  // 512 points at 0.6 ft per sample, loaded while the settings say 256 at
  // 1.0143: all 255 samples are drawn, each where the file puts it.
  std::vector<std::pair<int, std::string>> changes = {{5, " 512"}, {17, " 0.60000000"}};
  std::vector<std::string> lines = Lines(ReadBytes(DataFile("n256.tdr")));
  lines.resize(28);
  for (int i = 0; i <= 512; ++i) lines.push_back(i >= 1 && i < 256 ? " 0.2" : " 0");
  for (const auto& [n, text] : changes) lines[n - 1] = text;
  const std::string path = dir.Write("n512.tdr", Join(lines));
  tdr_high_res = 0;
  for (auto& e : tdr_trace_table) e[0] = e[1] = -7;
  Load(path);
  EXPECT_EQ(tdr_trace_points, 512);
  EXPECT_EQ(tdr_trace_table[255][0], Rnd(60 + 8 * (0.6 * 256 - 10)));
  EXPECT_EQ(tdr_trace_table[256][0], -7);
  EXPECT_EQ(Numpts, 256);  // the plan follows the settings again
  EXPECT_NEAR(FeetPerNdx, FeetPerSample(0.66, 1.25, 256), 1e-5);
  // The auto-save keeps the file's point count.
  EXPECT_EQ(Lines(ReadBytes(kAutoSave)).size(), 28u + 513u);
  EXPECT_EQ(Lines(ReadBytes(kAutoSave))[4], " 512");
}

// The cursor reads a stored trace by its own samples and feet per sample: a
// 512-point trace loaded while the settings say 256 reads, past its 127th
// sample, the impedance the trace has there (not sample 127's), and its own
// resolution.
TEST_F(TdrFileTest, TheCursorReadsAStoredTraceByItsOwnSamples) {
  std::vector<std::string> lines = Lines(ReadBytes(DataFile("n256.tdr")));
  lines.resize(28);
  // rho 0.2 (75 ohms) to sample 139, -0.2 (33.3 ohms) from sample 140.
  for (int i = 0; i <= 512; ++i) {
    lines.push_back(i >= 1 && i < 140 ? " 0.2" : i >= 140 && i < 256 ? "-0.2" : " 0");
  }
  for (const auto& [n, text] :
       std::vector<std::pair<int, std::string>>{{5, " 512"}, {17, " 0.60000000"}}) {
    lines[n - 1] = text;
  }
  tdr_high_res = 0;
  Load(dir.Write("steps512.tdr", Join(lines)));
  ASSERT_EQ(tdr_trace_points, 512);
  ASSERT_EQ(Numpts, 256);
  // The readout stands over the drawn trace (its gate is the last scan's).
  // Sample 160 lies at x = 60 + 8 (0.6 x 161 - 10) = 753.
  scanloop = 1;
  last_x_px = graph_right;
  const int x = Rnd(tdr_trace_table[160][0]);
  ASSERT_EQ(x, 753);
  ASSERT_LT(x, graph_right);
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(x, (graph_top + graph_bottom) / 2);
  EXPECT_NEAR(cursor_zline, 50 * 0.8 / 1.2, 0.01);
  bool resolution = false;
  for (const auto& p : Prints()) {
    if (p.text.rfind("Resolution =", 0) != 0) continue;
    resolution = true;
    EXPECT_EQ(p.text, "Resolution =  0.30 ft     ");
  }
  EXPECT_TRUE(resolution);
  SavePng("tdr_readout_stored_512");
}

// Files written before the distance axis was mended hold 512 VF / (n delf)
// feet per sample (n256.tdr: 1.056), 4 % more than the line's: they load
// with the line's own, so their reflections stand where the axis says. Any
// other value is the file's and is kept.
TEST_F(TdrFileTest, FilesOfTheOldAxisLoadWithTheLinesFeetPerSample) {
  struct Case {
    std::vector<std::pair<int, std::string>> changes;
    double feet;
  };
  const Case cases[] = {
      {{}, FeetPerSample(0.66, 1.25, 256)},
      // 512 points at VF 0.8: 512 x 0.8 / 640.
      {{{5, " 512"}, {14, " 0.80000000"}, {17, " 0.64000000"}}, FeetPerSample(0.8, 1.25, 512)},
      {{{17, " 1.07000000"}}, 1.07},
      {{{17, " 1.01430000"}}, 1.0143},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = Lines(ReadBytes(DataFile("n256.tdr")));
    for (const auto& [n, text] : c.changes) lines[n - 1] = text;
    const int n = std::stoi(lines[4]);
    lines.resize(28);
    for (int i = 0; i <= n; ++i) lines.push_back(" 0");
    Load(dir.Write("old.tdr", Join(lines)));
    SCOPED_TRACE(lines[16]);
    EXPECT_NEAR(tdr_feet_per_index, c.feet, 1e-5 * c.feet);
    EXPECT_EQ(tdr_trace_table[100][0], Rnd(60 + 8 * (c.feet * 101 - 10)));
  }
}

TEST_F(TdrFileTest, ValuesTheReaderSnapsOrKeeps) {
  struct Case {
    int line;
    std::string text;
    double TdrState::*field;
    double want;
  };
  const Case cases[] = {
      {9, " -3", &TdrState::range, 1},      {9, " 0.25", &TdrState::range, 0.25},
      {14, " 0.3", &TdrState::vf, 0.66},    {14, " 1.2", &TdrState::vf, 1},
      {14, " 0.5", &TdrState::vf, 0.5},     {7, " 0", &TdrState::dxscale, 5},
      {7, " 120", &TdrState::dxscale, 200}, {8, " 30", &TdrState::zmax, 70},
      {8, " 50", &TdrState::zmax, 70},      {8, " 5000", &TdrState::zmax, 1000},
      {11, " 0", &TdrState::zo, 50},        {11, " -75", &TdrState::zo, 50},
      {11, " 75", &TdrState::zo, 75},       {17, " 1000", &TdrState::feet, 1000},
      {17, " 0.01", &TdrState::feet, 0.01}, {9, " -0.001", &TdrState::range, -0.001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ":" + c.text);
    SetStoredTrace();
    Load(Variant({{c.line, c.text}}));
    EXPECT_DOUBLE_EQ(TdrState::Take().*c.field, c.want);
    EXPECT_TRUE(Boxes().empty());
  }
  // Line 13 is not read back: the line/dot choice stays; line 2 is checked
  // for holding a number only, line 4 (a text) not at all.
  tdr_lines = 1;
  Load(Variant({{13, " 0"}, {2, " 99"}, {4, ""}}));
  EXPECT_EQ(tdr_lines, 1);
  EXPECT_EQ(tdr_trace_points, 256);
}

TEST_F(TdrFileTest, RefusedFilesChangeNothing) {
  // The auto-save file holds an earlier trace.
  file_name = kAutoSave;
  SaveTDR(1);
  std::string binary;
  for (int i = 0; i < 4000; ++i) binary += static_cast<char>((i * 7919 + 13) % 256);
  struct Case {
    const char* name;
    std::string path;
    std::string why;
  };
  const std::string full = ReadBytes(DataFile("n256.tdr"));
  const std::string kRhoScale = "Its rho full scale (line 9) is too near 0 to draw a trace with.";
  const std::string kFeet = "Its feet per sample (line 17) must be 0.01 to 1000.";
  const std::string kAveraging = "Its averaging (line 10) must be 0 to 256.";
  const std::string kStep = "Its frequency step (line 6) is no frequency an instrument measures.";
  const Case cases[] = {
      {"N 5000", Variant({{5, " 5000"}}, -1, "a.tdr"), "Its point count (line 5) is 5000"},
      {"N 3", Variant({{5, " 3"}}, -1, "b.tdr"), "Its point count (line 5) is 3"},
      {"N 2100", Variant({{5, " 2100"}}, -1, "c.tdr"), "Its point count (line 5) is 2100"},
      {"last response line missing", Variant({}, 284, "d.tdr"),
       "It ends after line 284; 256 points need 285"},
      {"header only", Variant({}, 20, "e.tdr"), "It ends after line 20, before its point count."},
      {"empty", dir.Write("empty.tdr", ""), "It ends after line 0"},
      {"binary", dir.Write("binary.tdr", binary), ""},
      {"scan file", dir.Write("scan.tdr", "a scan\r\n 4177\r\n"), "It ends after line 2"},
      // Values no trace can be drawn with: an infinite rho scale, samples
      // that all lie before the distance axis or beyond any scale, an
      // averaging no instrument has.
      {"rho scale 0", Variant({{9, " 0"}}, -1, "f.tdr"), kRhoScale},
      {"rho scale 1e-7", Variant({{9, " 0.0000001"}}, -1, "g.tdr"), kRhoScale},
      {"feet per sample 0", Variant({{17, " 0"}}, -1, "h.tdr"), kFeet},
      {"feet per sample -1.5", Variant({{17, " -1.5"}}, -1, "i.tdr"), kFeet},
      {"feet per sample 1e250", Variant({{17, " 1" + std::string(250, '0')}}, -1, "j.tdr"), kFeet},
      {"feet per sample 0.005", Variant({{17, " 0.005"}}, -1, "k.tdr"), kFeet},
      {"averaging 99999", Variant({{10, " 99999"}}, -1, "l.tdr"), kAveraging},
      {"averaging -1", Variant({{10, " -1"}}, -1, "m.tdr"), kAveraging},
      // A line without its number would read as 0; a line too many moves
      // every value after it.
      {"a word for a response", Variant({{100, " spike"}}, -1, "n.tdr"),
       "Line 100 holds no number, where one belongs."},
      {"a word on a line not read back", Variant({{13, "dots"}}, -1, "o.tdr"),
       "Line 13 holds no number, where one belongs."},
      {"no format number", Variant({{2, "anything"}}, -1, "p.tdr"),
       "Line 2 holds no number, where one belongs."},
      {"a response beyond a double", Variant({{285, " 1e999"}}, -1, "q.tdr"),
       "Line 285 holds no number, where one belongs."},
      {"a line inserted among the responses",
       [&] {
         std::vector<std::string> lines = Lines(full);
         lines.insert(lines.begin() + 57, "*** noise ***");
         return dir.Write("r.tdr", Join(lines));
       }(),
       "Line 58 holds no number, where one belongs."},
      // Its frequency step is one of an instrument.
      {"frequency step 1e250", Variant({{6, " 1e250"}}, -1, "s.tdr"), kStep},
      {"frequency step -1.25", Variant({{6, " -1.25"}}, -1, "t.tdr"), kStep},
  };
  SetStoredTrace();
  tdr_response[5] = 0.875;
  FillWindow(main_win, White);
  const TdrState before = TdrState::Take();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testhook::ClearLogs();
    Load(c.path);
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, " TDR File");
    EXPECT_TRUE(testhook::MsgBoxes()[0].text.starts_with(
        "The file " + c.path + " cannot be loaded as a TDR file.\r" + c.why))
        << testhook::MsgBoxes()[0].text;
    EXPECT_TRUE(TdrState::Take() == before);
    EXPECT_FALSE(Printed("TDR Mode"));
  }
  // A missing file, or a cancelled dialog, is ignored silently.
  testhook::ClearLogs();
  Load(dir / "missing.tdr");
  testhook::QueueFileAnswer("");
  LoadTDR(0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(TdrState::Take() == before);
}

}  // namespace
}  // namespace vna::test

namespace vna::test {
namespace {

// The automatic file refused when TDR display loaded it is the user's last
// trace: the program's next write of that file (the exit's, a new trace's)
// keeps it beside the new one, under a name that says why, and the refusal
// says where. A write after that one replaces only the new file.
TEST_F(TdrFileTest, TheAutoSaveFileRefusedAtItsLoadIsKeptBeforeItIsWrittenAgain) {
  std::vector<std::string> lines = Lines(ReadBytes(DataFile("n256.tdr")));
  lines[99] = " spike";
  const std::string damaged = Join(lines);
  dir.Write(kAutoSave, damaged);
  const std::string kept = dir / "last_VNATDR_file.refused.tdr";
  Load(kAutoSave);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_TRUE(testhook::MsgBoxes()[0].text.ends_with(
      "Line 100 holds no number, where one belongs.\rBefore this program writes it again, it is "
      "kept as last_VNATDR_file.refused.tdr."))
      << testhook::MsgBoxes()[0].text;
  EXPECT_FALSE(std::filesystem::exists(kept)) << "kept only when it would be written over";

  file_name = kAutoSave;
  SaveTDR(1);
  EXPECT_EQ(ReadBytes(kept), damaged);
  EXPECT_EQ(Lines(ReadBytes(kAutoSave)), Lines(ReadBytes(DataFile("n256.tdr"))));

  tdr_response[5] = 0.5;
  file_name = kAutoSave;
  SaveTDR(1);
  EXPECT_EQ(ReadBytes(kept), damaged);
  EXPECT_NE(ReadBytes(kAutoSave), ReadBytes(DataFile("n256.tdr")));

  // A file the program does not write itself is refused with no such word.
  dir.Write("other.tdr", damaged);
  testhook::ClearLogs();
  Load(dir / "other.tdr");
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text.find("kept as"), std::string::npos);
}

}  // namespace
}  // namespace vna::test
