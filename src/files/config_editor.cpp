#include "files/config_editor.h"

#include "files/config_file.h"
#include "files/line_reader.h"
#include "files/read_limits.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "files/write_errors.h"
#include "graph/text_panels.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/quoted_text.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr int kEditId = 1;
constexpr int kMenuLoad = 1, kMenuSaveAs = 2, kMenuQuit = 3;
// The text holds at most kTextLimit characters; a line is added only while
// the text is shorter than kFillLimit, so one more line of up to 255
// characters with its CR LF always fits.
constexpr size_t kTextLimit = 32765;
constexpr size_t kFillLimit = 32509;

std::string StartFolder() {
  return config_folder.size() > 2 ? config_folder : ProgramFolder();
}

void FitEditToWindow() {
  int w = 0, h = 0;
  ClientSize(cfg_editor_win, w, h);
  MoveCtl(cfg_editor_win, kEditId, 0, 0, w, h);
}

// The file named by file_name into the edit field, each line followed by CR
// LF. A file that cannot be opened leaves the field as it was. The field
// holds about 32 000 characters: a longer file is shown up to the line that
// reached that size, and the user is told, since a save writes only what is
// shown.
void ReadIntoEditor() {
  cfg_editor_text.clear();
  int64_t size = 0;
  const InputRefusal refusal = OpenInputFile(data_file, file_name, kMaxConfigFileBytes, &size);
  if (refusal == InputRefusal::kTooLarge) {
    MsgBox(
        &cfg_editor_win,
        "The file named: " + QuotedPath(file_name) + "\r" + TooLargeText(size, "any config file"),
        " Config File Editor", kMbOk, kIconExclamation, true);
  }
  if (refusal != InputRefusal::kNone) return;
  int line_no = 1;
  int lines_shown = 0;
  bool cut = false;
  while (!FileEof(data_file)) {
    ReadDataLine(line_no++);
    if (cfg_editor_text.size() < kFillLimit) {
      cfg_editor_text += line_buf + "\r\n";
      ++lines_shown;
    } else {
      cut = true;
    }
  }
  CloseTextFile(data_file);
  SetCtlText(cfg_editor_win, kEditId, cfg_editor_text);
  if (cut) {
    MsgBox(&cfg_editor_win,
           "The file named: " + QuotedPath(file_name) +
               "  \ris longer than the editor can show.\r" + "Only its first" +
               NumStr(lines_shown) + " lines are shown; saving it writes only those lines.",
           " Config File Editor", kMbOk, kIconExclamation, true);
  }
}

void LoadFile() {
  dialog_folder = StartFolder();
  file_name = FileDialog(" Load Config File", &cfg_editor_win, false, "Config Files(*.cfg)|*.cfg||",
                         "cfg", dialog_folder);
  SetTitle(cfg_editor_win, "Edit: " + file_name);
  if (file_name.empty()) return;
  // The names follow the file only when it could be read: the editor still
  // shows the old text otherwise, and the next start must not look for a
  // file that is not there.
  TextFile probe;
  const bool readable = OpenInputFile(probe, file_name, kMaxConfigFileBytes) == InputRefusal::kNone;
  CloseTextFile(probe);
  if (file_name.size() > 2 && readable) {
    config_file_path = file_name;
    SplitPathInto(file_name, config_file_name, config_folder);
  }
  ReadIntoEditor();
}

void SaveAs() {
  dialog_folder = StartFolder();
  file_name = FileDialog(" Save Config File", &cfg_editor_win, true, "Config files(*.cfg)|*.cfg||",
                         "cfg", dialog_folder);
  if (file_name.empty()) return;
  if (OpenTextFile(file_out, file_name, "W") != 0) {
    MsgBox(&cfg_editor_win, ReadOnlyFileText(file_name), " File not saved", kMbOk, kIconExclamation,
           true);
    return;
  }
  cfg_editor_text = GetCtlText(cfg_editor_win, kEditId);
  if (cfg_editor_text.size() > kTextLimit) cfg_editor_text.resize(kTextLimit);
  WriteText(file_out, cfg_editor_text);
  if (int err = CloseTextFile(file_out)) {
    // Nothing was saved: the old file, the names and the instrument stay.
    MsgBox(&cfg_editor_win, WriteFailedText(file_name, err), " File not saved", kMbOk,
           kIconExclamation, true);
    return;
  }
  config_file_path = file_name;
  SplitPathInto(file_name, config_file_name, config_folder);
  DrawFilesPanel();
  MsgBox(&cfg_editor_win,
         "Be sure to CLOSE the VNA program and RESTART it\rfor the changes to take effect.",
         "Restart VNA Prog", kMbOk, kIconNone, true);
  // The new values are read at the next start; until then nothing more is
  // sent to the instrument.
  vna_present = 0;
  config_changed = 1;
}

}  // namespace

void ConfigEditor() {
  if (cfg_editor_open == 1) return;
  cfg_editor_running = 0;
  OpenWindow(cfg_editor_win, 0, 0, WinWidth, WinHeight,
             kWinCaption | kWinSysMenu | kWinMin | kWinMax | kWinSizing, "Config File Editor",
             ConfigEditorHandler);
  cfg_editor_open = 1;
  SetMenuBar(cfg_editor_win, {MenuItem::Sub("File", {MenuItem("Load File", kMenuLoad),
                                                     MenuItem("Save as", kMenuSaveAs),
                                                     MenuItem("Quit", kMenuQuit)})});
  int w = 0, h = 0;
  ClientSize(cfg_editor_win, w, h);
  AddControl(cfg_editor_win,
             {CtlKind::Edit, "", 0, 0, w, h, kCtlMultiLine | kCtlScrollBars, kEditId});
  SetCtlTextLimit(cfg_editor_win, kEditId, static_cast<int>(kTextLimit));
  AddMenuShortcut(cfg_editor_win, "Ctrl+S", kMenuSaveAs);
  file_name = config_file_path;
  SetTitle(cfg_editor_win, "Edit: " + file_name);
  ReadIntoEditor();
  SetCtlColors(cfg_editor_win, kEditId, Black, White);
  cfg_editor_running = 1;
  // The window takes the focus once it is on screen, so typing and Ctrl+S
  // reach it at once.
  PumpEvents();
  FocusForm(cfg_editor_win);
  SetCtlFocus(cfg_editor_win, kEditId);
  while (cfg_editor_running != 0 && main_loop_on != 0) WaitEvents();
  CloseWindow(cfg_editor_win);
  cfg_editor_open = 0;
  cfg_editor_running = 0;
}

int ConfigEditorHandler() {
  switch (msg_id) {
    case kEvClose:
      cfg_editor_running = 0;
      break;
    case kEvResize:
      FitEditToWindow();
      break;
    case kEvMenu:
      if (msg_menu_id == kMenuQuit) cfg_editor_running = 0;
      if (msg_menu_id == kMenuSaveAs) SaveAs();
      if (msg_menu_id == kMenuLoad) LoadFile();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vna
