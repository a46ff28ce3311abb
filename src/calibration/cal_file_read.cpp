// Loading a calibration file: every line is checked into temporaries, and
// the calibration is taken only when the whole file passed.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calibration/cal_file.h"
#include "calibration/cal_limits.h"
#include "calibration/state.h"
#include "files/letter_case.h"
#include "files/line_reader.h"
#include "files/read_errors.h"
#include "files/read_limits.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "graph/freq_grid.h"
#include "graph/text_panels.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "shell/menus.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

namespace {

constexpr int kFormat = 16300;
constexpr int kStatusNotLoaded = 34508;
constexpr int kStatusLineError = 87212;
// Five tables of rows, and a thousand lines for the header, the parameters,
// the model block and the Port B counts.
constexpr int64_t kMaxCalFileBytes = MaxFileBytes(5 * (kMaxCalPoints + 1) + 1000);

// Everything a calibration file holds, as read.
struct LoadedCal {
  std::string prog_version, date, comment;
  double rstd = 0, temperature = 0;
  int std_cal = 0;
  double start = 0, end = 0, delta = 0;  // lines 11..13
  double amplitude = 0;
  int sens = 2, gain = 1;
  int points = 0;
  std::vector<CalPointA> a;
  bool has_b = false;
  int indep = 0;
  double rng_gain[6] = {}, rng[6] = {};
  std::vector<CalPointB> b;
  // Model block of the two-multiplier model.
  int plan_bp[kPlanSize] = {}, plan_code[kPlanSize] = {};
  double gain5x = 0, gain2 = 0;
  bool take_bands = false;
  int band_count = 0;
  double band_lo[kOscBandSize] = {}, band_hi[kOscBandSize] = {};
};

// Within min_freq .. maximumfreq, to the file's 6 decimals; before the
// model is known only its lower end holds.
bool InstrumentRange(double freq) {
  constexpr double kSlack = 0.000001;
  if (!(freq >= min_freq - kSlack)) return false;
  return maximumfreq <= min_freq || freq <= maximumfreq + kSlack;
}

// The next line of the file into line_buf. A file that ends before the
// calibration does is reported here, once, and ends the load.
class LineSource {
 public:
  bool Next() {
    ++line_no_;
    if (FileEof(data_file)) return Bad("");
    ReadDataLine(line_no_);
    return true;
  }
  // The line just read is no line the file may hold there: said once, with
  // why when there is more to say than its number; ends the load.
  bool Bad(const std::string& why) {
    MsgBox(&main_win,
           "error in file\r\n" + QuotedPath(file_name) + "\r\n on line " + NumStr(line_no_) +
               (why.empty() ? "" : "\r\n" + why),
           "//87212", kMbOk, kIconNone, true);
    vna_status = kStatusLineError;
    return false;
  }
  // The next line's value; false at the end of the file, or when the line
  // holds no number (said as for a row without its numbers).
  bool Value(double& v) {
    if (!Next()) return false;
    if (!HoldsNumber(line_buf)) return Bad("It holds no number where the file needs one.");
    v = LineValue();
    return true;
  }
  bool Int(int& v) {
    double d = 0;
    if (!Value(d)) return false;
    v = Rnd(d);
    return true;
  }
  bool Skip(double count) {
    for (double i = 0; i < count; ++i) {
      if (!Next()) return false;
    }
    return true;
  }
  // The next line cut into cal_field.
  bool Fields() {
    if (!Next()) return false;
    SplitCalLine();
    return true;
  }
  // The next table row, whose fields first..last hold the numbers the table
  // takes from it: a row without them would load as zeros.
  bool Row(int first, int last) {
    if (!Fields()) return false;
    for (int k = first; k <= last; ++k) {
      if (!HoldsNumber(cal_field[k])) {
        return Bad("It does not hold the numbers its table needs there.");
      }
    }
    return true;
  }
  // A table's frequencies rise from row to row (equal ones are kept).
  bool Rising(double freq, double before) {
    return freq >= before || Bad("Its frequency is below the one of the row before.");
  }
  // A row's frequency is one the instrument measures: a calibration holds
  // no reading beyond its range.
  bool Measurable(double freq) {
    return InstrumentRange(freq) || Bad("Its frequency lies outside the instrument's range, up to" +
                                        NumStr(Rnd(maximumfreq)) + " MHz.");
  }

 private:
  int line_no_ = 0;
};

double Field(int k) {
  return ParseNumber(cal_field[k]);
}

bool Silenced() {
  return api_busy != 0;
}

void Box(const std::string& text, const std::string& caption, bool topmost = true) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, topmost);
}

