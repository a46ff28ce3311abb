// Loading damaged calibration files: every check of the reader with its
// message and status, files that end early, binary and oversized counts,
// and the values at the edge of each check that must still load. After
// every refusal the calibration in memory is the one before the attempt.
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/cal_fixture.h"
#include "instrument/freq_plan.h"
#include "shell/state.h"

namespace vna::test {
namespace {

using Lines = std::vector<std::string>;
using Edit = std::function<void(Lines&)>;

const std::string kGolden =
    std::string(VNA_SOURCE_DIR) + "/tests/calibration/data/two_multiplier.vcal";

Lines GoldenLines() {
  std::ifstream in(kGolden, std::ios::binary);
  return SplitCrLf(std::string(std::istreambuf_iterator<char>(in), {}));
}

size_t IndexOf(const Lines& lines, const std::string& start) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(start, 0) == 0) return i;
  }
  ADD_FAILURE() << "no line starts with " << start;
  return 0;
}

// Line numbers of the golden file (from 0).
constexpr size_t kFormatLine = 0, kMaxFreqLine = 1, kRstdLine = 6, kTemperatureLine = 8,
                 kSensLine = 14, kPointsLine = 16, kParamsLine = 17, kPlanCountLine = 19;
size_t AmplitudeLine(const Lines& l) {
  return IndexOf(l, " Short Circuit:") - 1;
}
size_t BandCountLine(const Lines& l) {
  return AmplitudeLine(l) - 42;  // 41 bands follow it
}

Edit Set(size_t line, std::string text) {
  return [=](Lines& l) { l[line] = text; };
}
Edit SetAmplitude(std::string text) {
  return [=](Lines& l) { l[AmplitudeLine(l)] = text; };
}
Edit SetStarting(std::string start, std::string text) {
  return [=](Lines& l) { l[IndexOf(l, start)] = text; };
}
Edit SetAfter(std::string start, size_t offset, std::string text) {
  return [=](Lines& l) { l[IndexOf(l, start) + offset] = text; };
}

class CalFileErrors : public CalFileTest {
 protected:
  // A calibration in force that differs from the golden file everywhere a
  // load could change it.
  void PreviousCalibration(int instrument) {
    StartModel("uhf", instrument);
    FillCalibration(20, true);
    CalDataA[0].shortR = 3.25;
    DDS_Amplitude = 55;
    PortA_Sens = 1;
    std_cal = 1;
    cal_comment = "previous";
    cal_date = "01-02-2003  04:05:06";
    cal_prog_version = "Zelmar_635B";
    cal_file_path = "/prev/prev.vcal";
    cal_file_name = "prev.vcal";
    cal_folder = "/prev/";
    GainAfreq5x = 333;
    RngGain[2] = 5.5;
    start_freq = 3;
    end_freq = 4;
    delta_freq = 0.5;
    testhook::ClearLogs();
  }
  std::string Damaged(const Edit& edit) {
    Lines lines = GoldenLines();
    edit(lines);
    return dir.Write("damaged.vcal", JoinCrLf(lines));
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (const auto& b : testhook::MsgBoxes()) out.push_back(b.caption);
    return out;
  }
};

struct Refusal {
  const char* name;
  Edit edit;
  int status;
  std::vector<std::string> captions;
  int instrument = 1;
  int api = 0;
};

