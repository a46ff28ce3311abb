// The marker file: the file a save writes against a golden file, the round
// trip, the readable list of the marker window's Save, and every damaged
// file or unwritable folder leaving the table as it was.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <fstream>
#include <regex>
#include <sstream>

#include "graph/marker_commands.h"
#include "markers_fixture.h"

namespace vna {
namespace {

using test::MarkerTest;

std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      out.push_back(bytes.substr(at) + "(no CR LF)");
      break;
    }
    out.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

std::string Golden() {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/tests/markers/data/golden.mrk",
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The table the golden file holds: two markers and an empty row 3 whose S21
// fields hold values.
void GoldenTable() {
  ClearMarkers();
  markers[1] = {3.5, 50.25, -12.5, 0.1, 1.25, 19.0849, 7, 8, -3.25, 45.5};
  markers[2] = {7.1, 100, 0, 0, 2, 9.5424, 0, 0, 0, 0};
  markers[3].s21mag = -1.5;
  markers[3].s21phase = 12;
}

bool SameTable(const Marker (&a)[kMaxMarkers + 1]) {
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const Marker &m = markers[i], &n = a[i];
    if (m.Freq != n.Freq || m.Rs != n.Rs || m.Xs != n.Xs || m.Phase != n.Phase || m.SWR != n.SWR ||
        m.Rt != n.Rt || m.s21mag != n.s21mag || m.s21phase != n.s21phase)
      return false;
  }
  return true;
}

TEST_F(MarkerTest, SaveWritesTheGoldenFileAndNoList) {
  GoldenTable();
  const std::string path = Dir() / "set.mrk";
  testhook::QueueFileAnswer(path);
  MarkerCommand(7);  // the menu's Save Marker Data
  const auto got = CrLfLines(Dir().Read("set.mrk"));
  const auto want = CrLfLines(Golden());
  ASSERT_EQ(got.size(), 164u);
  ASSERT_EQ(want.size(), 164u);
  for (size_t l = 0; l < want.size(); ++l) {
    if (l == 1) continue;
    EXPECT_EQ(got[l], want[l]) << "line " << l + 1;
  }
  EXPECT_TRUE(std::regex_match(got[1], std::regex(R"(\d\d-\d\d-\d{4}   \d\d:\d\d:\d\d)")))
      << got[1];
  EXPECT_FALSE(std::filesystem::exists(Dir() / "set.mrx"));
  EXPECT_EQ(number_decimals, 3);
  // The dialog: its title, filter and extension; afterwards the next one
  // starts in the program folder.
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Save Markers");
  EXPECT_EQ(testhook::FileDialogs()[0].filter, "Marker Files(*.mrk)|*.mrk||");
  EXPECT_EQ(testhook::FileDialogs()[0].ext, "mrk");
  EXPECT_TRUE(testhook::FileDialogs()[0].save);
  EXPECT_EQ(marker_file_path, path);
  EXPECT_EQ(marker_folder, "");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(MarkerTest, RoundTripRestoresEveryStoredValue) {
  GoldenTable();
  markers[5] = {12.345678, -3.5, 1e-3, -2.75, 1.02, 40.5, 0, 0, -60.125, -179.5};
  Marker saved[kMaxMarkers + 1];
  std::copy(markers, markers + kMaxMarkers + 1, saved);
  testhook::QueueFileAnswer(Dir() / "trip.mrk");
  cmd_param = 7;
  SaveMarkers();

  ClearMarkers();
  markers[1].spare1 = 99;  // the spare fields are not the file's
  testhook::QueueFileAnswer(Dir() / "trip.mrk");
  LoadMarkers();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(markers[1].spare1, 99);
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const Marker &m = markers[i], &s = saved[i];
    EXPECT_DOUBLE_EQ(m.Freq, s.Freq) << i;
    EXPECT_DOUBLE_EQ(m.Rs, s.Rs) << i;
    EXPECT_DOUBLE_EQ(m.Xs, s.Xs) << i;
    EXPECT_NEAR(m.Phase, s.Phase, 1e-8) << i;
    EXPECT_DOUBLE_EQ(m.SWR, s.SWR) << i;
    EXPECT_DOUBLE_EQ(m.Rt, s.Rt) << i;
    EXPECT_DOUBLE_EQ(m.s21mag, s.s21mag) << i;
    EXPECT_DOUBLE_EQ(m.s21phase, s.s21phase) << i;
  }
  // Rows stay in the file's order; the next dialog starts where the file was.
  EXPECT_EQ(markers[5].Freq, 12.345678);
  EXPECT_EQ(marker_folder, Folder() + "/");
  EXPECT_EQ(testhook::FileDialogs().back().title, " Load Markers");
  EXPECT_FALSE(testhook::FileDialogs().back().save);
  testhook::QueueFileAnswer("");
  LoadMarkers();
  EXPECT_EQ(testhook::FileDialogs().back().start_folder, Folder() + "/");
}

TEST_F(MarkerTest, DamagedFilesChangeNothing) {
  const std::string header =
      "Marker data for VNA. ::  DataFileFormat = 120716 :: Prog version = 636A\r\n"
      "01-02-2026   10:11:12\r\nData for Port A\r\nData for Port B\r\n";
  std::string whole;
  for (int i = 0; i < 160; ++i) whole += " 1\r\n";
  std::string missing_one = header + whole.substr(0, whole.size() - 4);
  std::string word_in_it = header + whole;
  word_in_it.replace(header.size() + 4 * 9, 2, "xx");  // line 14
  struct Case {
    const char* what;
    std::string bytes;  // "" = no file
    std::string caption, text;
  };
  const std::string p = Dir() / "bad.mrk";
  const Case cases[] = {
      {"no file", "", "Marker File",
       "The marker file was not found in the folder with the exe file."},
      {"no format number", "Marker data for VNA. ::  DataFileFormat = 12071\r\n" + whole,
       " Marker File Error 4182",
       "This is not a valid marker file.\r\n\r\n" + p +
           "\r\n\r\nMarker data for VNA. ::  DataFileFormat = 12071"},
      {"no name", "Marker file 120716\r\n" + whole, " Marker File Error 4182",
       "This is not a valid marker file.\r\n\r\n" + p + "\r\n\r\nMarker file 120716"},
      {"binary",
       std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0",
                   10) +
           "\xff\xfe",
       " Marker File Error 4182", ""},
      {"empty", " ", " Marker File Error 4182",
       "This is not a valid marker file.\r\n\r\n" + p + "\r\n\r\n "},
      {"header only", header, "//87212", "error in file\r\n" + p + "\r\n on line  5"},
      {"one value short", missing_one, "//87212", "error in file\r\n" + p + "\r\n on line  164"},
      {"a word for a value", word_in_it, "//87212", "error in file\r\n" + p + "\r\n on line  14"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(p);
    if (!c.bytes.empty()) Dir().Write("bad.mrk", c.bytes);
    GoldenTable();
    Marker before[kMaxMarkers + 1];
    std::copy(markers, markers + kMaxMarkers + 1, before);
    vna_status = 0;
    testhook::ClearLogs();
    testhook::QueueFileAnswer(p);
    LoadMarkers();
    EXPECT_TRUE(SameTable(before)) << c.what;
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << c.what;
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, c.caption) << c.what;
    if (!c.text.empty()) {
      EXPECT_EQ(testhook::MsgBoxes()[0].text, c.text) << c.what;
    }
    EXPECT_TRUE(testhook::MsgBoxes()[0].topmost) << c.what;
    EXPECT_EQ(vna_status, c.caption == "//87212" ? 87212 : 0) << c.what;
    EXPECT_EQ(number_decimals, 3) << c.what;
  }
}

