// What the Port A and Port B scan files share: the file dialogs and the
// automatic names, the checks before a save, the line writer, the read-back
// check, the stamp and the line reader with its end-of-file and
// binary-content watch.
#pragma once

#include <string>

namespace vna {

struct TextFile;

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

// 0 when the scan limits are savable, else 1 start below the instrument, 2
// end above it, 3 no step.
int LimitsCode();
// The limits check of a save with its box (only while the main loop runs);
// false when refused.
bool LimitsSavable();

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
// remembers whether a line was asked for past the end of the file and
// whether a line held binary content (control characters other than tab).
class Reader {
 public:
  Reader();
  const std::string& Next();
  double Value();  // the value of the next line
  int Int();       // the same, rounded
  bool Ended() const { return ended_; }
  bool Binary() const { return binary_; }
  int Lines() const { return line_no_; }

 private:
  int line_no_ = 0;
  bool ended_ = false, binary_ = false;
};

}  // namespace scanfile
}  // namespace vna
