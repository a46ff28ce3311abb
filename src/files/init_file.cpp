// Reading and writing the init and state files line by line through the
// settings table. Reading never trusts the file: every line has its own
// limits, a file that ends early leaves the unread settings as they were,
// and ClampSettings runs after every complete read. Writing replaces the old
// file only with a complete new one.
#include "files/init_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "files/line_reader.h"
#include "files/read_limits.h"
#include "files/refused_file.h"
#include "files/settings.h"
#include "files/settings_clamp.h"
#include "files/settings_table.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "graph/markers.h"
#include "graph/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/quoted_text.h"
#include "files/read_errors.h"

namespace vna {

namespace {

constexpr char kCR[] = "\r";

void InitMessage(const std::string& text, const std::string& caption) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

// The reader's position in the lines the file held. A line asked for after
// the file ended is "missing": unlike an empty line it changes nothing.
struct InitReader {
  const std::vector<std::string>& lines;
  int line_no = 1;       // the number of the next line
  int last_present = 0;  // last line the file really held
  bool ended = false;

  // The next line into line_buf; false when the file had ended.
  bool Next() {
    const bool present = !ended && static_cast<size_t>(line_no) <= lines.size();
    if (present) {
      line_buf = lines[line_no - 1];
      last_present = line_no;
    } else {
      line_buf.clear();
      ended = true;
    }
    ++line_no;
    return present;
  }
};

// Every line of the open data_file, as the line reader gives them. Every
// line the writer writes ends with CR LF: a last line without a line end is
// one the file was cut in, and is left out as a line the file does not hold.
std::vector<std::string> ReadAllLines() {
  std::vector<std::string> lines;
  while (!FileEof(data_file)) {
    ReadDataLine(static_cast<int>(lines.size()) + 1);
    lines.push_back(line_buf);
  }
  if (!lines.empty() && std::fseek(data_file.fp, -1, SEEK_END) == 0) {
    const int last = std::fgetc(data_file.fp);
    if (last != '\r' && last != '\n') lines.pop_back();
  }
  return lines;
}

// The next line, when the file holds it, holds a number after its key
// word; false when it holds none.
bool NextHoldsNumber(InitReader& r) {
  if (!r.Next()) return true;
  GetInitValue();
  return HoldsNumber(line_buf);
}

// The first line of the file that holds no number where the table has one
// (a keyed setting, the marker count, a marker value); 0 when every line
// does. Lines the file does not hold are not counted: they keep their
// settings.
int FirstLineWithoutNumber(const std::vector<std::string>& lines) {
  InitReader r{lines};
  for (const InitLine& l : InitFileLines()) {
    switch (l.kind) {
      case InitLineKind::kFormat:  // checked on its own
      case InitLineKind::kSpare:
        r.Next();
        break;
      case InitLineKind::kSetting:
        if (!l.key) {
          r.Next();  // a text
        } else if (!NextHoldsNumber(r)) {
          return r.line_no - 1;
        }
        break;
      case InitLineKind::kMarkerCount: {
        if (!NextHoldsNumber(r)) return r.line_no - 1;
        const int n = r.ended ? 0 : LineValueInt();
        if (n > kMaxMarkers || n < 0) return 0;  // refused on its own
        for (int i = 0; i < 6 * n; ++i) {
          if (!NextHoldsNumber(r)) return r.line_no - 1;
        }
        break;
      }
      case InitLineKind::kMarkers:
      case InitLineKind::kEnd:
        break;
    }
  }
  return 0;
}

// Reads one line of the table into its setting.
void ReadSetting(InitReader& r, const InitLine& l) {
  if (!r.Next()) return;
  if (l.key) GetInitValue();
  const std::string& text = line_buf;
  const double v = LineValue(text);
  if (l.read) {
    l.read(v, text);
  } else if (l.int_value) {
    *l.int_value = Rnd(v);
  } else if (l.double_value) {
    *l.double_value = v;
  } else if (l.text_value) {
    *l.text_value = text;
  }
}

// The marker count line and its groups. False when the count is out of
// range: the markers are then empty and nothing after the count is read.
bool ReadMarkers(InitReader& r) {
  ClearMarkers();
  int n = 0;
  if (r.Next()) {
    GetInitValue();
    n = LineValueInt();
  }
  if (n > kMaxMarkers || n < 0) {
    InitMessage(" Incorrect number of markers in init file.\r\nNumber read = " + NumStr(n) +
                    NoteRefusedFile(file_name),
                " Init file error 2183");
    ClearMarkers();
    marker_count = 0;
    return false;
  }
  int valid = 0;
  for (int i = 1; i <= n; ++i) {
    Marker& m = markers[i];
    double* fields[6] = {&m.Freq, &m.Rs, &m.Xs, &m.Phase, &m.SWR, &m.Rt};
    for (double* field : fields) {
      if (!r.Next()) continue;
      GetInitValue();
      *field = LineValue();
    }
    if (m.Freq < 0.001) m.Freq = 9999;
    if (m.Freq > 0.001 && m.Freq < 9000) ++valid;
  }
  marker_count = valid;
  SortMarkers();
  return true;
}

// A calibration band beyond the instrument's range takes its defaults.
void CheckCalBand(double& start, double& end, double& delta, double start_def, double end_def,
                  double delta_def) {
  if (end > maximumfreq || start < min_freq) {
    start = start_def;
    end = end_def;
    delta = delta_def;
  }
}

// A text setting as one line: cut at a line break (which would move every
// later line) and to the 254 characters a reader keeps.
std::string LineText(const std::string& s) {
  std::string t = s.substr(0, s.find_first_of("\r\n"));
  if (t.size() > kLineBufChars) t.resize(kLineBufChars);
  return t;
}

std::string ValueText(const InitLine& l) {
  if (l.write) return l.write();
  if (l.int_value) return NumStr(*l.int_value);
  if (l.double_value) return SettingNumber(*l.double_value);
  if (l.text_value) return *l.text_value;
  return "";
}

void WriteMarkerGroups() {
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const Marker& m = markers[i];
    const double fields[6] = {m.Freq, m.Rs, m.Xs, m.Phase, m.SWR, m.Rt};
    for (int k = 0; k < 6; ++k) WriteText(data_file, kMarkerKeys[k] + SettingNumber(fields[k]));
  }
}

}  // namespace

