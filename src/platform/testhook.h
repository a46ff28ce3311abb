// Test hook: scripted answers for message boxes, modal dialogs and common
// dialogs, and logs of what a user would see (message boxes, text printed
// into windows). The answers drive the same widgets a person would use.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vna::testhook {

// Once enabled, a message box or dialog with no queued answer is answered at
// once (the default button; a dialog by its close box) and logged as
// unscripted, so a test never hangs on a box it did not expect.
void Enable(bool on = true);
bool Enabled();

struct Answer {
  std::string caption;  // when not empty, must match the box or dialog title
  std::vector<std::pair<int, std::string>> texts;  // dialog: type these texts into these controls
  std::vector<std::pair<int, bool>> checks;        // dialog: set these check boxes / radio buttons
  int press = 0;           // message box: button id (kIdOk..kIdNo); dialog: control id to click
  bool close_box = false;  // end with the close box instead
  // What the person does on seeing the box, before answering it: look at
  // what a dialog's handler filled in, connect the standard a prompt asks
  // for, and so on.
  std::function<void()> act;
};
void QueueAnswer(const Answer& a);
void QueueMsgBoxAnswer(int button, const std::string& caption = "");
void QueueFileAnswer(const std::string& path);  // "" = cancel
void QueueColorAnswer(int color);               // -1 = cancel
size_t PendingAnswers();
// A standing answer: every message box with this caption that has no queued
// answer is answered with this button, however often it comes (a person who
// always answers that question so). Dropped by Reset.
void AnswerAlways(const std::string& caption, int button);

// What the window manager was told while the box or dialog was shown: the
// record of the window it is transient for ("" when none), whether it is
// modal for that window, and whether it stays on top of other windows.
struct OwnerTie {
  std::string transient_for;
  bool window_modal = false;
  bool stays_on_top = false;
};
struct MsgBoxRecord {
  std::string owner, caption, text;
  int buttons = 0, icon = 0;
  bool topmost = false;
  int result = 0;
  bool scripted = false;
  OwnerTie tie;
};
struct DialogRecord {
  std::string title;
  int result = 0;
  bool scripted = false;
  OwnerTie tie;
};
struct PrintRecord {
  std::string window;
  int x = 0, y = 0;
  std::string text;
  int color = 0;  // text colour, packed as the drawing layer packs it
};
struct FileDialogRecord {
  std::string title, filter, ext, start_folder;
  bool save = false;
  std::string result;
  std::string owner;  // record name of the owner window ("" for none)
  bool confirm_overwrite = true;
  bool stays_on_top = false;  // shown above windows that stay on top
};

// A step a test runs inside the program's long operations: called at every
// PumpEvents (a scan or calibration pumps after each point) until replaced
// or cleared with nullptr. Timers would not do: while events keep arriving
// the event loop may put them off until it next waits.
void SetPumpHook(std::function<void()> hook);
void RunPumpHook();

const std::vector<MsgBoxRecord>& MsgBoxes();
const std::vector<DialogRecord>& Dialogs();
const std::vector<PrintRecord>& Prints();
const std::vector<FileDialogRecord>& FileDialogs();
// Documents and web addresses handed to the desktop (while the hook is
// enabled they are logged and not opened).
const std::vector<std::string>& OpenedDocuments();
// Every wave file the program asked to play (the path as the program built
// it), played or not: the voice output leaves its trace without a device.
const std::vector<std::string>& SoundsPlayed();
// Windows whose image was sent to a printer (or a PDF), by record name, in
// order; logged whether or not a printer was there.
const std::vector<std::string>& PrintedWindows();
// Every printed text of one window joined in order, one per line.
std::string PrintedText(const std::string& window);
// Answer mismatches (a caption that was not the one expected) gathered for the test to check.
const std::vector<std::string>& Problems();
void ClearLogs();
// ClearLogs, and every queued answer and the pump hook dropped: what one
// test left behind never reaches the next.
void Reset();

// Layer internals call these.
void LogMsgBox(const MsgBoxRecord& r);
void LogDialog(const DialogRecord& r);
void LogPrint(const PrintRecord& r);
void LogFileDialog(const FileDialogRecord& r);
void LogDocument(const std::string& path_or_url);
void LogSound(const std::string& path);
void LogPrintedWindow(const std::string& window);
void AddProblem(const std::string& p);
bool TakeAnswer(Answer& out);
// The standing answer for a box with this caption; false when there is none.
bool StandingAnswer(const std::string& caption, int& button);
bool TakeFileAnswer(std::string& out);
bool TakeColorAnswer(int& out);

}  // namespace vna::testhook
