#include "files/xtal_file.h"

#include <string>

#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {
namespace {

constexpr const char* kColumnLine =
    "  Number,  FSeries,      FParallel        Rs       Ls(mH)      Cs(pf)         Cp(pf)    Qs";

// The whole file as it is now; false when it does not exist.
bool ReadWhole(const std::string& name, std::string& contents) {
  contents.clear();
  if (OpenTextFile(data_file, name, "R") != 0) return false;
  for (int c = ReadByte(data_file); c >= 0; c = ReadByte(data_file)) {
    contents += static_cast<char>(c);
  }
  CloseTextFile(data_file);
  return true;
}

void ReportNotSaved(const std::string& text) {
  MsgBox(&main_win, text, " Crystal Data File", kMbOk, kIconExclamation, true);
}

std::string XtalDataLine() {
  const std::string sep = ",  ";
  return FormatUsing("######", {xtal_seq_no}) + sep + FormatUsing("####.######", {xtal_Fs}) + sep +
         FormatUsing("####.######", {xtal_Fp}) + sep + FormatUsing("####.###", {xtal_Rs}) + sep +
         FormatUsing("####.###", {xtal_Ls * 0.001}) + sep + FormatUsing("####.#######", {xtal_Cs}) +
         sep + FormatUsing("####.###", {xtal_Cp}) + sep + FormatUsing("#######", {Rnd(xtal_Q)});
}

// Writes the old contents (a line end added when the last line has none, so
// the new line stands on its own), the header of a new file, and the line.
void WriteFile(const std::string& name, bool exists, std::string contents) {
  if (OpenTextFile(file_out, name, "W") != 0) {
    ReportNotSaved("The file named: " + name +
                   "  \rcannot be created or changed.\rThe crystal data was not saved.");
    return;
  }
  if (!contents.empty() && contents.back() != '\n' && contents.back() != '\r') {
    contents += "\r\n";
  }
  WriteBytes(file_out, contents);
  if (!exists) {
    WriteText(file_out, "Created: " + DateText() + "  " + TimeText());
    WriteText(file_out, kColumnLine);
  }
  WriteText(file_out, XtalDataLine());
  if (int err = CloseTextFile(file_out)) ReportNotSaved(WriteFailedText(name, err));
}

}  // namespace

void SaveXtalData() {
  if (vna_status != 0) {
    const int answer =
        MsgBox(&main_win,
               "There was a measurement error.\r\nDo you want to save this data "
               "anyway?",
               " Measurement error " + NumStr(vna_status), kMbYesNo, kIconNone, true);
    if (answer != kIdYes) {
      MsgBox(&main_win, " Data was not saved.", " No xtal data.  Error = " + NumStr(vna_status),
             kMbOk, kIconNone, true);
      return;
    }
  }
  msg_text = "Xtal sequence number:";
  input_value = xtal_seq_no + 1;
  InputNumber();
  if (dlg_result != 1 || !(input_value > 0.001)) return;
  xtal_seq_no = Rnd(input_value);

  const std::string start = xtal_folder.size() > 2 ? xtal_folder : ProgramFolder();
  file_name = FileDialog(" Crystal Data File", &main_win, false, "Xtal Files(*.xdat)|*.xdat||",
                         "xdat", start);
  if (file_name.size() > 2) {
    std::string name;
    SplitPathInto(file_name, name, xtal_folder);
    std::string contents;
    const bool exists = ReadWhole(file_name, contents);
    WriteFile(file_name, exists, contents);
  }
  SetDigits(3);
}

}  // namespace vna