std::string InitFileName() {
  return "VNA_Init_Data_" + NumStr(format + 4152) + ".ini";
}

void ReadInitFile() {
  msg_text = InitFileName();
  file_name = ProgramFolder() + msg_text;
  LoadInitData();
}

void WriteInitFile() {
  msg_text = InitFileName();
  file_name = ProgramFolder() + msg_text;
  // A file refused at start-up holds the user's settings, not these.
  if (!SetRefusedFileAside(file_name)) {
    InitMessage("The file named: " + QuotedPath(file_name) + kCR +
                    "which this program could not read, could not be kept as " +
                    QuotedPath(RefusedFileName(file_name)) + "." + kCR +
                    "It was not replaced: the present settings were not saved.",
                " File not saved");
    return;
  }
  SaveInitData();
}

void GetInitValue() {
  const std::string s = line_buf;
  const size_t n = s.size();
  size_t i = 1;  // 1-based position, as the format describes it
  while (i < n && s[i - 1] == ' ') ++i;
  do {
    ++i;
  } while (i <= n && s[i - 1] != ' ');
  line_buf = i <= n ? s.substr(i - 1) : std::string();
}

void LoadInitData() {
  const std::vector<InitLine>& lines = InitFileLines();
  // Every line the writer writes, the marker groups six lines each.
  const int64_t most = MaxFileBytes(static_cast<int64_t>(lines.size()) + 6 * kMaxMarkers);
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, file_name, most, &size);
  if (refusal == InputRefusal::kTooLarge) {
    InitMessage(
        "The file named: " + QuotedPath(file_name) + kCR + TooLargeText(size, "any settings file") +
            NoteRefusedFile(file_name),
        " Invalid *.ini file");
    return;
  }
  if (refusal != InputRefusal::kNone) {
    const std::string why = NotReadText(file_name);
    InitMessage(why.empty() ? std::string("The INIT data file was not found in the same folder "
                                          "with the .exe file.") +
                                  kCR + "Make sure these files are in the same folder."
                            : why,
                " No INIT data  error=7321");
    ClampSettings();
    return;
  }
  const std::vector<std::string> held = ReadAllLines();
  CloseTextFile(data_file);
  const int decimals = number_decimals;
  SetDigits(8);
  InitReader r{held};
  for (const InitLine& l : lines) {
    switch (l.kind) {
      case InitLineKind::kFormat: {
        int n = 0;
        if (r.Next()) {
          GetInitValue();
          n = LineValueInt();
        }
        if (n != format + 4152) {
          InitMessage(std::string("The init file is not compatible with this program.") + kCR +
                          "The expected format is: " + NumStr(format + 4152) + kCR + kCR +
                          "\nA new init file will be created when you close this program.",
                      " Invalid *.ini file");
          return;
        }
        // A line without a number where one belongs would read as 0, and a
        // line too many or too few would move every setting after it: the
        // file is refused whole before a setting is taken.
        if (const int bad = FirstLineWithoutNumber(held); bad != 0) {
          SetDigits(decimals);
          InitMessage("The file named: " + QuotedPath(file_name) + kCR + "holds no number on line" +
                          NumStr(bad) + ", where a setting needs one." + kCR +
                          "None of its settings were taken." + NoteRefusedFile(file_name),
                      " Invalid *.ini file");
          return;
        }
        break;
      }
      case InitLineKind::kSetting:
        ReadSetting(r, l);
        break;
      case InitLineKind::kMarkerCount:
        if (!ReadMarkers(r)) return;
        break;
      case InitLineKind::kMarkers:
        break;  // read with the count
      case InitLineKind::kSpare:
        r.Next();
        break;
      case InitLineKind::kEnd:
        break;  // the end line is not read
    }
  }
  CheckCalBand(BCcalStart, BCcalEnd, BCcalDelta, BCcalStart_def, BCcalEnd_def, BCcalDelta_def);
  CheckCalBand(HFcalStart, HFcalEnd, HFcalDelta, HFcalStart_def, HFcalEnd_def, HFcalDelta_def);
  CheckCalBand(VHFcalStart, VHFcalEnd, VHFcalDelta, VHFcalStart_def, VHFcalEnd_def,
               VHFcalDelta_def);
  CheckCalBand(UHFcalStart, UHFcalEnd, UHFcalDelta, UHFcalStart_def, UHFcalEnd_def,
               UHFcalDelta_def);
  BuildMenus();
  SetDigits(3);
  ClampSettings();
  if (r.ended) {
    InitMessage("The settings file ended early, after line" + NumStr(r.last_present) + ":" + kCR +
                    QuotedPath(file_name) + kCR +
                    "The settings it did not hold keep their present values.",
                " Init file incomplete");
  }
}

bool SaveInitData() {
  if (OpenTextFile(data_file, file_name, "W") != 0) {
    if (file_name.size() > 2) InitMessage(ReadOnlyFileText(msg_text), "");
    return false;
  }
  SetDigits(8);
  for (const InitLine& l : InitFileLines()) {
    switch (l.kind) {
      case InitLineKind::kFormat:
      case InitLineKind::kMarkerCount:
      case InitLineKind::kSetting:
        WriteText(data_file, l.key ? l.key + ValueText(l) : LineText(ValueText(l)));
        break;
      case InitLineKind::kMarkers:
        WriteMarkerGroups();
        break;
      case InitLineKind::kSpare:
        WriteText(data_file, "");
        break;
      case InitLineKind::kEnd:
        WriteText(data_file, kInitEndLine);
        break;
    }
  }
  SetDigits(3);
  if (int err = CloseTextFile(data_file)) {
    InitMessage(WriteFailedText(msg_text, err), " File not saved");
    return false;
  }
  return true;
}

}  // namespace vna