TEST_F(CalFileErrors, EveryRefusalKeepsThePreviousCalibration) {
  const std::string wrong_heading = " Something else:";
  const Refusal cases[] = {
      {"format 16299", Set(kFormatLine, " 16299"), 34508, {" Incorrect Cal File Format"}},
      {"format 16299 without instrument", Set(kFormatLine, " 16299"), 34508, {}, 0},
      {"format 16299 from an export", Set(kFormatLine, " 16299"), 34508, {}, 1, 1},
      {"maximum frequency 0.02 off",
       Set(kMaxFreqLine, " 1200.02"),
       34509,
       {" Max Freq Cal Error 34509"}},
      {"maximum frequency of the other model",
       Set(kMaxFreqLine, " 180"),
       34509,
       {" Max Freq Cal Error 34509"}},
      {"maximum frequency from an export", Set(kMaxFreqLine, " 180"), 34509, {}, 1, 1},
      {"parameter count 0", Set(kParamsLine, " 0"), 72852, {" Cal Data File Error 72852"}},
      {"parameter count 101", Set(kParamsLine, " 101"), 72852, {" Cal Data File Error 72852"}},
      {"parameter count from an export",
       Set(kParamsLine, " 0"),
       72852,
       {" Cal Data File Error 72852"},
       1,
       1},
      {"plan count 2", Set(kPlanCountLine, " 2"), 34508, {" Cal data not compatable"}},
      {"plan count 101", Set(kPlanCountLine, " 101"), 34508, {" Cal data not compatable"}},
      {"plan count 60, beyond the plan table",
       Set(kPlanCountLine, " 60"),
       34508,
       {" Cal data not compatable"}},
      {"point count 9 on the model block",
       Set(kPointsLine, " 9"),
       34508,
       {" Cal data not compatable"}},
      {"plan count from an export", Set(kPlanCountLine, " 2"), 34508, {}, 1, 1},
      {"amplitude 101", SetAmplitude(" 101"), 34508, {" Cal Data File Error 87211"}},
      {"amplitude -1", SetAmplitude(" -1"), 34508, {" Cal Data File Error 87211"}},
      {"amplitude from an export", SetAmplitude(" 101"), 34508, {}, 1, 1},
      {"no short heading",
       SetStarting(" Short Circuit:", wrong_heading),
       34508,
       {" Incorrect Cal File Format 22"}},
      {"no short heading from an export",
       SetStarting(" Short Circuit:", wrong_heading),
       34508,
       {},
       1,
       1},
      {"no open heading",
       SetStarting(" Open Circuit:", wrong_heading),
       2381,
       {" Incorrect Cal File Format 23"}},
      {"no open heading from an export",
       SetStarting(" Open Circuit:", wrong_heading),
       2381,
       {" Incorrect Cal File Format 23"},
       1,
       1},
      {"no resistance heading",
       SetStarting(" Standard Resistance:", wrong_heading),
       2382,
       {" Incorrect Cal File Format 24"}},
      {"no low range heading",
       SetStarting("B Low range", "B Lower"),
       2383,
       {"Incorrect Cal File Format 25", " 92323"}},
      {"band count 5000",
       [](Lines& l) { l[BandCountLine(l)] = " 5000"; },
       34508,
       {" Incorrect Cal File Format 22"}},
      {"Port B lines to skip: a billion",
       SetAfter(" Port B cal data:", 3, " 1000000000"),
       87212,
       {"//87212"}},
      // The open heading then stands where the last short row should.
      {"a short row missing",
       [](Lines& l) { l.erase(l.begin() + IndexOf(l, "    3 ")); },
       87212,
       {"//87212"}},
      {"ends in the open table",
       [](Lines& l) { l.resize(IndexOf(l, " Open Circuit:") + 4); },
       87212,
       {"//87212"}},
      {"ends before the high table",
       [](Lines& l) { l.resize(IndexOf(l, "B High range")); },
       87212,
       {"//87212"}},
      {"empty", [](Lines& l) { l.clear(); }, 87212, {"//87212"}},
      // Rows without the numbers of their table, and frequencies that run
      // backwards, would load as a calibration of zeros or of another band.
      {"a short row of words",
       SetAfter(" Short Circuit:", 3, "    2  two  ohms  none"),
       87212,
       {"//87212"}},
      {"an empty open row", SetAfter(" Open Circuit:", 1, ""), 87212, {"//87212"}},
      {"a resistance row without its reactance",
       SetAfter(" Standard Resistance:", 2, "    1    2.000000     50.5000"),
       87212,
       {"//87212"}},
      {"a gain-range line of words",
       SetAfter(" Port B cal data:", 5, "   2   gain  phase"),
       87212,
       {"//87212"}},
      {"a high row of words",
       SetAfter("B High range", 2, "   1  ratio  phase"),
       87212,
       {"//87212"}},
      {"short frequencies running backwards",
       SetAfter(" Short Circuit:", 3,
                "    2    1.500000      2.1250     -3.0000  2459    1.0000    2  short"),
       87212,
       {"//87212"}},
      {"Port B frequencies running backwards",
       SetAfter("B Low range", 3,
                "   2    1.5000000      0.5156250     -5.000000  2459    1.0000    1.0000   2  "
                "Low_range"),
       87212,
       {"//87212"}},
      // Values no calibration can hold: every corrected reading is scaled
      // by the standard resistor, a row beyond the instrument is no reading
      // of it, Port B readings are divided by the gain of their range.
      {"resistor 0", Set(kRstdLine, " 0"), 87212, {"//87212"}},
      {"resistor -50", Set(kRstdLine, " -50"), 87212, {"//87212"}},
      {"resistor 7.8e249", Set(kRstdLine, " 7.8e249"), 87212, {"//87212"}},
      {"resistor of 250 digits", Set(kRstdLine, " 78" + std::string(248, '0')), 87212, {"//87212"}},
      {"resistor 10000.5", Set(kRstdLine, " 10000.5"), 87212, {"//87212"}},
      {"resistor 0 without instrument", Set(kRstdLine, " 0"), 87212, {"//87212"}, 0},
      {"resistor 0 from an export", Set(kRstdLine, " 0"), 87212, {"//87212"}, 1, 1},
      {"a resistor line of words", Set(kRstdLine, " fifty"), 87212, {"//87212"}},
      {"a short row at 99999 MHz",
       SetAfter(" Short Circuit:", 10,
                "    9   99999.000000      9.1250     -4.7500  1426    5.0150    1  short"),
       87212,
       {"//87212"}},
      {"a short row at 99999 MHz without instrument",
       SetAfter(" Short Circuit:", 10,
                "    9   99999.000000      9.1250     -4.7500  1426    5.0150    1  short"),
       87212,
       {"//87212"},
       0},
      {"a short row at 1200.01 MHz",
       SetAfter(" Short Circuit:", 10,
                "    9   1200.010000      9.1250     -4.7500  1426    5.0150    1  short"),
       87212,
       {"//87212"}},
      {"a short row below the instrument",
       SetAfter(" Short Circuit:", 1,
                "    0    0.001000      0.1250     -2.5000  2459    1.0000    2  short"),
       87212,
       {"//87212"}},
      {"a Port B row at 99999 MHz",
       SetAfter("B Low range", 10,
                "   9    99999.0000000      0.5703125     12.500000  1426    5.0150   24.2500   1  "
                "Low_range"),
       87212,
       {"//87212"}},
      {"every short row at 1 MHz",
       [](Lines& l) {
         const size_t first = IndexOf(l, " Short Circuit:") + 1;
         for (size_t i = 0; i < 10; ++i) {
           l[first + i] = "    " + std::to_string(i) +
                          "    1.000000      0.1250     -2.5000  2459    1.0000    2  short";
         }
       },
       87212,
       {"//87212"}},
      {"gain range 2 of 0",
       SetAfter(" Port B cal data:", 5, "   2   0    0.250000"),
       87212,
       {"//87212"}},
      {"gain range 3 of -24.25",
       SetAfter(" Port B cal data:", 6, "   3   -24.25    2.5"),
       87212,
       {"//87212"}},
      // A line or field without its number would load as 0.
      {"a temperature of words", Set(kTemperatureLine, " warm"), 87212, {"//87212"}},
      {"a short row without its multiplier state",
       SetAfter(" Short Circuit:", 2,
                "    1    2.000000      1.1250     -2.7500  x    1.0000    2  short"),
       87212,
       {"//87212"}},
      {"a Port B row without its oscillator",
       SetAfter("B Low range", 2,
                "   1    2.0000000      0.5078125     -7.500000  2459    1.0000   24.2500"),
       87212,
       {"//87212"}},
      {"a plan entry of words", Set(kPlanCountLine + 2, " forty 428"), 87212, {"//87212"}},
      {"an open reading beyond a double",
       SetAfter(" Open Circuit:", 1,
                "    0    1.000000   1e999   -300.7500  2459    1.0000    2  open"),
       87212,
       {"//87212"}},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    PreviousCalibration(c.instrument);
    const CalSnapshot before = CalSnapshot::Take();
    api_busy = c.api;
    EXPECT_EQ(Load(Damaged(c.edit)), c.status);
    api_busy = 0;
    EXPECT_EQ(Captions(), c.captions);
    EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
  }
}