// A heading the file must have where it stands, and what a file without it
// is told.
struct HeadingCheck {
  const char* word;      // found anywhere in the line, in any case
  const char* expected;  // the message's name of it
  const char* caption;
  int status;
  bool silenced;  // not shown while an export runs
  bool topmost;
};
constexpr HeadingCheck kLowRange{"low range", "low range", "Incorrect Cal File Format 25",
                                 2383,        false,       false};

struct PortATable {
  HeadingCheck heading;
  double CalPointA::*r;
  double CalPointA::*x;
};
const PortATable kPortATables[] = {
    {{"short", "Short Circuit", " Incorrect Cal File Format 22", kStatusNotLoaded, true, true},
     &CalPointA::shortR,
     &CalPointA::shortX},
    {{"open circuit", "Open Circuit", " Incorrect Cal File Format 23", 2381, false, true},
     &CalPointA::openR,
     &CalPointA::openX},
    {{"resistance", "resistance", " Incorrect Cal File Format 24", 2382, false, true},
     &CalPointA::stdR,
     &CalPointA::stdX},
};

// The next line, which must hold the heading; false when it does not (its
// message shown and its status set) or the file ended.
bool NextHeading(LineSource& in, const HeadingCheck& h) {
  if (!in.Next()) return false;
  const std::string read = LowerCase(line_buf);
  if (read.find(h.word) != std::string::npos) return true;
  if (!(h.silenced && Silenced())) {
    Box(std::string("Cal file error:\rExpected:    ") + h.expected +
            "\rRead    :  " + QuotedText(read),
        h.caption, h.topmost);
  }
  vna_status = h.status;
  return false;
}

// The third line of a refused file, quoted.
std::string VersionOfRejected(LineSource& in) {
  if (!in.Next() || !in.Next()) return "";
  return QuotedText(line_buf, 40);
}

bool AskYesNo(const std::string& text, const std::string& caption) {
  return MsgBox(&main_win, text, caption, kMbYesNo, kIconNone, true) == kIdYes;
}

// The model block of the two-multiplier model (layout in cal_file.h).
// False when the load must end here.
bool ReadModelBlock(LineSource& in, LoadedCal& c) {
  if (!in.Next()) return false;  // its heading
  int n = 0;
  if (!in.Int(n)) return false;
  const int status_before = vna_status;
  // Entries of a count the block can have hold their two numbers; after a
  // count it cannot have, the lines are read past to the block's own
  // complaint.
  const bool counted = n >= 4 && n <= kPlanSize;
  if (n > 100) {
    n = 100;
    vna_status = 213;
  }
  if (n < 4) {
    n = 4;
    vna_status = 14;
  }
  // A longer plan than the tables hold is read past, not stored.
  if (n > kPlanSize) vna_status = 213;
  std::copy(freqplan_bp, freqplan_bp + kPlanSize, c.plan_bp);
  std::copy(freqplan_code, freqplan_code + kPlanSize, c.plan_code);
  bool differs = false;
  for (int i = 0; i < n; ++i) {
    if (!(counted ? in.Row(0, 1) : in.Fields())) return false;
    if (i >= kPlanSize) continue;
    c.plan_bp[i] = Rnd(Field(0));
    c.plan_code[i] = Rnd(Field(1));
    differs |= c.plan_bp[i] != freqplan_default_bp[i] || c.plan_code[i] != freqplan_default_code[i];
  }
  if (DIAGMODE != 0 && differs &&
      AskYesNo("DIAGMODE IS ON: The mults used for this cal file are different\r\nfrom the default "
               "values.\r\n\r\nDo you want to use the default values?",
               " Different Mult Values")) {
    for (int i = 0; i <= std::min(n, kPlanSize - 1); ++i) {
      c.plan_bp[i] = freqplan_default_bp[i];
      c.plan_code[i] = freqplan_default_code[i];
    }
    vna_status = status_before;  // the plan's own complaint is answered
  }
  if (vna_present != 0 && vna_status > 0) {
    if (!Silenced()) {
      Box("This cal file is not compatible with the program.\r\n\r\nPlease recalibrate",
          " Cal data not compatable");
    }
    vna_status = kStatusNotLoaded;
    return false;
  }
  int clk = 0, m = 0;
  if (!in.Value(c.gain5x) || !in.Value(c.gain2) || !in.Int(clk)) return false;
  c.take_bands = !(DIAGMODE != 0 && clk != clk_intervals &&
                   AskYesNo("DIAGMODE IS ON: The clk intervals used for this cal file are "
                            "different\r\nfrom the default values.\r\n\r\nDo you want to use the "
                            "original default values?",
                            " Different Clk Intervals"));
  if (!in.Int(m)) return false;
  const bool bands_counted = m >= 0 && m <= kOscBandSize - 1;
  if (m < 0) {
    m = 0;
    vna_status = 14;
  }
  if (m > kOscBandSize - 1) {
    m = kOscBandSize - 1;
    vna_status = 213;
  }
  c.band_count = m;
  for (int i = 1; i <= m; ++i) {
    if (!(bands_counted ? in.Row(0, 1) : in.Fields())) return false;
    c.band_lo[i] = Field(0);
    c.band_hi[i] = Field(1);
  }
  return true;
}