TEST_F(MarkerTest, CancelledDialogsDoNothing) {
  GoldenTable();
  Marker before[kMaxMarkers + 1];
  std::copy(markers, markers + kMaxMarkers + 1, before);
  testhook::QueueFileAnswer("");
  LoadMarkers();
  testhook::QueueFileAnswer("");
  SaveMarkers();
  EXPECT_TRUE(SameTable(before));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(marker_file_path, "");
}

TEST_F(MarkerTest, UnwritableFolderIsReportedAndKeepsTheOldFile) {
  const std::string locked = Dir() / "locked";
  std::filesystem::create_directory(locked);
  std::ofstream(locked + "/set.mrk") << "old";
  chmod(locked.c_str(), 0555);
  GoldenTable();
  testhook::QueueFileAnswer(locked + "/set.mrk");
  cmd_param = 8;
  marker_count = 2;
  SaveMarkers();
  chmod(locked.c_str(), 0755);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "The file named: set.mrk  \ris a Read-Only file.\rIt cannot be updated.\r"
            "Make sure the Read-Only bit for all the files in \rthe VNA folder is NOT set.");
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "");
  EXPECT_EQ(Dir().Read("locked/set.mrk"), "old");
  EXPECT_FALSE(std::filesystem::exists(locked + "/set.mrx"));
}

TEST_F(MarkerTest, WriteFailingPartWayIsReportedAndKeepsTheOldFile) {
  Dir().Write("set.mrk", "old markers");
  GoldenTable();
  // Files may grow to 200 bytes only: the marker file's writes fail part way.
  struct rlimit old_limit {};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit small = old_limit;
  small.rlim_cur = 200;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  testhook::QueueFileAnswer(Dir() / "set.mrk");
  cmd_param = 8;
  marker_count = 2;
  SaveMarkers();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);
  EXPECT_EQ(Dir().Read("set.mrk"), "old markers");
  EXPECT_FALSE(std::filesystem::exists(Dir() / "set.mrx")) << "no list beside a failed file";
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " File not saved");
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(MarkerTest, ListBesideTheFileFromTheWindowsSave) {
  GoldenTable();
  marker_swr_ratio[2] = 1.5;
  marker_count = 2;
  cmd_param = 8;
  testhook::QueueFileAnswer(Dir() / "set.mrk");
  SaveMarkers();
  const auto lines = CrLfLines(Dir().Read("set.mrx"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(Created: \d\d-\d\d-\d{4}  \d\d:\d\d:\d\d)")))
      << lines[0];
  EXPECT_EQ(lines[1], " Marker,  Freq,  SWR, SWR_Ratio,  Rs,  Xs,  Zmag, Phase");
  EXPECT_EQ(lines[2], "  1,   3.5000,   1.2500, 0.0000,  50.250,  -12.500,  51.781,  5.730");
  EXPECT_EQ(lines[3], "  2,   7.1000,   2,  1.5000,  100,  0,  100,  0");
  EXPECT_EQ(CrLfLines(Dir().Read("set.mrk")).size(), 164u);
  EXPECT_EQ(number_decimals, 3);
}

}  // namespace
}  // namespace vna