TEST_F(CalFileErrors, MessagesOfTheChecks) {
  PreviousCalibration(1);
  Load(Damaged(Set(kFormatLine, " 16299")));
  Load(Damaged(Set(kMaxFreqLine, " 1200.02")));
  Load(Damaged(Set(kParamsLine, " 0")));
  Load(Damaged(Set(kPlanCountLine, " 2")));
  Load(Damaged(SetAmplitude(" 101")));
  Load(Damaged(SetStarting(" Short Circuit:", " SOMETHING Else")));
  Load(Damaged(SetStarting(" Open Circuit:", " Something")));
  Load(Damaged(SetStarting(" Standard Resistance:", " Something")));
  Load(Damaged(SetStarting("B Low range", "B Lower")));
  const std::string path = Damaged([](Lines& l) { l.resize(30); });
  Load(path);
  const std::string words = Damaged(SetAfter(" Short Circuit:", 3, "    2  two  ohms  none"));
  Load(words);
  const std::string backwards =
      Damaged(SetAfter(" Short Circuit:", 3,
                       "    2    1.500000      2.1250     -3.0000  2459    1.0000    2  short"));
  Load(backwards);
  Load(dir / "missing.vcal");
  EXPECT_EQ(
      Boxes(),
      (std::vector<std::string>{
          " Incorrect Cal File Format|The cal file is not in a compatible format for this "
          "program.\r\n\r\nThis cal file format is:  16299\r\nIt should be:  16300\r\n\r\nThis "
          "cal file was created with program version : Zelmar_636A",
          " Max Freq Cal Error 34509|The cal data file is not appropriate for this particular "
          "instrument.\rThis instrument has a freq range of  1200 MHz.\rThe cal file has a range "
          "of  1200.02000000 MHz.\r\rPlease calibrate again.",
          " Cal Data File Error 72852|Error in buffer value.\r\nNumber of parameters = 0",
          " Cal data not compatable|This cal file is not compatible with the program.\r\n\r\n"
          "Please recalibrate",
          " Cal Data File Error 87211|DDS amplitude is invalid =  101\r\nNew cal data is "
          "required.",
          " Incorrect Cal File Format 22|Cal file error:\rExpected:    Short Circuit\rRead    :  "
          " something else",
          " Incorrect Cal File Format 23|Cal file error:\rExpected:    Open Circuit\rRead    :  "
          " something",
          " Incorrect Cal File Format 24|Cal file error:\rExpected:    resistance\rRead    :  "
          " something",
          "Incorrect Cal File Format 25|Cal file error:\rExpected:    low range\rRead    :  b "
          "lower",
          " 92323| Cal File Error =  2383",
          "//87212|error in file\r\n" + path + "\r\n on line  31",
          "//87212|error in file\r\n" + words +
              "\r\n on line  82\r\nIt does not hold the numbers its table needs there.",
          "//87212|error in file\r\n" + backwards +
              "\r\n on line  82\r\nIts frequency is below the one of the row before.",
          // The calibration in force stays: the box says so.
          " Calibration|The calibration file was not found.\rThe calibration in force is kept.",
      }));
  // Topmost, except the two boxes of the end of reading.
  for (const auto& b : testhook::MsgBoxes()) {
    EXPECT_EQ(b.topmost, b.caption != "Incorrect Cal File Format 25" && b.caption != " 92323")
        << b.caption;
    EXPECT_EQ(b.owner, "main_win");
  }
}