// Reads the whole file into c. False when the load ended with its message
// shown (vna_status tells which); true when every line was read, and then
// vna_status 0 means the file may be taken.
bool ReadCalFile(LoadedCal& c) {
  LineSource in;
  SetDigits(8);
  // Any first line that is not the format number, words too, is a file of
  // another format.
  if (!in.Next()) return false;
  const int format = LineValueInt();
  if (format != kFormat) {
    if (vna_present != 0 && !Silenced()) {
      const std::string version = VersionOfRejected(in);
      Box("The cal file is not in a compatible format for this program.\r\n\r\nThis cal file "
          "format is: " +
              NumStr(format) + "\r\nIt should be: " + NumStr(kFormat) +
              "\r\n\r\nThis cal file was created with program version : " + version,
          " Incorrect Cal File Format");
    }
    vna_status = kStatusNotLoaded;
    return false;
  }
  double max_mhz = 0;
  if (!in.Value(max_mhz)) return false;
  if (vna_present != 0 && std::fabs(max_mhz - maximumfreq) > 0.01) {
    if (!Silenced()) {
      Box("The cal data file is not appropriate for this particular instrument.\rThis instrument "
          "has a freq range of " +
              NumStr(Rnd(maximumfreq)) + " MHz.\rThe cal file has a range of " + NumStr(max_mhz) +
              " MHz.\r\rPlease calibrate again.",
          " Max Freq Cal Error 34509");
    }
    vna_status = 34509;
    return false;
  }
  if (!in.Next()) return false;
  c.prog_version = line_buf;
  // The version line names the model the file was written on, which also
  // decides whether the model block follows. Without an instrument the
  // program stands in for the two-multiplier model, and nothing is wrong
  // with a file of the other model: it stays unread, and named, until its
  // instrument is back.
  if (vna_present == 0 && (line_buf.rfind("Zelmar_", 0) == 0) != (model_uhf != 0)) {
    vna_status = kStatusCalNeedsInstrument;
    return false;
  }
  if (!in.Next() || !in.Next()) return false;  // the instrument line is not used
  c.date = line_buf;
  if (!in.Next() || !in.Value(c.rstd)) return false;
  // Every corrected reading is scaled by the standard resistor.
  if (!(c.rstd > 0 && c.rstd <= kMaxRstd)) {
    return in.Bad("Its calibration resistor must be more than 0 and at most" + NumStr(kMaxRstd) +
                  " ohms.");
  }
  if (!in.Next()) return false;
  c.comment = line_buf;
  if (!in.Value(c.temperature) || !in.Int(c.std_cal)) return false;
  if (!in.Value(c.start) || !in.Value(c.end) || !in.Value(c.delta)) return false;
  if (!in.Value(c.amplitude) || !in.Int(c.sens) || !in.Int(c.gain)) return false;
  if (c.sens > 2 || c.sens < 1) c.sens = 2;

  if (!in.Int(c.points)) return false;
  if (c.points < 10 || c.points > kMaxCalPoints) {
    c.points = 57;
    vna_status = 7232;
  }
  int params = 0;
  if (!in.Int(params)) return false;
  if (params < 1 || params > 100) {
    Box("Error in buffer value.\r\nNumber of parameters =" + NumStr(params),
        " Cal Data File Error 72852");
    vna_status = 72852;
    return false;
  }
  if (!in.Skip(params - 1)) return false;
  if (model_uhf != 0 && !ReadModelBlock(in, c)) return false;

  if (!in.Value(c.amplitude)) return false;
  if (c.amplitude > 100 || c.amplitude < 0) {
    if (!Silenced()) {
      Box("DDS amplitude is invalid = " + NumStr(c.amplitude) + "\r\nNew cal data is required.",
          " Cal Data File Error 87211");
    }
    vna_status = kStatusNotLoaded;
    return false;
  }

  const int n = c.points;
  c.a.assign(n, CalPointA{});
  for (const PortATable& t : kPortATables) {
    if (!NextHeading(in, t.heading)) return false;
    const bool shared = t.r == &CalPointA::shortR;
    for (int i = 0; i < n; ++i) {
      CalPointA& p = c.a[i];
      if (!in.Row(shared ? 1 : 2, shared ? 6 : 3)) return false;
      p.*t.r = Field(2);
      p.*t.x = Field(3);
      if (!shared) continue;
      // The short circuit's rows carry what the three tables share.
      p.freq = Field(1);
      p.multstate = Rnd(Field(4) + 2);
      p.gainA = Field(5);
      p.osc = Rnd(Field(6));
      if (!in.Measurable(p.freq)) return false;
      if (i > 0 && !in.Rising(p.freq, c.a[i - 1].freq)) return false;
      // Rows that all lie at one frequency leave no range to scan in.
      if (i == n - 1 && p.freq <= c.a[0].freq) {
        return in.Bad("Its table lies at one frequency: no scan fits inside it.");
      }
    }
  }

  int nb = 0, further = 0;
  if (!in.Next() || !in.Int(nb) || !in.Int(c.indep) || !in.Int(further)) return false;
  if (!in.Skip(further)) return false;
  if (nb <= 0) return true;

  c.has_b = true;
  for (int k = 1; k <= 5; ++k) {
    if (!in.Row(1, 2)) return false;
    // Port B readings are divided by the gain of their range.
    if (!(Field(1) > 0)) return in.Bad("Its gain must be more than 0.");
    c.rng_gain[k] = Field(1);
    c.rng[k] = Field(2) / 57.3;
  }
  // Without its heading the low table is still read; the load fails at its end.
  if (!NextHeading(in, kLowRange) && vna_status != kLowRange.status) return false;
  c.b.assign(n, CalPointB{});
  for (int i = 0; i < n; ++i) {
    CalPointB& p = c.b[i];
    if (!in.Row(1, 7)) return false;
    p.freq = Field(1);
    p.ratio_low = Field(2);
    p.phase_low = Field(3) / 57.3;
    p.multstate = Rnd(Field(4) + 2);
    p.gainA = Field(5);
    p.gainB = Field(6);
    p.osc = Rnd(Field(7));
    if (!in.Measurable(p.freq)) return false;
    if (i > 0 && !in.Rising(p.freq, c.b[i - 1].freq)) return false;
  }
  if (!in.Next()) return false;  // "B High range"
  for (CalPointB& p : c.b) {
    if (!in.Row(2, 3)) return false;
    p.ratio_high = Field(2);
    p.phase_high = Field(3) / 57.3;
  }
  return true;
}

