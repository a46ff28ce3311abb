// The one way numbers become text and text becomes numbers: screen readouts,
// messages, file lines, registry values and dialog fields all go through
// these, so files written by one version read back in another byte for byte.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace vna {

struct Window;

// ---- doubles to integers ----

// Nearest integer, a value exactly halfway going to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Every double-to-integer conversion of the
// program uses it. Not-a-number gives 0; values beyond the range clamp.
// Inline: a redraw rounds hundreds of thousands of pixel positions.
int Rnd(double x);
int64_t Rnd64(double x);
// The largest integer not above x, for the places that ask for it.
int RndDown(double x);

// ---- numbers to text ----

// " 5", " -12", " 2.5000" (with 4 decimals): always a leading blank; a whole
// value has no decimal point, any other value exactly number_decimals
// decimals; never an exponent. Not-a-number gives " 0", infinities " inf"
// and " -inf".
std::string NumStr(double x);
// Sets number_decimals (0 to 40).
void SetDigits(int n);

// One value of a printed line or of a pattern: a text, an integer or a
// double, told apart by the type it was built from.
class TextItem {
 public:
  enum class Kind { kText, kInt, kReal };
  TextItem(std::string s) : kind_(Kind::kText), text_(std::move(s)) {}
  TextItem(const char* s) : kind_(Kind::kText), text_(s) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) TextItem(T v)
      : kind_(Kind::kInt), int_(static_cast<int64_t>(v)) {}
  template <std::floating_point T>
  TextItem(T v) : kind_(Kind::kReal), real_(static_cast<double>(v)) {}

  Kind kind() const { return kind_; }
  const std::string& text() const { return text_; }
  int64_t integer() const { return int_; }
  double real() const { return real_; }

 private:
  Kind kind_;
  std::string text_;
  int64_t int_ = 0;
  double real_ = 0;
};
using TextItems = std::vector<TextItem>;

// Pattern formatting: "#" runs with an optional "." are number fields
// ("####.###" right-aligns the integer part to 4 places, never cuts it, and
// rounds to 3 decimals; a field without "." takes an integer); a "0" in a
// field pads with zeros instead of blanks; "&" inserts a text unchanged; any
// other character is copied. Each field takes the next value.
std::string FormatUsing(const std::string& pattern, const TextItems& values);

// The text PrintItems draws: texts unchanged, an integer as its digits and a
// blank, a double always with number_decimals decimals and a blank in place
// of the sign when not negative; one line end at the end is dropped.
std::string ItemsText(const TextItems& items);
// Draws ItemsText at the window's print position; the position then moves to
// the end of the text on the same line.
void PrintItems(Window& w, const TextItems& items);
// The text cut to `width` pixels in the window's present font: unchanged
// when it fits but for blanks at its end, else cut where it no longer fits
// and marked "..." there (at its start when keep_end, so a path keeps its
// file name).
std::string FitText(Window& w, const std::string& text, int width, bool keep_end = false);
// One line of text at the print position, kept inside the area that runs
// to x = right: the area (one line of the font high) is filled with the text
// background first, so nothing of a longer text printed there before stays
// visible, and the text is cut to fit it (FitText).
void PrintInLine(Window& w, int right, const TextItems& items, bool keep_end = false);

// ---- text to numbers ----

// Leading blanks and tabs, an optional "-", digits, optionally "." and
// digits, optionally an exponent ("e" or "E", an optional sign, digits); the
// first other character ends the number. No plus sign before it: "+5" is 0,
// "1e6" is 1000000, "1.5E-3" is 0.0015, "2e" is 2, ".5" is 0.5, "12abc" is
// 12. A number beyond the range of a double is an infinity.
double ParseNumber(const std::string& text);

// Upper-case hexadecimal digits without prefix or leading zeros ("FF" for
// 255, "0" for 0). A negative value that fits 32 bits gives its 32-bit
// two's complement.
std::string HexText(int64_t v);

// ---- date and time ----

// Today as month-day-year, "03-07-2025".
std::string DateText();
// Today by a date picture in the user's locale ("yyMMdd", "MMM d',' yyyy";
// quoted text is literal).
std::string DateText(const std::string& picture);
// Any date by a picture, for the places (and tests) that need a fixed day.
std::string DatePictureText(const std::string& picture, int year, int month, int day);
// The time of day, 24 hours, "14:05:09".
std::string TimeText();

// ---- text files ----

// A file variable: holds the open handle of one file at a time.
struct TextFile {
  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile();
  bool IsOpen() const { return fp != nullptr; }

