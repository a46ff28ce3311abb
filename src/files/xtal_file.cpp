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
#include "shell/quoted_text.h"

namespace vna {
namespace {

constexpr const char* kColumnLine =
    "  Number,  FSeries,      FParallel        Rs       Ls(mH)      Cs(pf)         Cp(pf)    Qs";

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

// The line goes at the end of an existing file, which is never read (it may
// be of any size); a new file gets its header first.
void SaveLine(const std::string& name) {
  const int appended = AppendToFile(name, XtalDataLine() + "\r\n");
  if (appended > 0) ReportNotSaved(WriteFailedText(name, appended));
  if (appended >= 0) return;
  if (OpenTextFile(file_out, name, "W") != 0) {
    ReportNotSaved("The file named: " + QuotedPath(name) +
                   "  \rcannot be created or changed.\rThe crystal data was not saved.");
    return;
  }
  WriteText(file_out, "Created: " + DateText() + "  " + TimeText());
  WriteText(file_out, kColumnLine);
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
    SaveLine(file_name);
  }
  SetDigits(3);
}

}  // namespace vna
