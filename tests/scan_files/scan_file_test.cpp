// The Port A scan file and its companion: the exact layout, the round trip,
// the names each save mode gives, and every way a file is refused or a save
// fails without losing what was there.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "files/scan_file_a.h"
#include "platform/testhook.h"
#include "scan_files/scan_files_fixture.h"

namespace vna {
namespace {

using test::CrLfLines;
using test::GoldenFile;
using test::ScanSnapshot;

class ScanFileA : public test::ScanFileTest {};

TEST_F(ScanFileA, DialogSaveWritesTheGoldenFileAndCompanion) {
  StoreGoldenScan();
  SaveAs("antenna.scn");
  EXPECT_EQ(dir.Read("antenna.scn"), GoldenFile("port_a.scn"));
  std::vector<std::string> csv = CrLfLines(dir.Read("antenna.csv"));
  std::vector<std::string> want = CrLfLines(GoldenFile("port_a.csv"));
  ASSERT_EQ(csv.size(), want.size());
  EXPECT_TRUE(
      std::regex_match(csv[0], std::regex("Created: \\d\\d-\\d\\d-\\d{4}  \\d\\d:\\d\\d:\\d\\d")))
      << csv[0];
  csv[0] = want[0];
  EXPECT_EQ(csv, want);
  EXPECT_EQ(dir.Read("antenna.csv").substr(dir.Read("antenna.csv").size() - 2), "\r\n");
  EXPECT_EQ(save_mode, 0);
  EXPECT_EQ(number_decimals, 3);
  EXPECT_EQ(scan_file_path, dir / "antenna.scn");
  EXPECT_EQ(scan_folder, dir.path() + "/");
  const auto& d = testhook::FileDialogs().back();
  EXPECT_EQ(d.title, " Save Port A Scan File");
  EXPECT_TRUE(d.save);
  EXPECT_EQ(d.ext, "scn");
}

// The trailer holds what was in force when the scan ran, whatever the
// settings have become since.
TEST_F(ScanFileA, TheFileRecordsTheScansOwnSettings) {
  StoreGoldenScan();
  ChangeSettingsSinceTheScan();
  SaveAs("later.scn");
  EXPECT_EQ(dir.Read("later.scn"), GoldenFile("port_a.scn"));
}

TEST_F(ScanFileA, PlotAtZeroIsMarkedOnTheFormatLine) {
  StoreGoldenScan();
  plot_at_zero = 1;
  SaveAs("zero.scn");
  EXPECT_EQ(CrLfLines(dir.Read("zero.scn"))[1], " 130     plot_at_zero");
}

TEST_F(ScanFileA, AutomaticAndExitSavesNameTheFileAndWriteNoCompanion) {
  StoreGoldenScan();
  save_mode = 10;
  msg_text = "1";
  SaveScanA();
  save_mode = 1;
  SaveScanA();
  EXPECT_EQ(dir.Read("ZiviRURGraph1.scn"), GoldenFile("port_a.scn"));
  EXPECT_EQ(dir.Read("ZiviRURGraph.scn"), GoldenFile("port_a.scn"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  EXPECT_EQ(save_mode, 0);
}

TEST_F(ScanFileA, CancelledDialogsChangeNothing) {
  StoreGoldenScan();
  const ScanSnapshot before = ScanSnapshot::Take();
  testhook::QueueFileAnswer("");
  SaveScanA();
  testhook::QueueFileAnswer("");
  LoadScanA();
  EXPECT_EQ(ScanSnapshot::Take(), before);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST_F(ScanFileA, LoadGivesBackTheArraysAndSettingsAndDrawsTheScan) {
  const std::string path = dir.Write("in.scn", GoldenFile("port_a.scn"));
  Zref = 75;
  average = 1;
  smoothing = 3;
  LoadFrom(path);
  test::SaveMainWindowPng("loaded_scan_file");
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(Numscanpts, 3);
  const double f[] = {1, 1.5, 2}, z[] = {50, 100, 25.125}, p[] = {0, 0.5, -0.25};
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(scanA_freq[i], f[i]);
    EXPECT_DOUBLE_EQ(readA_zmag[i], z[i]);
    EXPECT_DOUBLE_EQ(readA_phase[i], p[i]);
  }
  EXPECT_EQ(scan_stamp, "Dec 10, 2025  14:05:09");  // without the blanks before "prog_ver="
  EXPECT_EQ(PortA_title, "Antenna test");
  EXPECT_EQ(Zref, 50);
  EXPECT_DOUBLE_EQ(VF, 0.66);
  EXPECT_EQ(cable_length, 12.5);
  EXPECT_EQ(average, 16);
  EXPECT_EQ(smoothing, 0);
  EXPECT_EQ(scan_comment, "File: in.scn              ");  // the name padded to 20
  EXPECT_EQ(scana_ok, 1);
  // The replay recomputed the other arrays from |Z| and phase.
  EXPECT_EQ(scan_npoints, 3);
  EXPECT_NEAR(scanA_zmag[2], 25.125, 1e-9);
  EXPECT_NEAR(scanA_Rs[1], 100 * std::cos(0.5), 1e-9);
  EXPECT_NEAR(scanA_Xs[2], 25.125 * std::sin(-0.25), 1e-9);
  EXPECT_EQ(live_data, 1);
  EXPECT_EQ(number_decimals, 3);
  EXPECT_EQ(testhook::FileDialogs().back().title, " Load Scan File");
}

TEST_F(ScanFileA, SaveLoadSaveGivesTheSameFile) {
  // In Port B mode the load draws nothing, so the second save writes from
  // exactly what the first load read.
  StoreGoldenScan();
  SaveAs("first.scn");
  test::ClearScanArrays();
  PortB_on = 1;
  LoadFrom(dir / "first.scn");
  EXPECT_EQ(scana_ok, 1);
  SaveAs("second.scn");
  EXPECT_EQ(dir.Read("second.scn"), dir.Read("first.scn"));
}

TEST_F(ScanFileA, PortBArraysStayOnlyWithTheSameLimits) {
  const std::string path = dir.Write("in.scn", GoldenFile("port_a.scn"));
  for (int i = 0; i < 5; ++i) s21_dB[i] = scanB_phase[i] = scanB_s11rl[i] = scanB_s11phase[i] = -3;
  scanb_ok = 1;
  start_freq = 1;
  end_freq = 2;
  LoadFrom(path);
  EXPECT_EQ(s21_dB[4], -3);
  EXPECT_EQ(scanb_ok, 1);
  start_freq = 5;
  LoadFrom(path);
  for (double* a : {s21_dB, scanB_phase, scanB_s11rl, scanB_s11phase}) EXPECT_EQ(a[4], 0);
  EXPECT_EQ(s21_dB[30010], 0);
  EXPECT_EQ(scanb_ok, 0);  // so no exit save writes the zeros over the last Port B scan
}

// The golden file with some of its lines replaced (1-based).
std::string Edited(std::vector<std::pair<int, std::string>> lines) {
  std::vector<std::string> l = CrLfLines(GoldenFile("port_a.scn"));
  for (auto& [n, text] : lines) l[n - 1] = text;
  std::string out;
  for (const std::string& s : l) out += s + "\r\n";
  return out;
}

TEST_F(ScanFileA, LoadedLimitsAreMadeValid) {
  struct Case {
    std::string start, end, step;
    double want_start, want_end, want_step;
  };
  const Case cases[] = {
      {" -3", " 5", " 0.5", 3, 5, 0.5},    // by its size
      {" 20", " 10", " 0.5", 1, 2, 0.02},  // start above end
      {" 1", " 2", " 0", 1, 2, 0.0000001},
      {" 0.001", " 2", " 0.5", 0.005, 2, 0.5},  // below the instrument
      {" 1", " 1500", " 0.5", 1, 1200, 0.5},    // above it by more than 2 MHz
      // A start above the instrument's end once the end is clamped: never
      // a start above the end.
      {" 1300", " 1500", " 0.5", 1, 2, 0.02},
  };
  maximumfreq = 1200;
  PortB_on = 1;  // loaded without drawing: the grid does not move the stop afterwards
  for (const Case& c : cases) {
    LoadFrom(dir.Write("limits.scn", Edited({{4, c.start}, {5, c.end}, {6, c.step}})));
    EXPECT_DOUBLE_EQ(start_freq, c.want_start) << c.start;
    EXPECT_DOUBLE_EQ(end_freq, c.want_end) << c.start;
    EXPECT_DOUBLE_EQ(delta_freq, c.want_step) << c.start;
  }
}

TEST_F(ScanFileA, OldFormatIsLoadedAfterAWarning) {
  std::vector<std::string> l = CrLfLines(GoldenFile("port_a.scn"));
  l[1] = " 120 ";
  l.erase(l.begin() + 17 + 6);  // the frequency lines of the three points
  l.erase(l.begin() + 17 + 3);
  l.erase(l.begin() + 17);
  std::string text;
  for (const std::string& s : l) text += s + "\r\n";
  LoadFrom(dir.Write("old.scn", text));
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Port A - Warning: Invalid File Format");
  EXPECT_EQ(
      testhook::MsgBoxes()[0].text,
      "This file for Port A is not in the latest format.\rIt may not have the latest features.");
  EXPECT_EQ(vna_status, 0);
  EXPECT_DOUBLE_EQ(scanA_freq[1], 1.5);  // start + i x step
  EXPECT_DOUBLE_EQ(readA_zmag[2], 25.125);
}

struct Damage {
  const char* what;
  std::string bytes;
  std::string caption;
  int status;
};

TEST_F(ScanFileA, DamagedFilesAreRefusedWholeWithTheirMessage) {
  const std::string golden = GoldenFile("port_a.scn");
  std::string binary;
  for (int i = 0; i < 600; ++i) binary += static_cast<char>((i * 37) % 256);
  const Damage cases[] = {
      {"truncated in the points", golden.substr(0, golden.find(" 1.50000000")), " Error 78331",
       78331},
      {"more points than announced", Edited({{3, " 2"}}), " Error 78331", 78331},
      {"a Port B file", Edited({{2, " 4080 "}}), "Port A - Invalid Scan File", 7233},
      {"no format number", Edited({{2, "scan"}}), "Port A - Invalid Scan File", 7233},
      {"a huge point count", Edited({{3, " 40000"}}), "Port A - Invalid Scan File", 7232},
      {"no points", Edited({{3, " 0"}}), "Port A - Invalid Scan File", 7232},
      {"binary", binary, "Port A - Invalid Scan File", 7233},
      // A line without its number would read as 0; a point no measurement
      // can have would be drawn.
      {"a word for an impedance", Edited({{22, " hundred"}}), "Port A - Invalid Scan File", 7235},
      {"an empty header line", Edited({{9, ""}}), "Port A - Invalid Scan File", 7235},
      {"a word on the unused line 16", Edited({{16, "on"}}), "Port A - Invalid Scan File", 7235},
      {"a trailer line of words", Edited({{31, " fast"}}), "Port A - Invalid Scan File", 7235},
      {"a number beyond a double", Edited({{25, " -1e999"}}), "Port A - Invalid Scan File", 7235},
      {"frequencies running backwards", Edited({{21, " 0.5"}}), "Port A - Invalid Scan File", 7235},
      {"an impedance of 1e250", Edited({{22, " 1e250"}}), "Port A - Invalid Scan File", 7235},
      {"an impedance of 250 digits", Edited({{19, " 1" + std::string(250, '0')}}),
       "Port A - Invalid Scan File", 7235},
      {"a frequency of 1e250", Edited({{24, " 1e250"}}), "Port A - Invalid Scan File", 7235},
      {"a frequency of 250 digits", Edited({{24, " 1" + std::string(250, '0')}}),
       "Port A - Invalid Scan File", 7235},
      {"a frequency above every model", Edited({{24, " 1202.5"}}), "Port A - Invalid Scan File",
       7235},
      {"a negative frequency", Edited({{18, " -1"}}), "Port A - Invalid Scan File", 7235},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    StoreGoldenScan();
    for (int i = 0; i < 3; ++i) readA_zmag[i] = 7 + i;  // not what any file holds
    scan_comment = "kept";
    const ScanSnapshot before = ScanSnapshot::Take();
    testhook::ClearLogs();
    LoadFrom(dir.Write("bad.scn", c.bytes));
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.caption);
    EXPECT_EQ(vna_status, c.status);
    EXPECT_EQ(ScanSnapshot::Take(), before);
  }
}

TEST_F(ScanFileA, RefusalMessagesNameTheFileAndTheProblem) {
  const std::string path = dir.Write("big.scn", Edited({{3, " 40000"}}));
  LoadFrom(path);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "The file named: " + path +
                                              "\rholds 40000 points; a scan holds 1 to 30000 "
                                              "points.\rThe scan on the graph was kept.");
  testhook::ClearLogs();
  LoadFrom(dir.Write("short.scn", Edited({{27, " 0.3"}})));
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "Error in scan data file:\r\n 0.3\rThe file ends early or does not hold the points it "
            "announces.\rThe scan on the graph was kept.");
}

TEST_F(ScanFileA, MessagesOfTheValueChecks) {
  const std::string words = dir.Write("words.scn", Edited({{22, " hundred"}}));
  LoadFrom(words);
  const std::string back = dir.Write("back.scn", Edited({{21, " 0.5"}}));
  LoadFrom(back);
  const std::string freq = dir.Write("freq.scn", Edited({{24, " 1e250"}}));
  LoadFrom(freq);
  const std::string ohms = dir.Write("ohms.scn", Edited({{22, " 1e250"}}));
  LoadFrom(ohms);
  const std::string kept = "\rThe scan on the graph was kept.";
  std::vector<std::string> texts;
  for (const auto& b : testhook::MsgBoxes()) texts.push_back(b.text);
  EXPECT_EQ(
      texts,
      (std::vector<std::string>{
          "The file named: " + words + "\rholds no number on line 22, where one belongs." + kept,
          "The file named: " + back +
              "\rholds frequencies that run backwards: a point below the one before it "
              "on line 21." +
              kept,
          "The file named: " + freq + "\rholds a frequency no instrument measures on line 24." +
              kept,
          "The file named: " + ohms + "\rholds an impedance no reading can have on line 22." + kept,
      }));
}

// Points another program wrote with exponents load as written; equal
// frequencies, a point at the top of every model's range and the largest
// impedance a reading can have load too.
TEST_F(ScanFileA, ValuesAtTheEdgeOfTheChecksAndExponentsLoad) {
  PortB_on = 1;  // loaded without drawing
  LoadFrom(dir.Write(
      "exp.scn",
      Edited(
          {{19, " 5.0E1"}, {21, " 1.5e0"}, {22, " 1E+2"}, {25, " 2.5125e1"}, {26, " -2.5E-1"}})));
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(readA_zmag[0], 50);
  EXPECT_EQ(scanA_freq[1], 1.5);
  EXPECT_EQ(readA_zmag[1], 100);
  EXPECT_EQ(readA_zmag[2], 25.125);
  EXPECT_EQ(readA_phase[2], -0.25);
  LoadFrom(
      dir.Write("edge.scn", Edited({{18, " 0"}, {21, " 1202"}, {24, " 1202"}, {22, " 1.3e154"}})));
  EXPECT_EQ(vna_status, 0);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(scanA_freq[2], 1202);
  EXPECT_EQ(readA_zmag[1], 1.3e154);
}

TEST_F(ScanFileA, MissingFileIsPassedOverSilently) {
  StoreGoldenScan();
  const ScanSnapshot before = ScanSnapshot::Take();
  LoadFrom(dir / "none.scn");
  EXPECT_EQ(ScanSnapshot::Take(), before);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(ScanFileA, InvalidLimitsAreRefusedAndSilentAtExit) {
  struct Case {
    double start, end, step;
    std::string caption;
  };
  const Case cases[] = {
      {0.001, 2, 0.5, " Invalid Limits  1"},
      {1, 1300, 0.5, " Invalid Limits  2"},
      {1, 2, 0, " Invalid Limits  3"},
  };
  for (const Case& c : cases) {
    StoreGoldenScan();
    scanA_limits = {c.start, c.end, c.step};  // the stored scan's own
    testhook::ClearLogs();
    save_mode = 0;
    SaveScanA();
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.caption);
    EXPECT_EQ(testhook::MsgBoxes()[0].text, "Invalid scan limits");
    EXPECT_TRUE(testhook::FileDialogs().empty());  // refused before the name is asked
  }
  main_loop_on = 0;
  testhook::ClearLogs();
  save_mode = 1;
  SaveScanA();
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(save_mode, 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
  main_loop_on = 1;
}

TEST_F(ScanFileA, ReadOnlyFolderIsReportedAndTheOldFileKept) {
  if (geteuid() == 0) {
    // Root writes into read-only folders; a folder that does not exist
    // stands in for one that cannot be written.
    StoreGoldenScan();
    testhook::QueueFileAnswer(dir / "no/such/folder/x.scn");
    SaveScanA();
  } else {
    dir.Write("x.scn", "old");
    chmod(dir.path().c_str(), 0555);
    StoreGoldenScan();
    SaveAs("x.scn");
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(dir.Read("x.scn"), "old");
  }
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find("is a Read-Only file."), std::string::npos);
}

TEST_F(ScanFileA, FailedWriteIsReportedAndTheOldFileKept) {
  dir.Write("x.scn", "old scan");
  StoreGoldenScan();
  // Files may grow to 200 bytes only: the scan file's writes fail part way.
  struct rlimit old_limit {};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit small = old_limit;
  small.rlim_cur = 200;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  SaveAs("x.scn");
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);
  EXPECT_EQ(dir.Read("x.scn"), "old scan");
  std::vector<std::string> captions = BoxCaptions();
  EXPECT_EQ(captions, std::vector<std::string>{" File not saved"});
}

}  // namespace
}  // namespace vna
