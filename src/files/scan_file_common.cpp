#include "files/scan_file_common.h"

#include <algorithm>
#include <cmath>

#include "files/line_reader.h"
#include "files/read_limits.h"
#include "files/scan_file_a.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "shell/quoted_text.h"

namespace vna {

bool StoredScanSavable(bool port_b, bool tell) {
  const int ok = port_b ? scanb_ok : scana_ok;
  const int points = port_b ? scanB_npoints : scanA_npoints;
  if (ok == 1 && points >= 1) return true;
  if (tell) {
    const std::string port = port_b ? "B" : "A";
    scanfile::Box("There is no measured Port " + port + " scan to save.",
                  " Save Port " + port + " Graph");
  }
  return false;
}

namespace scanfile {

bool IsChoice(const std::string& path) {
  return path.size() > 2;
}

void AskForName(const std::string& title, bool save, const std::string& filter,
                const std::string& ext) {
  dialog_folder = scan_folder.size() > 2 ? scan_folder : ProgramFolder();
  file_name = FileDialog(title, &main_win, save, filter, ext, dialog_folder);
  if (!IsChoice(file_name)) return;
  msg_text = file_name;
  scan_file_path = file_name;
  SplitPath();
  scan_folder = aux_text;
}

std::string AutomaticName(const std::string& base, int mode, const std::string& ext) {
  const std::string suffix = mode == 1 ? "" : msg_text;
  return ProgramFolder() + base + suffix + ext;
}

std::string CommentForChoice() {
  std::string name = msg_text;
  if (name.size() < 20) name.append(20 - name.size(), ' ');
  return "File: " + name;
}

void Box(const std::string& text, const std::string& caption) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

int LimitsCode(const ScanLimits& l) {
  int code = 0;
  if (l.start < min_freq) code = 1;
  if (std::fabs(l.end) > maximumfreq) code = 2;
  if (std::fabs(l.step) < 0.0000001) code = 3;
  return code;
}

bool LimitsSavable(const ScanLimits& l) {
  const int code = LimitsCode(l);
  if (code == 0) return true;
  if (main_loop_on > 0) Box("Invalid scan limits", " Invalid Limits " + NumStr(code));
  return false;
}

int OpenForLoad(const std::string& port, int lines_per_point) {
  // The most points a config allows, one more for the Port B file's last
  // point, and a hundred lines of header and trailer.
  constexpr int kMostPoints = 30000 + 1;
  const int64_t most = MaxFileBytes(int64_t{lines_per_point} * kMostPoints + 100);
  int64_t size = 0;
  switch (OpenInputFile(data_file, file_name, most, &size)) {
    case InputRefusal::kNone:
      return 0;
    case InputRefusal::kCannotOpen:
      return -1;
    case InputRefusal::kTooLarge:
      break;
  }
  Box("The file named: " + QuotedPath(file_name) + "\r" +
          TooLargeText(size, "any " + port + " scan file") + "\rThe scan on the graph was kept.",
      port + " - Invalid Scan File");
  return kStatusScanFileFormat;
}

void Line(TextFile& f, double x) {
  WriteText(f, NumStr(std::isfinite(x) ? x : 0));
}

bool CheckWritten(const std::string& name, int close_error) {
  if (close_error != 0) {
    Box(WriteFailedText(name, close_error), " File not saved");
    return false;
  }
  if (OpenTextFile(data_file, name, "R") != 0) {
    Box(std::string("The file was not saved.") + "\r" +
            "Be sure the file is not set for Read-Only." + "\r" +
            "Also, be sure the disk is not full.",
        "File Error");
    return false;
  }
  CloseTextFile(data_file);
  return true;
}

std::string StampOf(const std::string& line) {
  const size_t at = line.find("prog");
  if (at == std::string::npos) return line;
  std::string stamp = line.substr(0, at);
  if (stamp.size() >= 4 && stamp.compare(stamp.size() - 4, 4, "    ") == 0) {
    stamp.resize(stamp.size() - 4);
  }
  return stamp;
}

Reader::Reader() = default;

const std::string& Reader::Next() {
  ++line_no_;
  // Once the file has ended nothing more is read from it, whatever it is.
  if (ended_ || FileEof(data_file)) {
    ended_ = true;
    line_buf.clear();
    return line_buf;
  }
  ReadDataLine(line_no_);
  for (unsigned char c : line_buf) {
    if ((c < 0x20 && c != '\t') || c == 0x7F) binary_ = true;
  }
  return line_buf;
}

void Reader::CheckNumber() {
  if (!ended_ && no_number_line_ == 0 && !HoldsNumber(line_buf)) no_number_line_ = line_no_;
}

double Reader::Value() {
  const double v = LineValue(Next());
  CheckNumber();
  return v;
}

int Reader::Int() {
  const int v = LineValueInt(Next());
  CheckNumber();
  return v;
}

std::string NoNumberText(int line) {
  return "holds no number on line" + NumStr(line) + ", where one belongs.";
}

bool UsableFreq(double f) {
  return f >= 0 && f <= std::max(maximumfreq, MaxFreqUHF) + 2;
}

bool UsableOhms(double z) {
  // sqrt of the largest double is about 1.34e154.
  return std::fabs(z) <= 1e155;
}

}  // namespace scanfile
}  // namespace vna
