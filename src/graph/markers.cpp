#include "graph/markers.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "files/line_reader.h"
#include "files/read_errors.h"
#include "files/read_limits.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

void ClearMarkers() {
  for (int i = 1; i <= kMaxMarkers; ++i) {
    Marker& m = markers[i];
    m.Freq = 10000;
    m.Rs = m.Xs = m.Phase = m.SWR = m.Rt = 0;
  }
  marker_next = 1;
}

void SortMarkers() {
  // A bubble sort: stable, so markers at the same frequency keep their order.
  int passes = 0;
  bool exchanged = true;
  while (exchanged && passes <= 1000) {
    exchanged = false;
    ++passes;
    for (int j = 1; j < kMaxMarkers; ++j) {
      if (markers[j].Freq > markers[j + 1].Freq) {
        std::swap(markers[j], markers[j + 1]);
        exchanged = true;
      }
    }
  }
  if (passes > 1000) MsgBox(&main_win, "Error in sorting markers.", "", kMbOk, kIconNone, true);
  marker_next = 1;
  for (int j = 1; j <= kMaxMarkers; ++j) {
    if (markers[j].Freq >= 9000) {
      marker_next = j;
      break;
    }
  }
}

// ---- The marker file ----

namespace {

constexpr char kMarkerFilter[] = "Marker Files(*.mrk)|*.mrk||";
constexpr char kHeader[] = "Marker data for VNA. ::  DataFileFormat = 120716 :: Prog version = ";
constexpr int kHeaderLines = 4;
constexpr int kValuesPerMarker = 8;
constexpr int64_t kMaxMarkerFileBytes = MaxFileBytes(kHeaderLines + kMaxMarkers * kValuesPerMarker);

std::string MarkerDialog(const std::string& title, bool save) {
  const std::string folder = marker_folder.size() > 2 ? marker_folder : ProgramFolder();
  return FileDialog(title, &main_win, save, kMarkerFilter, "mrk", folder);
}

void Box(const std::string& text, const std::string& caption) {
  MsgBox(&main_win, text, caption, kMbOk, kIconNone, true);
}

std::string NameOnly(const std::string& path) {
  std::string name, folder;
  SplitPathInto(path, name, folder);
  return name;
}

// The readable list beside the marker file: one row per defined marker.
bool WriteMarkerList(const std::string& path) {
  if (OpenTextFile(file_out, path, "W") != 0) return true;  // not writable: skipped
  WriteText(file_out, "Created: " + DateText() + "  " + TimeText());
  WriteText(file_out, " Marker,  Freq,  SWR, SWR_Ratio,  Rs,  Xs,  Zmag, Phase");
  for (int j = 1; j <= std::min(marker_count, kMaxMarkers); ++j) {
    const Marker& m = markers[j];
    auto text = [](double v, int decimals) {
      SetDigits(decimals);
      return NumStr(v);
    };
    const std::string ratio = marker_swr_ratio[j] < 1 ? "0.0000" : text(marker_swr_ratio[j], 4);
    WriteText(file_out, FormatUsing("###", {j}) + ",  " + text(m.Freq, 4) + ",  " + text(m.SWR, 4) +
                            ", " + ratio + ", " + text(m.Rs, 3) + ", " + text(m.Xs, 3) + ", " +
                            text(std::hypot(m.Rs, m.Xs), 3) + ", " + text(m.Phase * 57.296, 3));
  }
  if (int err = CloseTextFile(file_out)) {
    Box(WriteFailedText(path, err), " File not saved");
    return false;
  }
  return true;
}

}  // namespace

void SaveMarkers() {
  const bool with_list = cmd_param == 8;
  const std::string path = MarkerDialog(" Save Markers", true);
  if (path.size() < 3) return;
  marker_file_path = path;
  marker_folder.clear();
  if (OpenTextFile(data_file, path, "W") != 0) {
    Box(ReadOnlyFileText(NameOnly(path)), "");
    return;
  }
  WriteText(data_file, kHeader + prog_ver + prog_subver);
  WriteText(data_file, DateText() + "   " + TimeText());
  WriteText(data_file, "Data for Port A: Freq, Rs, Xs, Phase(deg), SWR, Return_Loss");
  WriteText(data_file, "Data for Port B: s21mag, s21phase(deg)");
  SetDigits(8);
  for (int i = 1; i <= kMaxMarkers; ++i) {
    const Marker& m = markers[i];
    for (double v : {m.Freq, m.Rs, m.Xs, m.Phase * 57.3, m.SWR, m.Rt, m.s21mag, m.s21phase}) {
      WriteText(data_file, NumStr(v));
    }
  }
  if (int err = CloseTextFile(data_file)) {
    SetDigits(3);
    Box(WriteFailedText(path, err), " File not saved");
    return;
  }
  if (with_list) WriteMarkerList(path.substr(0, path.size() - 3) + "mrx");
  SetDigits(3);
}

void LoadMarkers() {
  const std::string path = MarkerDialog(" Load Markers", false);
  if (path.size() < 3) return;
  file_name = path;
  const std::string invalid =
      "This is not a valid marker file.\r\n\r\n" + QuotedPath(path) + "\r\n\r\n";
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, path, kMaxMarkerFileBytes, &size);
  if (refusal == InputRefusal::kTooLarge) {
    Box(invalid + TooLargeText(size, "any marker file"), " Marker File Error 4182");
    return;
  }
  if (refusal != InputRefusal::kNone) {
    const std::string why = NotReadText(path);
    Box(why.empty() ? "The marker file was not found in the folder with the exe file." : why,
        "Marker File");
    return;
  }
  SetDigits(8);
  // Read whole into a copy first: a damaged file leaves the table, and the
  // names of the last marker file, as they were.
  Marker loaded[kMaxMarkers + 1];
  int line_no = 0;
  std::string bad;  // the message of a damaged file
  std::string caption;
  line_buf.clear();  // an empty file quotes nothing another reader left here
  auto next = [&]() -> bool {
    ++line_no;
    if (FileEof(data_file)) return false;
    ReadDataLine(line_no);
    return true;
  };
  if (!next() || line_buf.find("120716") == std::string::npos ||
      line_buf.find("Marker data") == std::string::npos) {
    bad = invalid + QuotedText(line_buf);
    caption = " Marker File Error 4182";
  }
  for (int l = 2; bad.empty() && l <= kHeaderLines; ++l) {
    if (!next()) break;
  }
  for (int i = 1; bad.empty() && i <= kMaxMarkers; ++i) {
    Marker& m = loaded[i];
    m = markers[i];
    double* fields[kValuesPerMarker] = {&m.Freq, &m.Rs, &m.Xs,     &m.Phase,
                                        &m.SWR,  &m.Rt, &m.s21mag, &m.s21phase};
    for (double* field : fields) {
      // Every value line holds a number; the end of the file or anything
      // else there means the file is cut short or damaged.
      const bool read = bad.empty() && line_no >= kHeaderLines && next();
      if (!read || !HoldsNumber(line_buf)) {
        bad = "error in file\r\n" + QuotedPath(path) + "\r\n on line " + NumStr(line_no);
        caption = "//87212";
        break;
      }
      *field = LineValue();
    }
    m.Phase /= 57.3;
  }
  CloseTextFile(data_file);
  SetDigits(3);
  if (!bad.empty()) {
    if (caption == "//87212") vna_status = 87212;
    Box(bad, caption);
    return;
  }
  ClearMarkers();
  for (int i = 1; i <= kMaxMarkers; ++i) markers[i] = loaded[i];
  marker_file_path = path;
  std::string name;
  SplitPathInto(path, name, marker_folder);
}

}  // namespace vna
