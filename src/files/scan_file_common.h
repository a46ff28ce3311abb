// What the Port A and Port B scan files share: the file dialogs and the
// automatic names, the checks before a save, the line writer, the read-back
// check, the stamp and the line reader with its end-of-file and
// binary-content watch.
#pragma once

#include <string>

namespace vna {

struct TextFile;
struct ScanLimits;

// Whether the stored scan of Port A (port_b false) or Port B holds measured
// points to save: none after a band scan (its levels overwrite the Port A
// arrays), a scan stopped before its first point, or before any scan. When
// there are none and `tell` is set, a box says so. The save command asks
// before its comment prompt; the writers ask again.
bool StoredScanSavable(bool port_b, bool tell);

namespace scanfile {

// A file dialog answer that names a file.
bool IsChoice(const std::string& path);
// The file dialog of save_mode 0: file_name := its result; a choice also
// becomes the remembered scan path and folder (msg_text: the name without
// its folder).
void AskForName(const std::string& title, bool save, const std::string& filter,
                const std::string& ext);
// Program folder + base + the suffix in msg_text (none for the exit name,
// mode 1) + ext.
std::string AutomaticName(const std::string& base, int mode, const std::string& ext);
// "File: " + the chosen name (msg_text) padded to 20 characters.
std::string CommentForChoice();
// A topmost OK box over the main window.
void Box(const std::string& text, const std::string& caption);

// 0 when a stored scan's limits are savable, else 1 start below the
// instrument, 2 end above it, 3 no step.
int LimitsCode(const ScanLimits& l);
// The limits check of a save with its box (only while the main loop runs);
// false when refused.
bool LimitsSavable(const ScanLimits& l);

// Opens file_name as data_file for a load. 0 when it is open; -1 when it
// cannot be opened (passed over silently); a status when it is larger than
// any scan file of `port` ("Port A", "Port B") with `lines_per_point` lines
// per point can be, after its box.
int OpenForLoad(const std::string& port, int lines_per_point);

// x as its number text, a value that is not finite as 0.
void Line(TextFile& f, double x);
// After a write: the failure of the close, or a file that cannot be opened
// again, is reported; true when the file is in place.
bool CheckWritten(const std::string& name, int close_error);

// The text before the first "prog", without the four blanks the writer puts
// before "prog_ver=", so the stamp does not grow by four blanks at every
// save and load.
std::string StampOf(const std::string& line);

// The line reader of a scan file being loaded: counts the lines, and
// remembers whether a line was asked for past the end of the file, whether
// a line held binary content (control characters other than tab), and the
// first line read for a number that held none.
class Reader {
 public:
  Reader();
  const std::string& Next();
  double Value();  // the value of the next line
  int Int();       // the same, rounded
  bool Ended() const { return ended_; }
  bool Binary() const { return binary_; }
  int Lines() const { return line_no_; }
  // The first line Value or Int read that the file held but that holds no
  // number (HoldsNumber); 0 when there was none. A line past the end of the
  // file is not counted here: Ended tells of it.
  int NoNumberLine() const { return no_number_line_; }

 private:
  void CheckNumber();
  int line_no_ = 0;
  int no_number_line_ = 0;
  bool ended_ = false, binary_ = false;
};

// The text of a refusal for a line without a number: "holds no number on
// line n, where one belongs."
std::string NoNumberText(int line);

// What a frequency of a stored scan (and of a TDR file) may be: 0 to the
// highest any model measures, with the 2 MHz a scan's last point may lie
// beyond it (a file of the other model loads; its scan limits are clamped).
bool UsableFreq(double f);
// An impedance magnitude no larger than a reading can have. A reading is
// the root of a sum of squares that did not overflow (one that did is
// written as 0), so no file the program writes holds more than about
// 1.34e154 ohms; the replay squares it again.
bool UsableOhms(double z);

}  // namespace scanfile
}  // namespace vna
