#include "files/tdr_file.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/letter_case.h"
#include "files/line_reader.h"
#include "files/read_limits.h"
#include "files/refused_file.h"
#include "files/scan_file_common.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "graph/clear_graph.h"
#include "graph/state.h"
#include "graph/text_panels.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"
#include "tools/tdr.h"
#include "tools/tdr_frame.h"

namespace vna {

namespace {

constexpr int kHeaderLines = 28;
constexpr int kMinPoints = 4;
constexpr int kMaxPoints = 2099;  // N + 1 response values fill the 2100 entries
constexpr int64_t kMaxTdrFileBytes = MaxFileBytes(kHeaderLines + kMaxPoints + 1);
// Values a trace can be drawn with. A rho full scale nearer 0 makes the scale
// infinite. With fewer feet per sample every sample lies before the distance
// axis starts (10 ft), with more even the second one lies beyond the largest
// distance scale (2000 ft). The averaging is that of the settings.
constexpr double kMinRhoScale = 0.001;
constexpr double kMinFeetPerSample = 0.01, kMaxFeetPerSample = 1000;
constexpr int kMaxAveraging = 256;

// A value that is not finite, which no trace can use and the reader refuses,
// is written as 0.
void WriteValue(double x) {
  WriteText(file_out, NumStr(std::isfinite(x) ? x : 0));
}

void WriteTdrLines(int n) {
  WriteText(file_out, scan_stamp);
  WriteValue(scan_format_A);
  WriteText(file_out, tdr_graph_title);
  WriteText(file_out, cal_file_name);
  WriteValue(n);
  WriteValue(Tdr_delf);
  WriteValue(DXscale);
  WriteValue(tdr_zmax);
  WriteValue(tdr_range_factor);
  WriteValue(average);
  WriteValue(tdr_zo);
  WriteValue(tdr_linear_z);
  WriteValue(tdr_lines);
  WriteValue(VF);
  WriteValue(metric);
  WriteValue(tdr_overlay - 1 < 1 ? 5 : tdr_overlay - 1);  // the colour of the last trace drawn
  WriteValue(tdr_feet_per_index);
  for (int k = 0; k < 4; ++k) WriteValue(freq_per_div);  // spare
  WriteValue(plot_swrA);
  for (int k = 0; k < 5; ++k) WriteValue(freq_per_div);
  WriteValue(plot_swrA);
  for (int i = 0; i <= n; ++i) WriteValue(tdr_response[i]);
}

void FileErrorBox() {
  MsgBox(&main_win,
         "The file was not saved.\rBe sure the storage medium is not set for Read-Only.\r"
         "Also, be sure the disk is not full.",
         "File Error", kMbOk, kIconNone, true);
}

// The lines of a TDR file as read, line 1 first, before anything is taken.
struct TdrFileLines {
  std::vector<std::string> lines;  // lines[k - 1] is line k
  std::string problem;             // why the file cannot be loaded; empty when it can
  const std::string& Line(int k) const { return lines[k - 1]; }
  double Value(int k) const { return LineValue(Line(k)); }
};

// Reads lines 1..28 and the N + 1 response lines while the file has them.
TdrFileLines ReadTdrLines() {
  TdrFileLines f;
  auto read = [&f](int count) {
    for (int k = 0; k < count; ++k) {
      if (FileEof(data_file)) return false;
      const int line_no = static_cast<int>(f.lines.size()) + 1;
      ReadDataLine(line_no);
      f.lines.push_back(line_buf);
    }
    return true;
  };
  if (!read(kHeaderLines)) {
    f.problem = "It ends after line" + NumStr(f.lines.size()) + ", before its point count.";
    return f;
  }
  const int n = LineValueInt(f.Line(5));
  if (n < kMinPoints || n > kMaxPoints) {
    f.problem = "Its point count (line 5) is" + NumStr(n) + "; it must be 4 to 2099.";
    return f;
  }
  if (!read(n + 1)) {
    f.problem = "It ends after line" + NumStr(f.lines.size()) + ";" + NumStr(n) + " points need" +
                NumStr(kHeaderLines + n + 1) + " lines.";
    return f;
  }
  // Lines 1, 3 and 4 are texts; every other line holds a number, also those
  // not read back: a line without one is damage, or a line too many or too
  // few that moved the values after it.
  for (int k = 2; k <= kHeaderLines + n + 1; ++k) {
    if (k == 3 || k == 4 || HoldsNumber(f.Line(k))) continue;
    f.problem = "Line" + NumStr(k) + " holds no number, where one belongs.";
    return f;
  }
  const double feet = f.Value(17);
  const int averaging = LineValueInt(f.Line(10));
  if (!scanfile::UsableFreq(f.Value(6))) {
    f.problem = "Its frequency step (line 6) is no frequency an instrument measures.";
  } else if (std::fabs(f.Value(9)) < kMinRhoScale) {
    f.problem = "Its rho full scale (line 9) is too near 0 to draw a trace with.";
  } else if (!(feet >= kMinFeetPerSample && feet <= kMaxFeetPerSample)) {
    f.problem = "Its feet per sample (line 17) must be 0.01 to 1000.";
  } else if (averaging < 0 || averaging > kMaxAveraging) {
    f.problem = "Its averaging (line 10) must be 0 to 256.";
  }
  return f;
}

void TakeTdrLines(const TdrFileLines& f) {
  const int n = LineValueInt(f.Line(5));
  scan_stamp = f.Line(1);
  tdr_graph_title = f.Line(3);
  tdr_title = tdr_graph_title;
  Numpts = n;
  Tdr_delf = f.Value(6);
  // Only the full scales the frame can draw.
  DXscale = SnapTDRDistance(f.Value(7));
  tdr_zmax = SnapTDRImpedance(f.Value(8));
  tdr_range_factor = f.Value(9);
  if (std::fabs(tdr_range_factor) > 1) tdr_range_factor = 1;
  average = LineValueInt(f.Line(10));
  tdr_zo = f.Value(11);
  if (tdr_zo <= 0) tdr_zo = 50;
  tdr_linear_z = LineValueInt(f.Line(12));
  VF = f.Value(14);
  if (VF < 0.5) VF = 0.66;
  if (VF > 1) VF = 1;
  tdr_overlay = LineValueInt(f.Line(16));
  tdr_feet_per_index = TDRFileFeetPerSample(f.Value(17), VF, Tdr_delf, n);
  std::fill(std::begin(tdr_response), std::end(tdr_response), 0.0);
  for (int i = 0; i <= n; ++i) tdr_response[i] = f.Value(kHeaderLines + 1 + i);
  tdr_trace_points = n;
}

}  // namespace

void SaveTDR(int auto_save) {
  // The automatic file belongs to the copy that has the instrument.
  if (auto_save != 0 && keep_shared_files != 0) return;
  if (auto_save == 0) {
    file_name = FileDialog(" Save TDR File", &main_win, true, "TDR Files(*.tdr)|*.tdr||", "tdr",
                           ProgramFolder());
    if (file_name.empty()) return;
    msg_text = file_name;
    SplitPath();
    if (tdr_graph_title.size() < 2) tdr_graph_title = msg_text;
  }
  if (LowerCase(file_name).find(".tdr") == std::string::npos) file_name += ".tdr";
  // The automatic file refused when it was loaded is the user's trace, not
  // this one: kept, or else not written over.
  if (auto_save != 0 && !SetRefusedFileAside(file_name)) {
    FileErrorBox();
    return;
  }
  if (OpenTextFile(file_out, file_name, "W") != 0) {
    if (file_name.size() > 2) {
      MsgBox(&main_win, CannotCreateFileText(file_name), "", kMbOk, kIconNone, true);
    }
    return;
  }
  SetDigits(8);
  // The stored trace's own point count; before any trace the plan's.
  WriteTdrLines(tdr_trace_points > 0 ? tdr_trace_points : Numpts);
  const int err = CloseTextFile(file_out);
  SetDigits(3);
  // A write that failed kept the old file; reopening it cannot tell.
  if (err != 0 || OpenTextFile(file_out, file_name, "R") != 0) {
    FileErrorBox();
    return;
  }
  CloseTextFile(file_out);
}

void LoadTDR(int auto_save) {
  if (auto_save == 0) {
    file_name = FileDialog(" Load TDR Scan File", &main_win, false, "TDR Scan Files(*.tdr)|*.tdr||",
                           "tdr", ProgramFolder());
  }
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, file_name, kMaxTdrFileBytes, &size);
  if (refusal == InputRefusal::kCannotOpen) return;
  TdrFileLines f;
  if (refusal == InputRefusal::kTooLarge) {
    f.problem = TooLargeText(size, "any TDR file");
  } else {
    f = ReadTdrLines();
    CloseTextFile(data_file);
  }
  if (!f.problem.empty()) {
    MsgBox(&main_win,
           "The file " + QuotedPath(file_name) + " cannot be loaded as a TDR file.\r" + f.problem +
               NoteRefusedFile(file_name),
           " TDR File", kMbOk, kIconExclamation, true);
    return;
  }
  bandscan_mode = 0;
  SetDigits(8);
  TakeTdrLines(f);
  ClearGraph();
  DrawTDR();
  PlotStoredTDR();
  DrawTitle();
  MoveTo(main_win, 10, line2_y - 10);
  PrintText(main_win, scan_stamp + "   ");
  SetDigits(3);
  BuildMenus();
}

}  // namespace vna
