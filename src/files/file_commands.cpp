#include "files/file_commands.h"

#include <cmath>

#include "calibration/cal_file.h"
#include "files/config_file.h"
#include "files/init_file.h"
#include "files/settings.h"
#include "files/split_path.h"
#include "files/state.h"
#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "graph/info_panel.h"
#include "graph/text_panels.h"
#include "instrument/state.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {
namespace {

constexpr const char* kStateFilter = "State Files(*.stat)|*.stat||";

// A dialog's result counts as a choice only when longer than 2 characters.
bool IsChoice(const std::string& path) {
  return path.size() > 2;
}

std::string FolderOr(const std::string& folder) {
  return folder.size() > 2 ? folder : ProgramFolder();
}

struct CalNames {
  std::string path, name, folder;
  static CalNames Now() { return {cal_file_path, cal_file_name, cal_folder}; }
  void Restore() const {
    cal_file_path = path;
    cal_file_name = name;
    cal_folder = folder;
  }
};

// A calibration made with a line extension set may not want it: the user
// decides before the file is read.
void AskAboutLineExtension() {
  if (std::abs(ExtensionLength) <= 0.0001) return;
  msg_text = "The Line Extension is set for " + NumStr(ExtensionLength * 100) +
             " cm\rWould you like to set the Line Extension to zero?";
  if (MsgBox(&main_win, msg_text, "Line Extension", kMbYesNo, kIconNone, true) != kIdYes) return;
  ExtensionLength = 0;
  ExtensionFlag = 0;
  InfoPanel(4);
}

}  // namespace

void LoadCalibrationFile() {
  dialog_folder = FolderOr(cal_folder);
  LoadCalibrationPath(FileDialog(" Load Calibration File", &main_win, false,
                                 "Cal Files|*.vcal|MultiChan Files|*.chan1||", "vcal|chan1",
                                 dialog_folder));
}

void LoadCalibrationPath(const std::string& path) {
  const CalNames kept = CalNames::Now();
  file_name = path;
  if (IsChoice(file_name)) {
    cal_file_path = file_name;
    SplitPathInto(file_name, cal_file_name, cal_folder);
    AskAboutLineExtension();
    GetPortACal(1);
    // The names must describe the calibration in memory, which a refused
    // file did not replace.
    if (vna_status != 0) kept.Restore();
  }
  DrawFilesPanel();
}

void LoadConfigFile() {
  dialog_folder = FolderOr(config_folder);
  file_name = FileDialog(" Load Config File", &main_win, false, "Config Files(*.cfg)|*.cfg||",
                         "cfg", dialog_folder);
  if (!IsChoice(file_name)) return;
  config_interactive = 1;
  config_file_path = file_name;
  SplitPathInto(file_name, config_file_name, config_folder);
  LoadConfig();
  DrawFilesPanel();
  if (config_loaded != 1) return;
  MsgBox(cfg_editor_win.IsOpen() ? &cfg_editor_win : nullptr,
         "Please close the VNA program and restart it\rfor the changes to take effect.",
         "Restart VNA Prog", kMbOk, kIconNone, true);
  WinWidth = cfg_win_width;
  WinHeight = cfg_win_height;
}

void LoadStateFile() {
  file_name = FileDialog(" Load State File", &main_win, false, kStateFilter, "stat", dialog_folder);
  if (!IsChoice(file_name)) return;
  const CalNames kept = CalNames::Now();
  LoadInitData();
  file_name = cal_file_path;
  GetPortACal(0);
  // As for Load Calibration File: a calibration that could not be read
  // leaves the one in memory, and its names, in place.
  if (vna_status != 0) kept.Restore();
  file_name = config_file_path;
  LoadConfig();
  FreqGrid();
  DrawGraph();
}

void SaveStateFile() {
  // An open dialog on purpose: a state file is replaced without a question.
  file_name = FileDialog(" Save State File", &main_win, false, kStateFilter, "stat", dialog_folder);
  if (!IsChoice(file_name)) return;
  msg_text = file_name;
  SaveInitData();
}

}  // namespace vna