TEST_F(CalFileErrors, MessagesOfTheValueChecks) {
  PreviousCalibration(1);
  const std::string rstd = Damaged(Set(kRstdLine, " 7.8e249"));
  Load(rstd);
  const std::string high =
      Damaged(SetAfter(" Short Circuit:", 10,
                       "    9   99999.000000      9.1250     -4.7500  1426    5.0150    1  short"));
  Load(high);
  const std::string words = Damaged(Set(kTemperatureLine, " warm"));
  Load(words);
  const std::string gain = Damaged(SetAfter(" Port B cal data:", 5, "   2   0    0.250000"));
  Load(gain);
  const std::string flat = Damaged([](Lines& l) {
    const size_t first = IndexOf(l, " Short Circuit:") + 1;
    for (size_t i = 0; i < 10; ++i) {
      l[first + i] = "    " + std::to_string(i) +
                     "    1.000000      0.1250     -2.5000  2459    1.0000    2  short";
    }
  });
  Load(flat);
  EXPECT_EQ(
      Boxes(),
      (std::vector<std::string>{
          "//87212|error in file\r\n" + rstd +
              "\r\n on line  7\r\nIts calibration resistor must be more than 0 and at "
              "most 10000 ohms.",
          "//87212|error in file\r\n" + high +
              "\r\n on line  89\r\nIts frequency lies outside the instrument's range, "
              "up to 1200 MHz.",
          "//87212|error in file\r\n" + words +
              "\r\n on line  9\r\nIt holds no number where the file needs one.",
          "//87212|error in file\r\n" + gain + "\r\n on line  117\r\nIts gain must be more than 0.",
          "//87212|error in file\r\n" + flat +
              "\r\n on line  89\r\nIts table lies at one frequency: no scan fits "
              "inside it.",
      }));
}

