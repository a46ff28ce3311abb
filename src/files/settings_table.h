// The settings list of the init file: one row per line, in file order, with
// the key literal (trailing blanks included), the setting it holds, and the
// rules by which the line is written and read. The init file, the state
// files and every reader or writer of them go through this one table.
#pragma once

#include <string>
#include <vector>

namespace vna {

enum class InitLineKind {
  kFormat,       // line 1: the format number, checked before anything is read
  kSetting,      // a keyed number line or a keyless text line
  kMarkerCount,  // "maxmarkers": how many marker groups of six lines follow
  kMarkers,      // the marker groups (not a line of its own)
  kSpare,        // line 252: written empty, skipped by the reader
  kEnd,          // "EIF - End of Init File"
};

struct InitLine {
  InitLineKind kind = InitLineKind::kSetting;
  const char* key = nullptr;  // key literal with its trailing blanks; null: a keyless text line
  int* int_value = nullptr;   // the setting held by the line (at most one of the three)
  double* double_value = nullptr;
  std::string* text_value = nullptr;
  // The text written after the key when it is not simply the setting's own
  // (format number, single-precision freq, "L" of the SWR scale, degrees).
  std::string (*write)() = nullptr;
  // The read rule: receives the value of the line (and, after the key word
  // is cut off, the value text) and stores what it keeps. Null: the setting
  // takes the value (rounded for an integer) or, keyless, the whole text.
  void (*read)(double value, const std::string& text) = nullptr;
};

// The whole list, lines 1 to 267 of a file written by the program, with the
// marker groups as one row.
const std::vector<InitLine>& InitFileLines();

// Keys of the six lines of one marker group.
extern const char* const kMarkerKeys[6];

// The end line.
extern const char* const kInitEndLine;

// The number text of a setting's value in the file; a value that is not
// finite, which no setting can use and no reader takes back, is written as
// 0 (the file is otherwise refused whole when read).
std::string SettingNumber(double x);

}  // namespace vna