void TakeModelBlock(const LoadedCal& c) {
  std::copy(c.plan_bp, c.plan_bp + kPlanSize, freqplan_bp);
  std::copy(c.plan_code, c.plan_code + kPlanSize, freqplan_code);
  BuildFreqLookup();
  GainAfreq5x = c.gain5x;
  GainAfreq2 = c.gain2;
  if (c.take_bands) {
    osc_band_count = c.band_count;
    for (int i = 1; i <= c.band_count; ++i) {
      osc_band_lo[i] = c.band_lo[i];
      osc_band_hi[i] = c.band_hi[i];
    }
  }
}

void TakeCalibration(const LoadedCal& c) {
  cal_prog_version = c.prog_version;
  cal_date = c.date;
  Rstd = c.rstd;
  cal_comment = c.comment;
  cal_temperature = c.temperature;
  std_cal = c.std_cal;
  cal_delta_freq = c.delta;
  if (multichan_scan != 0) {
    start_freq = c.start;
    end_freq = c.end;
    delta_freq = c.delta;
  }
  DDS_Amplitude = c.amplitude;
  PortA_Sens = c.sens;
  PortA_Gain = c.gain;
  if (model_uhf != 0) TakeModelBlock(c);

  const int n = c.points;
  cal_points = n;
  MaxCalANdx = n - 1;
  std::copy(c.a.begin(), c.a.end(), CalDataA);
  cal_start_freq = c.a.front().freq;
  cal_end_freq = c.a.back().freq;
  indep_chan = c.indep;
  PortB_cal = c.has_b ? 1 : 0;
  if (c.has_b) {
    MaxCalBNdx = n - 1;
    std::copy(c.b.begin(), c.b.end(), CalDataB);
    for (int k = 1; k <= 5; ++k) {
      RngGain[k] = c.rng_gain[k];
      Rng[k] = c.rng[k];
    }
  }
  PortA_cal = 1;
  cal_valid = 1;
  cal_unsaved = 0;
}