// Another program's numbers with an exponent read as written, not as their
// mantissa.
TEST_F(CalFileErrors, NumbersWithAnExponentLoadAsWritten) {
  PreviousCalibration(1);
  ASSERT_EQ(Load(Damaged([](Lines& l) {
              l[kRstdLine] = " 5.0E1";
              l[IndexOf(l, " Short Circuit:") + 2] =
                  "    1    2.0E0      1.125e0     -2.75E+0  2459    1.0000    2  short";
            })),
            0);
  EXPECT_EQ(Rstd, 50);
  EXPECT_EQ(CalDataA[1].freq, 2);
  EXPECT_EQ(CalDataA[1].shortR, 1.125);
  EXPECT_EQ(CalDataA[1].shortX, -2.75);
}

// A calibration loaded while the scan limits lie outside it (or run
// backwards against it) leaves them inside it, the start below the end.
TEST_F(CalFileErrors, TheScanLimitsEndInsideTheCalibration) {
  struct Case {
    double start, end;
    double want_start;
  };
  // The golden calibration covers 1 to 10 MHz.
  const Case cases[] = {
      {30, 40, 1},               // above it
      {3.5, 1, 3.5},             // end below start
      {0.5, 0.8, 1},             // below it
      {0.5, 5, 1},               // starting below it
      {12, 5, 1},    {3, 4, 3},  // inside: kept
      {10, 12, 1},               // a start at its end leaves no range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << " .. " << c.end);
    PreviousCalibration(1);
    plot_at_zero = 0;
    start_freq = c.start;
    end_freq = c.end;
    ASSERT_EQ(Load(kGolden), 0);
    EXPECT_EQ(start_freq, c.want_start);
    EXPECT_GT(end_freq, start_freq);
    EXPECT_LE(end_freq, cal_end_freq);
    EXPECT_GE(start_freq, cal_start_freq);
  }
}

TEST_F(CalFileErrors, BinaryFilesAreRefused) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) & 255);
  for (int instrument : {1, 0}) {
    SCOPED_TRACE(instrument);
    PreviousCalibration(instrument);
    const CalSnapshot before = CalSnapshot::Take();
    EXPECT_NE(Load(dir.Write("binary.vcal", bytes)), 0);
    EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
    // Every binary line is one line of the reader: no row is ever read.
    EXPECT_LE(testhook::MsgBoxes().size(), 1u);
  }
}

TEST_F(CalFileErrors, APointCountOutOfRangeEndsAfterReading) {
  // On the single-DDS model (no model block) the count is replaced by 57 and
  // the load reads on, to fail at its end.
  StartModel("7306", 1);
  FillCalibration(57, false);
  Save("57.vcal");
  for (const char* count : {" 9", " 30001", " 99999999999"}) {
    SCOPED_TRACE(count);
    Lines lines = SplitCrLf(dir.Read("57.vcal"));
    lines[kPointsLine] = count;
    const std::string path = dir.Write("count.vcal", JoinCrLf(lines));
    ClearCalibration();
    FillCalibration(12, false);
    const CalSnapshot before = CalSnapshot::Take();
    testhook::ClearLogs();
    EXPECT_EQ(Load(path), 7232);
    EXPECT_EQ(Boxes(), std::vector<std::string>{" 92323| Cal File Error =  7232"});
    EXPECT_EQ(number_decimals, 3);
    EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
  }
}

