// The PDF manual and the four web pages of the Help and Utilities menus.
#pragma once

#include <string>

namespace vna {

// Opens the manual of the present model (program folder + its name) with the
// desktop's PDF viewer and returns at once; a missing file gives the
// " No manual" box.
void OpenManual();

// Each opens help_win on its page, hands the address to the desktop's web
// browser, shows the address in the window and waits until the window is
// closed (or the program quits, which clears help_open). A second page asked
// for while one is shown takes the window over.
void OpenUpdatePage();
void OpenLCMatching();
void OpenPlotTool();
void ShowTwelfthWave();

// Handler of help_win: the close request clears help_open; the waiting
// command then closes the window.
int BrowserHandler();

// Addresses of the four pages, for the tests and the status view.
extern const char* const kUpdatePageUrl;
extern const char* const kLCMatchingUrl;
extern const char* const kPlotToolUrl;
extern const char* const kTwelfthWaveUrl;

}  // namespace vna