// The scan limits inside the calibration, the start below the end: a scan
// measures only where the calibration has records. The grid then moves the
// end out to the graph's edge, no further than the calibration's end.
void KeepScanInsideCalibration() {
  if (!(start_freq >= cal_start_freq && start_freq < cal_end_freq)) start_freq = cal_start_freq;
  if (!(end_freq > start_freq && end_freq <= cal_end_freq)) end_freq = cal_end_freq;
}

// The box names the file it describes: after a calibration, the one just
// written (or the earlier one, when none was).
void ShowSummary() {
  std::string text = "Calibration File --- " + QuotedPath(cal_file_name) +
                     "\r\rRange = " + NumStr(cal_start_freq) + " to " + NumStr(cal_end_freq) +
                     " MHz\r";
  if (std_cal == 0) text += "Freq step size =" + NumStr(cal_delta_freq) + " MHz\r";
  if (!cal_comment.empty()) text += "\rComment: " + QuotedText(cal_comment, kLineBufChars) + "\r\r";
  text += "Cal resistor used was " + NumStr(Rstd) + " ohms\r\rZref for analysis = " + NumStr(Zref) +
          " ohms\r\rThis cal file is valid for Port A " +
          (PortB_cal != 0 ? "and Port B." : "only.");
  Box(text, " Calibration");
}

// The file could not be opened: what is true of it, and of the calibration
// in force, which a failed load leaves as it was.
void NotLoadedBox() {
  const std::string why = NotReadText(file_name);
  const bool kept = PortA_cal != 0 && mux_chan == 0;
  const std::string what = why.empty() ? "The calibration file was not found." : why;
  if (kept) {
    Box(what + "\rThe calibration in force is kept.", " Calibration");
  } else {
    Box(what + "\rPlease run the calibration procedure before doing any tests.", " Cal Required");
  }
}

}  // namespace

void SplitCalLine() {
  for (std::string& f : cal_field) f.clear();
  size_t p = 0;
  const size_t n = line_buf.size();
  for (int k = 0; k < 8; ++k) {
    while (p < n && (line_buf[p] == ' ' || line_buf[p] == '\t')) ++p;
    if (p >= n) break;
    const size_t start = p;
    while (p < n && line_buf[p] != ' ' && line_buf[p] != '\t') ++p;
    cal_field[k] = line_buf.substr(start, p - start);
  }
}

void GetPortACal(int show_summary) {
  SUB = "GetPortACal";
  vna_status = 0;
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, file_name, kMaxCalFileBytes, &size);
  if (refusal == InputRefusal::kTooLarge) {
    // Shown as a file of the wrong format is.
    if (vna_present != 0 && !Silenced()) {
      Box("The file named: " + QuotedPath(file_name) + "\r" +
              TooLargeText(size, "any calibration file"),
          " Incorrect Cal File Format");
    }
    if (mux_chan > 0) PortB_cal = 0;
    vna_status = kStatusNotLoaded;
    return;
  }
  if (refusal != InputRefusal::kNone) {
    if (vna_present != 0 && !Silenced()) NotLoadedBox();
    if (mux_chan > 0) PortB_cal = 0;
    vna_status = kStatusNotLoaded;
    return;
  }
  LoadedCal c;
  const bool read = ReadCalFile(c);
  CloseTextFile(data_file);
  if (read && vna_status != 0) {
    SetDigits(3);
    Box(" Cal File Error = " + NumStr(vna_status), " 92323", false);
  }
  if (vna_status == kStatusCalNeedsInstrument && show_summary == 1 && !Silenced()) {
    Box("This calibration file was made on the other model of the VNA.\r"
        "Without the VNA (demonstration mode) it cannot be loaded.",
        " Calibration");
  }
  if (!read || vna_status != 0) {
    // This channel's calibration is unusable, whatever the last one was.
    if (mux_chan > 0) PortB_cal = 0;
    return;
  }

  TakeCalibration(c);
  KeepScanInsideCalibration();
  FreqGrid();
  DDSAmplitude(DDS_Amplitude);
  ProgGain();
  SetDigits(3);
  SplitPathInto(file_name, cal_file_name, cal_folder);
  DrawFilesPanel();
  if (show_summary == 1) ShowSummary();
  BuildMenus();
}

}  // namespace vna
