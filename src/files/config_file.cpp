// The config loader. Positions are counted, not named: every value line
// (and every file-name line) uses up the next position, so comments may
// stand anywhere. A file that ends before its last position keeps what it
// set so far and says so.
#include "files/config_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "files/letter_case.h"
#include "files/line_reader.h"
#include "files/read_limits.h"
#include "files/settings.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "graph/graph_frame.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/quoted_text.h"

namespace vna {

namespace {

constexpr int kConfigPositions = 63;
constexpr const char* kDefaultConfigName = "_VNA_Config_1.cfg";
constexpr int kFirstBandPosition = 20;

bool Contains(const std::string& s, const char* what) {
  return s.find(what) != std::string::npos;
}

void ConfigMessage(const std::string& text, const std::string& caption) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

// The text after key up to the next blank (blanks after the key skipped).
std::string WordAfter(const std::string& s, size_t key_end) {
  size_t b = s.find_first_not_of(' ', key_end);
  if (b == std::string::npos) return "";
  size_t e = s.find(' ', b);
  return s.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

// A file-name line stores its value and takes the position. The keys are
// found in the lower-cased line_buf; the value is taken from the line as
// read, so a name keeps the letters its file system spells it with.
bool TakeFileNameLine(const std::string& as_read) {
  static const char* const kKeys[3] = {"controlfile=", "outputfile=", "voicefilefolder="};
  for (int k = 0; k < 3; ++k) {
    size_t p = line_buf.find(kKeys[k]);
    if (p == std::string::npos) continue;
    std::string value = WordAfter(as_read, p + std::string(kKeys[k]).size());
    if (k == 1) control_csv = value;
    if (k == 2) {
      if (!value.empty()) value.pop_back();  // the folder less its last character
      voice_folder = value;
    }
    return true;
  }
  return false;
}

// The numbers of a value line into config_numbers[n] .. [1], first number
// first. Blanks and commas separate; each value is kept at single precision.
void ParseConfigNumbers(int n) {
  const std::string s = line_buf + "   ";
  size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) i = s.size();
  for (int k = n; k >= 1; --k) {
    size_t e = i;
    while (e < s.size() && s[e] != ' ' && s[e] != ',') ++e;
    config_numbers[k] = static_cast<float>(LineValue(s.substr(i, e - i)));
    i = e < s.size() ? e + 1 : e;
    while (i < s.size() && s[i] == ' ') ++i;
  }
}

// The colour of the three numbers: red first. No masking, as the file format
// has always packed it.
int ConfigColor(double less = 0) {
  const uint32_t r = static_cast<uint32_t>(Rnd(config_numbers[3] - less));
  const uint32_t g = static_cast<uint32_t>(Rnd(config_numbers[2] - less));
  const uint32_t b = static_cast<uint32_t>(Rnd(config_numbers[1] - less));
  return static_cast<int>((b << 16) | (g << 8) | r);
}

int Whole() {
  return Rnd(config_numbers[1]);
}
int WholeAbs() {
  return Rnd(std::fabs(config_numbers[1]));
}

// clang-format off
// Indices of default_colors.
enum { kLightMagenta, kMagenta, kLightGreen, kGreen, kLightRed, kRed,
       kLightBlue, kBlue, kLightOrange, kOrange, kLightYellow, kYellow };
// The default_colors entry that colour positions 1..13 set (7 is Cyan).
constexpr int kPositionColor[14] = {-1, kRed, kLightRed, kGreen, kLightGreen, kMagenta,
                                    kLightMagenta, -1, kBlue, kLightBlue, kYellow, kLightYellow,
                                    kOrange, kLightOrange};
// clang-format on

void ApplyBand(int n) {
  const double lower = config_numbers[3], upper = config_numbers[2], third = config_numbers[1];
  const double step = third > 20 ? (upper - lower) / (third + 0.00001) : third;
  band_start[n] = lower;
  band_end[n] = upper;
  band_delta[n] = step;
  // The band-skip list must see each band's lower edge as its lower edge.
  bandskip_start[n] = lower;
  bandskip_end[n] = upper;
}

void ApplyPosition(int pos) {
  const double x = config_numbers[1];
  if (pos <= 13 && kPositionColor[pos] >= 0) default_colors[kPositionColor[pos]] = ConfigColor();
  if (pos == 8 && config_numbers[1] == config_numbers[2] && config_numbers[2] == config_numbers[3])
    title_color = Blue;
  // clang-format off
  switch (pos) {
    case 7: Cyan = ConfigColor(); break;
    case 14: chart_bg_color = ConfigColor(); break;
    case 15:
      grid_line_color = ConfigColor();
      grid_color = ConfigColor(30);
      break;
    case 16: files_color = ConfigColor(); break;
    case 18: trace_width = Whole(); break;
    case 36: band_color = ConfigColor(); break;
    case 37: max_points = std::clamp(Whole(), 20, 30000); break;
    case 38: metric = Whole(); break;
    case 39: version_delay = Whole(); break;
    case 40: cfg_win_width = Whole(); break;
    case 41: cfg_win_height = WholeAbs(); break;
    case 42: font_size = std::clamp(WholeAbs(), 3, 10); break;
    case 43: bold_font = WholeAbs(); break;
    case 44: chart_scale = std::clamp(std::fabs(x), 0.5, 3.0); break;
    case 46: recycle_delay = Whole(); break;
    case 47: highbaud = Whole(); break;
    case 49: dspthreshold_factor = x; break;
    case 50: dspthreshold = x; break;
    case 52: regctl_mode = Whole(); break;
    case 53: autosave_graph = WholeAbs(); break;
    case 57: voice_digits = std::clamp(Whole(), 1, 2); break;
    case 58: voice_repeat = Whole(); break;
    case 60: lowres_tol = std::max(WholeAbs(), 1); break;
    case 61: relay_freq = std::fabs(x); break;
    case 62: autobaud = WholeAbs(); break;
    case 63: swr_yoffset = WholeAbs(); break;
    default: break;  // 17, 19, 45, 48, 51, 54..56 and 59 are read and not used
  }
  // clang-format on
}

// Config files of the old program name a path with a drive letter; ours are
// host paths. Either way a full path is not a name.
bool IsFullPath(const std::string& path) {
  return Contains(path, ":") || (!path.empty() && (path[0] == '/' || path[0] == '\\'));
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  if (stat(HostPath(a).c_str(), &sa) != 0 || stat(HostPath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Copies the file just loaded, line by line with CR LF, to the program
// folder's "ZiviRUR.cfg". Only the copy is written, and only as a whole.
void CopyToZiviRUR() {
  const std::string copy = ProgramFolder() + "ZiviRUR.cfg";
  if (SameFile(file_name, copy)) return;  // loading the copy itself: it stays as it is
  if (OpenInputFile(data_file, file_name, kMaxConfigFileBytes) != InputRefusal::kNone) return;
  if (OpenTextFile(file_out, copy, "W") != 0) {
    CloseTextFile(data_file);
    ConfigMessage(ReadOnlyFileText(copy), "Config File");
    return;
  }
  std::string line;
  while (ReadLine(data_file, line) == 0) WriteText(file_out, line);
  CloseTextFile(data_file);
  if (int err = CloseTextFile(file_out)) ConfigMessage(WriteFailedText(copy, err), "Config File");
}

}  // namespace

int IsCommentLine() {
  const std::string& s = line_buf;
  if (s.empty()) return 1;
  size_t first = std::string::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    if (std::isalnum(static_cast<unsigned char>(s[i]))) {
      first = i;
      break;
    }
  }
  if (first == std::string::npos) return 1;
  size_t slashes = s.find("//");
  return slashes != std::string::npos && slashes < first ? 1 : 0;
}

void ReadStationName() {
  size_t p = line_buf.find("station=");
  size_t key = 8;
  if (p == std::string::npos) {
    p = line_buf.find("band=");
    key = 5;
  }
  if (p == std::string::npos) return;
  const size_t b = p + key;
  const size_t e = line_buf.find(' ', b);
  if (band_name_count < 1 || band_name_count > kBandSlots) return;
  band_name[band_name_count] =
      UpperCase(line_buf.substr(b, e == std::string::npos ? std::string::npos : e - b));
}

void ReadConfigLine(int n) {
  for (;;) {
    // Nothing more is read from a file that has ended, whatever it is.
    if (FileEof(data_file)) {
      line_buf.clear();
    } else {
      ReadDataLine(config_line_no);
    }
    ++config_line_no;
    if (FileEof(data_file) || Contains(line_buf, "END of config")) {
      config_end = 1;
      CloseTextFile(data_file);
      return;
    }
    const std::string as_read = line_buf;
    line_buf = LowerCase(line_buf);
    if (!IsCommentLine() && Contains(line_buf, "file") && TakeFileNameLine(as_read)) {
      line_buf = "   ";
      return;  // the position is used up; its numbers stay as they were
    }
    if (IsCommentLine()) continue;
    ParseConfigNumbers(n);
    return;
  }
}

bool InstallDefaultConfig() {
  const std::string path = ProgramFolder() + kDefaultConfigName;
  TextFile probe;
  if (OpenTextFile(probe, path, "R") == 0) {
    CloseTextFile(probe);
    return true;
  }
  const std::string shipped = ShippedFile(kDefaultConfigName);
  if (shipped.empty()) return false;
  // Written the way the program writes text files: every line ended by CR LF,
  // in place only once complete.
  TextFile out;
  if (OpenTextFile(out, path, "W") != 0) return false;
  size_t at = 0;
  while (at < shipped.size()) {
    size_t end = shipped.find('\n', at);
    if (end == std::string::npos) end = shipped.size();
    WriteText(out, shipped.substr(at, end - at));
    at = end + 1;
  }
  return CloseTextFile(out) == 0;
}

void LoadConfig() {
  config_end = 0;
  config_line_no = 1;
  config_version = 0;
  config_loaded = 0;

  if (OpenTextFile(data_file, file_name, "R") != 0) {
    file_name = ProgramFolder() + kDefaultConfigName;
    config_file_name = config_file_path = file_name;
  } else {
    CloseTextFile(data_file);
  }
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, file_name, kMaxConfigFileBytes, &size);
  if (refusal != InputRefusal::kNone) {
    ConfigMessage(refusal == InputRefusal::kTooLarge
                      ? "The file named: " + QuotedPath(file_name) + "\r" +
                            TooLargeText(size, "any config file")
                      : "Config file was not found\r" + QuotedPath(file_name),
                  "Config File");
    if (config_interactive == 1) DrawGraph();
    return;
  }
  if (!IsFullPath(file_name)) config_file_name = file_name;

  ReadDataLine(config_line_no);
  const std::string title = line_buf;
  for (int i = 0; i < 5; ++i) {
    ReadDataLine(config_line_no);
    const std::string line = LowerCase(line_buf);
    const size_t p = line.find("config_version=");
    if (p != std::string::npos) config_version = Rnd(LineValue(line.substr(p + 15, 4)));
  }
  if (config_version < config_version_min) {
    CloseTextFile(data_file);
    ConfigMessage("This config file is not the latest version. " + NumStr(config_version_min) +
                      "\rIt doesn't have all the new features.\rPlease select a new config file.",
                  " Invalid config file");
    config_file_name = "_VNA_Config_1.cfg";
    config_file_path = "_VNA_Config_1.cfg";
    return;
  }

  for (int pos = 1; pos <= kConfigPositions; ++pos) {
    if (pos == kFirstBandPosition) band_name_count = 1;
    const bool band = pos >= kFirstBandPosition && pos < kFirstBandPosition + kBandPresets;
    const bool three = pos <= 16 || band || pos == 36;
    ReadConfigLine(three ? 3 : 1);
    if (config_end == 1) {
      ConfigMessage("The config file ended before all its values were read:\r" +
                        QuotedPath(file_name) + "\rThe values from position" + NumStr(pos) +
                        " on keep their present values.",
                    "Config File");
      return;
    }
    if (band) {
      ApplyBand(band_name_count);
      ReadStationName();
      ++band_name_count;
    } else {
      ApplyPosition(pos);
    }
  }
  config_loaded = 1;
  CloseTextFile(data_file);

  CopyToZiviRUR();
  if (config_interactive == 1) {
    DrawGraph();
    ConfigMessage(QuotedText(title), "Config File");
    DrawGraph();
  }
}

}  // namespace vna
