// Every reader given what is no file of its kind: a named pipe that nobody
// writes (opening it would wait for a writer for ever), /dev/zero (bytes
// without end and without a line end) and a sparse file larger than any file
// of its kind can be. Each is refused at once, with a message that says what
// the file is (or the reader's own words for a missing file) or a clear one
// for its size, and changes nothing.
#include <cmath>
#include <fstream>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/state.h"
#include "files/config_file.h"
#include "files/init_file.h"
#include "files/read_errors.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "files/tdr_file.h"
#include "files/xtal_file.h"
#include "graph/markers.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "odd_input/odd_input_fixture.h"
#include "platform/paths.h"
#include "scan/state.h"
#include "scan/voice_tone.h"
#include "shell/mailbox.h"
#include "shell/state.h"
#include "support/watchdog.h"
#include "tools/state.h"

namespace vna::test {
namespace {

using namespace std::chrono_literals;

constexpr int64_t kTwoGiB = int64_t{1} << 31;

// Everything a reader could change if it took a file it must refuse.
struct Snapshot {
  double start, end, delta, zref;
  std::vector<double> marker_freqs;
  std::string marker_path, marker_dir;
  int port_a_cal, cal_count;
  std::string cal_name;
  double short_r, scan_a_freq, scan_a_zmag, scan_b_freq, s21, tdr_rho, tdr_feet;
  int points, max_pts, regctl;