  std::FILE* fp = nullptr;
  bool writing = false;  // last access was a write (a read must reposition first)
  // Mode "W" writes a temporary file beside the target and puts it in place
  // when closed, so a failed or interrupted write never loses the old file.
  std::string target, temp;
  int write_error = 0;  // errno of the first write that failed
  // Bytes that may still be read; -1 without a bound. A file opened with a
  // bound reads as ended once it is spent, whatever the file does meanwhile.
  int64_t read_left = -1;
};

// Modes (any case): "R" read an existing file; "W" create or empty, read and
// write; "A" open or create, writes append; "R+" read and write an existing
// file byte by byte. The name goes through HostPath (old Windows names are
// accepted); a name without a folder is relative to the current folder.
// Returns 0 on success, 1 on failure. An open file variable is closed first.
// A file written with "W" takes its new contents when it is closed, and only
// when every write succeeded; until then it keeps its old ones. "W" fails on
// a read-only file or in a read-only folder, also for root.
// Only regular files open, in every mode: a named pipe, a device or a folder
// fails at once (opening a pipe would wait for a writer for ever, reading a
// device may never end, and "W" would put a file in place of it).
int OpenTextFile(TextFile& f, const std::string& name, const std::string& mode);

// Why OpenInputFile did not open a file.
enum class InputRefusal {
  kNone,        // opened
  kCannotOpen,  // missing, unreadable, or no regular file
  kTooLarge,    // larger than the bound
};
// Opens a file for reading as mode "R" does, when it holds at most max_bytes
// (its size goes to *size when given); a larger one is refused before a byte
// is read. No more than max_bytes are ever read from it: a file that grows
// meanwhile reads as ended there.
InputRefusal OpenInputFile(TextFile& f, const std::string& name, int64_t max_bytes,
                           int64_t* size = nullptr);

// Appends text to an existing regular file without reading it; when its last
// byte ends no line, a CR LF goes first so the text starts a line of its own.
// Returns 0; -1 when the file is not there to append to (missing, no regular
// file, or one that may not be written, as for "W"); else the errno of a
// write that failed, after the file was cut back to what it held before.
int AppendToFile(const std::string& name, const std::string& text);
// Harmless when closed. Returns 0, or for a "W" file that could not be put
// in place (its old contents kept) the errno that stopped it.
int CloseTextFile(TextFile& f);
// True when the position is at or beyond the file's size (and when closed).
bool FileEof(TextFile& f);

// The number's NumStr text and one blank, no line end.
void WriteNumber(TextFile& f, double x);
// The text and CR LF.
void WriteText(TextFile& f, const std::string& text);

// One line up to CR or LF; the line end (CR, LF or CR LF) is consumed and not
// stored. Characters beyond max_chars are read and dropped. Returns 0, or -1
// with an empty target when nothing at all is left.
int ReadLine(TextFile& f, std::string& target, size_t max_chars = std::string::npos);
// Skips to the first "-" or digit and takes the run of digits, "." and "-"
// (at most 40 characters) that starts there, with the exponent that follows
// it ("e" or "E", an optional sign, digits); the byte that ends it is
// consumed. Returns 0, or -1 with the target 0 when the file ends first. An
// integer target is rounded halves to even.
int ReadNumber(TextFile& f, double& target);
int ReadNumber(TextFile& f, int& target);

// Raw access for files opened "R+": the next byte (0..255) or -1 at the end.
int ReadByte(TextFile& f);
// Writes the bytes as they are; false when not all could be written.
bool WriteBytes(TextFile& f, const std::string& bytes);

// ---- inline definitions ----

inline int64_t Rnd64(double x) {
  if (std::isnan(x)) return 0;
  // 2^63 is the first double beyond the range.
  if (x >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (x < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  // Explicit, so the result never depends on the processor's rounding mode.
  const double f = std::floor(x);
  const double frac = x - f;  // exact
  // f is whole and within the range here, and a double that large has no
  // fraction, so the step up cannot overflow. Which way a value rounds is as
  // random as the data (a trace rounds hundreds of thousands of them per
  // redraw), so the choice is arithmetic rather than a branch.
  const auto whole = static_cast<int64_t>(f);
  const int64_t up =
      static_cast<int64_t>(frac > 0.5) | (static_cast<int64_t>(frac == 0.5) & whole & 1);
  return whole + up;
}

inline int Rnd(double x) {
  int64_t v = Rnd64(x);
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace vna
