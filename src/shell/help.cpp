// The manual and the browser windows. There is no web engine in the program:
// a browser window hands its address to the desktop's browser and shows the
// address, so a person can also copy it, and it lives and closes exactly as
// a hosted page would.
#include "shell/help.h"

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "shell/quoted_text.h"
#include "files/read_errors.h"

namespace vna {

const char* const kUpdatePageUrl = "https://www.zelmar-vna.example/software/";
const char* const kLCMatchingUrl = "https://en.wikipedia.org/wiki/Impedance_matching#L-section";
const char* const kPlotToolUrl = "https://en.wikipedia.org/wiki/Smith_chart";
const char* const kTwelfthWaveUrl = "https://en.wikipedia.org/wiki/Impedance_matching";

void OpenManual() {
  const std::string& name = model_uhf == 1 ? manual_name_uhf : manual_name_single;
  const std::string path = ProgramFolder() + name;
  TextFile probe;
  if (OpenTextFile(probe, path, "R") == 0) {
    CloseTextFile(probe);
    OpenDocument(path);
    return;
  }
  // A manual that is there but cannot be read is told as it is.
  const std::string why = NotReadText(path);
  MsgBox(&main_win,
         !why.empty()
             ? why
             : " The manual titled: " + QuotedPath(name) + "\r" +
                   " is not in the folder with the path name:" + "\r" + QuotedPath(ProgramFolder()),
         " No manual", kMbOk, kIconExclamation, false);
}

namespace {

void ShowPage(const std::string& title, int width, int height, const std::string& url) {
  // One record serves every page: a page asked for while another is shown
  // replaces it, and the first command's wait ends with the same close.
  CloseWindow(help_win);
  OpenWindow(help_win, 0, 0, width, height,
             kWinCaption | kWinSysMenu | kWinSizing | kWinMin | kWinMax, title, BrowserHandler);
  const bool opened = OpenDocument(url);
  SetFont(help_win, "arial", 10, 0);
  SetTextBackground(help_win, false, White);
  MoveTo(help_win, 20, 20);
  PrintText(help_win, opened ? "This page opens in your web browser:"
                             : "No web browser could be started. The page's address is:");
  MoveTo(help_win, 20, 50);
  PrintText(help_win, url);
  FocusForm(help_win);
  focus_win = 4;
  help_open = 1;
  while (help_open != 0) WaitEvents();
  CloseWindow(help_win);
}

}  // namespace

void OpenUpdatePage() {
  ShowPage("Check for Program Update", 1024, 768, kUpdatePageUrl);
}

void OpenLCMatching() {
  ShowPage("L-C Matching Networks  -  Wikipedia authors", 800, 600, kLCMatchingUrl);
}

void OpenPlotTool() {
  ShowPage("Smith Chart Impedance Plots  -  Wikipedia authors", 800, 600, kPlotToolUrl);
}

void ShowTwelfthWave() {
  ShowPage(" Twelfth-wave Matching", WinWidth, 700, kTwelfthWaveUrl);
}

int BrowserHandler() {
  if (msg_id == kEvClose) {
    help_open = 0;
    WakeEvents();
  }
  return 0;
}

}  // namespace vna