  static Snapshot Take() {
    std::vector<double> freqs;
    for (int i = 1; i <= kMaxMarkers; ++i) freqs.push_back(markers[i].Freq);
    return {start_freq,         end_freq,           delta_freq,    Zref,          freqs,
            marker_file_path,   marker_folder,      PortA_cal,     cal_points,    cal_file_name,
            CalDataA[0].shortR, scanA_freq[0],      readA_zmag[0], scanB_freq[0], s21_dB[0],
            tdr_response[1],    tdr_feet_per_index, Numscanpts,    max_points,    regctl_mode};
  }
  bool operator==(const Snapshot&) const = default;
};

// Known values everywhere the snapshot looks.
void SetKnownState() {
  start_freq = 3.5;
  end_freq = 4;
  delta_freq = 0.01;
  Zref = 75;
  ClearMarkers();
  markers[1].Freq = 3.6;
  markers[2].Freq = 3.7;
  marker_file_path = "/before/known.mrk";
  marker_folder = "/before/";
  PortA_cal = 1;
  cal_points = 11;
  cal_file_name = "known.vcal";
  CalDataA[0].shortR = 0.125;
  scanA_freq[0] = 3.5;
  readA_zmag[0] = 52;
  scanB_freq[0] = 3.5;
  s21_dB[0] = -3;
  tdr_response[1] = 0.25;
  tdr_feet_per_index = 1.5;
  Numscanpts = 51;
  max_points = 2000;
  regctl_mode = 2;
}

struct Reader {
  const char* name;
  const char* ext;
  std::function<void(const std::string& path)> read;
  // The box for a file the reader cannot open ("caption|text"; none when
  // the reader says nothing), given the file's path.
  std::function<std::vector<std::string>(const std::string& path)> cannot_open;
  // The box for a file larger than any of its kind, given path and size
  // text; null when the reader takes files of any size.
  std::function<std::string(const std::string& path, const std::string& size)> too_large;
  int64_t large = kTwoGiB;
};

std::string Size(const std::string& what) {
  return " bytes long, larger than " + what + " can be.";
}

// What is true of the pipe and of /dev/zero: no regular file, not read.
std::string NotRegular(const std::string& path) {
  return "The file named: " + path + "\ris " + (path == "/dev/zero" ? "a device" : "a named pipe") +
         ", not a regular file: it cannot be read.";
}

const Reader kReaders[] = {
    {"calibration", "vcal",
     [](const std::string& p) {
       file_name = p;
       GetPortACal(0);
       EXPECT_EQ(vna_status, 34508);
     },
     // The calibration in force stays, and works: the box says so.
     [](const std::string& p) -> std::vector<std::string> {
       return {" Calibration|" + NotRegular(p) + "\rThe calibration in force is kept."};
     },
     [](const std::string& p, const std::string& n) {
       return " Incorrect Cal File Format|The file named: " + p + "\rIt is" + n +
              Size("any calibration file");
     }},
    {"port_a_scan", "scn",
     [](const std::string& p) {
       save_mode = 0;
       PortB_on = 0;
       testhook::QueueFileAnswer(p);
       LoadScanA();
     },
     [](const std::string&) -> std::vector<std::string> { return {}; },
     [](const std::string& p, const std::string& n) {
       return "Port A - Invalid Scan File|The file named: " + p + "\rIt is" + n +
              Size("any Port A scan file") + "\rThe scan on the graph was kept.";
     }},
    {"port_b_scan", "scnb",
     [](const std::string& p) {
       save_mode = 0;
       PortB_on = 1;
       testhook::QueueFileAnswer(p);
       LoadScanB();
       PortB_on = 0;
     },
     [](const std::string&) -> std::vector<std::string> { return {}; },
     [](const std::string& p, const std::string& n) {
       return "Port B - Invalid Scan File|The file named: " + p + "\rIt is" + n +
              Size("any Port B scan file") + "\rThe scan on the graph was kept.";
     }},
    {"tdr", "tdr",
     [](const std::string& p) {
       file_name = p;
       LoadTDR(1);
     },
     [](const std::string&) -> std::vector<std::string> { return {}; },
     [](const std::string& p, const std::string& n) {
       return " TDR File|The file " + p + " cannot be loaded as a TDR file.\rIt is" + n +
              Size("any TDR file");
     }},
    {"markers", "mrk",
     [](const std::string& p) {
       testhook::QueueFileAnswer(p);
       LoadMarkers();
     },
     [](const std::string& p) -> std::vector<std::string> {
       return {"Marker File|" + NotRegular(p)};
     },
     [](const std::string& p, const std::string& n) {
       return " Marker File Error 4182|This is not a valid marker file.\r\n\r\n" + p +
              "\r\n\r\nIt is" + n + Size("any marker file");
     }},
    {"init", "ini",
     [](const std::string& p) {
       file_name = p;
       LoadInitData();
     },
     [](const std::string& p) -> std::vector<std::string> {
       return {" No INIT data  error=7321|" + NotRegular(p)};
     },
     [](const std::string& p, const std::string& n) {
       return " Invalid *.ini file|The file named: " + p + "\rIt is" + n +
              Size("any settings file");
     }},
    {"config", "cfg",
     [](const std::string& p) {
       file_name = p;
       config_interactive = 0;
       LoadConfig();
       EXPECT_EQ(config_loaded, 0);
     },
     // A config file that cannot be opened gives way to the program's own,
     // missing in this program folder.
     [](const std::string&) -> std::vector<std::string> {
       return {"Config File|Config file was not found\r" + ProgramFolder() + "_VNA_Config_1.cfg"};
     },
     [](const std::string& p, const std::string& n) {
       return "Config File|The file named: " + p + "\rIt is" + n + Size("any config file");
     }},
    {"crystal", "xdat",
     [](const std::string& p) {
       vna_status = 0;
       AnswerDialog("Xtal sequence number:", {}, 2);
       testhook::QueueFileAnswer(p);
       SaveXtalData();
     },
     [](const std::string& p) -> std::vector<std::string> {
       return {" Crystal Data File|The file named: " + p +
               "  \rcannot be created or changed.\rThe crystal data was not saved."};
     },
     nullptr},
    {"mailbox_store", "ini",
     [](const std::string& p) {
       testing::ScopedEnv store("VNA_REGISTRY_FILE", p);
       RegistryControl();
       EXPECT_EQ(regctl_mode, 1);
       regctl_mode = 2;  // as before, for the snapshot
     },
     [](const std::string& p) -> std::vector<std::string> {
       return {" Cannot use registry external control|" + NotRegular(p) +
               "\rExternal control is switched off."};
     },
     [](const std::string& p, const std::string& n) {
       return " Cannot use registry external control|The registry file named: " + p + "\rIt is" +
              n + Size("the mailbox's registry file") + "\rExternal control is switched off.";
     },
     // Far larger than the six values it holds, if far smaller than the rest.
     int64_t{1} << 20},
};

enum class Odd { kFifo, kDevZero, kTooLarge };

struct Case {
  const Reader* reader;
  Odd odd;
};

std::string Name(const Case& c) {
  const char* odd[] = {"fifo", "dev_zero", "too_large"};
  return std::string(c.reader->name) + "_" + odd[static_cast<int>(c.odd)];
}
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  return Name(info.param);
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << Name(c);
}

std::vector<Case> AllCases() {
  std::vector<Case> out;
  for (const Reader& r : kReaders) {
    for (Odd odd : {Odd::kFifo, Odd::kDevZero, Odd::kTooLarge}) {
      if (odd == Odd::kTooLarge && !r.too_large) continue;
      out.push_back({&r, odd});
    }
  }
  return out;
}

class SpecialFileTest : public OddInputTest, public ::testing::WithParamInterface<Case> {};

TEST_P(SpecialFileTest, IsRefusedAtOnceAndChangesNothing) {
  const Reader& r = *GetParam().reader;
  std::string path;
  std::vector<std::string> expected;
  switch (GetParam().odd) {
    case Odd::kFifo:
      path = Fifo(std::string("pipe.") + r.ext);
      expected = r.cannot_open(path);
      break;
    case Odd::kDevZero:
      path = "/dev/zero";
      expected = r.cannot_open(path);
      break;
    case Odd::kTooLarge:
      path = Sparse(std::string("huge.") + r.ext, r.large);
      expected = {r.too_large(path, NumStr(static_cast<double>(r.large)))};
      break;
  }
  SetKnownState();
  const Snapshot before = Snapshot::Take();
  {
    Watchdog dog(20s, std::string("the ") + r.name + " reader");
    r.read(path);
  }
  EXPECT_EQ(Boxes(), expected);
  EXPECT_TRUE(Snapshot::Take() == before);
}

INSTANTIATE_TEST_SUITE_P(Readers, SpecialFileTest, ::testing::ValuesIn(AllCases()), CaseName);

// What a refused file is, told apart after the open failed: missing (the
// reader's own words then), no regular file, or not readable (here a link
// that leads to itself, which root cannot read either).
TEST_F(OddInputTest, ARefusedFileIsToldAsWhatItIs) {
  const std::string loop = dir / "loop.cfg";
  ASSERT_EQ(symlink(loop.c_str(), loop.c_str()), 0);
  const std::string pipe = Fifo("pipe.cfg");
  struct Case {
    std::string path, text;
  };
  const Case cases[] = {
      {dir / "missing.cfg", ""},
      {dir / "no-folder/missing.cfg", ""},
      {pipe,
       "The file named: " + pipe + "\ris a named pipe, not a regular file: it cannot be read."},
      {"/dev/null",
       "The file named: /dev/null\ris a device, not a regular file: it cannot be read."},
      {dir.path(),
       "The file named: " + dir.path() + "\ris a folder, not a regular file: it cannot be read."},
      {loop, "The file named: " + loop + "\rcannot be read (Too many levels of symbolic links)."},
  };
  for (const Case& c : cases) EXPECT_EQ(NotReadText(c.path), c.text) << c.path;
}

// Voice files that are named pipes nobody writes: each digit is passed over
// at once, as a missing file is, instead of waiting for a writer for ever.
TEST_F(OddInputTest, VoiceFilesThatArePipesArePassedOverAtOnce) {
  for (const char* name : {"one.wav", "point.wav", "five.wav"}) Fifo(name);
  voice_folder = dir.path() + "/";
  voice = 1;
  voice_digits = 1;
  voice_last_value = 0;
  voice_countdown = 0;
  swr = 1.5;
  {
    Watchdog dog(20s, "the voice output");
    SpeakValue();
  }
  EXPECT_EQ(testhook::SoundsPlayed(),
            (std::vector<std::string>{voice_folder + "one.wav", voice_folder + "point.wav",
                                      voice_folder + "five.wav"}));
  voice = 0;
}

// A file that grows while it is read (another program appending bytes
// without a line end) reads as ended at the bound it was opened with.
TEST_F(OddInputTest, AFileThatGrowsWhileReadEndsAtItsBound) {
  const std::string path = dir.Write("growing.txt", "12345");
  TextFile f;
  ASSERT_EQ(OpenInputFile(f, path, 10), InputRefusal::kNone);
  std::ofstream(path, std::ios::app) << std::string(100, 'x');
  std::string line;
  EXPECT_EQ(ReadLine(f, line), 0);
  EXPECT_EQ(line, "12345xxxxx");
  EXPECT_TRUE(FileEof(f));
  EXPECT_EQ(ReadLine(f, line), -1);
  CloseTextFile(f);
  // A file beyond the bound is not opened at all.
  int64_t size = 0;
  EXPECT_EQ(OpenInputFile(f, path, 104, &size), InputRefusal::kTooLarge);
  EXPECT_EQ(size, 105);
  EXPECT_FALSE(f.IsOpen());
}

}  // namespace
}  // namespace vna::test