TEST_F(CalFileErrors, AMissingFile) {
  PreviousCalibration(1);
  const CalSnapshot before = CalSnapshot::Take();
  EXPECT_EQ(Load(dir / "missing.vcal"), 34508);
  EXPECT_EQ(Boxes(), std::vector<std::string>{" Calibration|The calibration file was not "
                                              "found.\rThe calibration in force is kept."});
  EXPECT_TRUE(SameCalibration(before, CalSnapshot::Take()));
  // With none in force one is needed.
  ClearCalibration();
  testhook::ClearLogs();
  EXPECT_EQ(Load(dir / "missing.vcal"), 34508);
  EXPECT_EQ(Boxes(), std::vector<std::string>{" Cal Required|The calibration file was not "
                                              "found.\rPlease run the calibration procedure "
                                              "before doing any tests."});

  // Without an instrument, or from an export, nothing is shown.
  for (auto [instrument, api] : {std::pair{0, 0}, std::pair{1, 1}}) {
    PreviousCalibration(instrument);
    api_busy = api;
    EXPECT_EQ(Load(dir / "missing.vcal"), 34508);
    api_busy = 0;
    EXPECT_TRUE(Captions().empty());
  }
}

TEST_F(CalFileErrors, AChannelWithoutAUsableFileHasNoPortBCalibration) {
  const std::string damaged = Damaged(SetStarting(" Open Circuit:", " nothing"));
  for (const std::string& path : {dir / "missing.chan3", damaged}) {
    SCOPED_TRACE(path);
    PreviousCalibration(1);
    mux_chan = 3;
    EXPECT_NE(Load(path), 0);
    EXPECT_EQ(PortB_cal, 0);
    EXPECT_EQ(PortA_cal, 1);
    EXPECT_EQ(CalDataA[0].shortR, 3.25);
  }
}

struct Acceptance {
  const char* name;
  Edit edit;
  std::function<void()> check;
  int instrument = 1;
};

TEST_F(CalFileErrors, ValuesAtTheEdgeOfEachCheckLoad) {
  const Acceptance cases[] = {
      {"maximum frequency 0.005 off", Set(kMaxFreqLine, " 1200.005"), [] {}},
      {"another maximum frequency without instrument", Set(kMaxFreqLine, " 1200.02"), [] {}, 0},
      {"sensitivity 0", Set(kSensLine, " 0"), [] { EXPECT_EQ(PortA_Sens, 2); }},
      {"sensitivity 3", Set(kSensLine, " 3"), [] { EXPECT_EQ(PortA_Sens, 2); }},
      {"sensitivity 1", Set(kSensLine, " 1"), [] { EXPECT_EQ(PortA_Sens, 1); }},
      {"three parameter lines",
       [](Lines& l) {
         l[kParamsLine] = " 3";
         l.insert(l.begin() + kParamsLine + 1, {" spare one", " spare two"});
       },
       [] {}},
      {"amplitude 0", SetAmplitude(" 0"), [] { EXPECT_EQ(DDS_Amplitude, 0); }},
      {"amplitude 100", SetAmplitude(" 100"), [] { EXPECT_EQ(DDS_Amplitude, 100); }},
      {"resistor 10000", Set(kRstdLine, " 10000"), [] { EXPECT_EQ(Rstd, 10000); }},
      {"resistor 0.5", Set(kRstdLine, " 0.5"), [] { EXPECT_EQ(Rstd, 0.5); }},
      {"a last row at the instrument's top",
       SetAfter(" Short Circuit:", 10,
                "    9   1200.000000      9.1250     -4.7500  1426    5.0150    1  short"),
       [] { EXPECT_EQ(cal_end_freq, 1200); }},
      {"a first row at its bottom",
       SetAfter(" Short Circuit:", 1,
                "    0    0.005000      0.1250     -2.5000  2459    1.0000    2  short"),
       [] { EXPECT_DOUBLE_EQ(cal_start_freq, 0.005); }},
      {"headings in capitals", SetStarting(" Short Circuit:", " SHORT CIRCUIT:"), [] {}},
      {"two further Port B lines",
       [](Lines& l) {
         const size_t at = IndexOf(l, " Port B cal data:") + 3;
         l[at] = " 2";
         l.insert(l.begin() + at + 1, {"x", "y"});
       },
       [] { EXPECT_EQ(PortB_cal, 1); }},
      {"Port B count 0", SetAfter(" Port B cal data:", 1, " 0"),
       [] {
         EXPECT_EQ(PortB_cal, 0);
         EXPECT_EQ(RngGain[2], 5.5);  // the previous calibration's
         EXPECT_EQ(MaxCalBNdx, 19);
       }},
  };
  for (const Acceptance& c : cases) {
    SCOPED_TRACE(c.name);
    PreviousCalibration(c.instrument);
    EXPECT_EQ(Load(Damaged(c.edit)), 0);
    EXPECT_TRUE(Captions().empty());
    EXPECT_EQ(cal_points, 10);
    EXPECT_NEAR(CalDataA[0].shortR, 0.125, 1e-12);
    EXPECT_EQ(cal_file_name, "damaged.vcal");
    c.check();
  }
}

TEST_F(CalFileErrors, ChannelScansTakeTheCalibrationLimits) {
  PreviousCalibration(1);
  multichan_scan = 1;
  ASSERT_EQ(Load(kGolden), 0);
  multichan_scan = 0;
  EXPECT_EQ(start_freq, 1);
  EXPECT_EQ(end_freq, 10);
  EXPECT_EQ(delta_freq, 1);
  PreviousCalibration(1);
  ASSERT_EQ(Load(kGolden), 0);
  EXPECT_EQ(start_freq, 3);
}

TEST_F(CalFileErrors, AFrequencyPlanOtherThanTheDefault) {
  // Entry 1 (40 MHz) with another multiplier code.
  const Edit edit = Set(kPlanCountLine + 2, " 40 429");
  for (int diag : {0, 1}) {
    for (int answer : {kIdYes, kIdNo}) {
      SCOPED_TRACE(::testing::Message() << "diag " << diag << " answer " << answer);
      PreviousCalibration(1);
      DIAGMODE = diag;
      if (diag) testhook::QueueMsgBoxAnswer(answer, " Different Mult Values");
      ASSERT_EQ(Load(Damaged(edit)), 0);
      DIAGMODE = 0;
      const int want = diag && answer == kIdYes ? 428 : 429;
      EXPECT_EQ(freqplan_code[1], want);
      EXPECT_EQ(freq_mult_table[50], want);
      EXPECT_EQ(Captions().size(), diag ? 1u : 0u);
    }
  }
  InitFreqPlan();
}

TEST_F(CalFileErrors, OscillatorBandsOfTheFile) {
  // The file's clock-interval count differs: diagnostic mode asks whether to
  // keep the program's bands; otherwise the file's bands are taken.
  const Edit edit = [](Lines& l) {
    l[BandCountLine(l) - 1] = " 24";
    l[BandCountLine(l) + 1] = " 0.2 61";
  };
  for (int diag : {0, 1}) {
    for (int answer : {kIdYes, kIdNo}) {
      SCOPED_TRACE(::testing::Message() << "diag " << diag << " answer " << answer);
      PreviousCalibration(1);
      DIAGMODE = diag;
      if (diag) testhook::QueueMsgBoxAnswer(answer, " Different Clk Intervals");
      ASSERT_EQ(Load(Damaged(edit)), 0);
      DIAGMODE = 0;
      const bool kept = diag && answer == kIdYes;
      EXPECT_EQ(osc_band_hi[1], kept ? 60 : 61);
      EXPECT_EQ(osc_band_count, 41);
      EXPECT_EQ(GainAfreq5x, 515);
    }
  }
  InitFreqPlan();
}

}  // namespace
}  // namespace vna::test
