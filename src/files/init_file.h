// The init file ("VNA_Init_Data_ 4177.ini" in the program folder) and the
// state files, which share its format: every setting, one line each, in the
// order of settings_table.cpp.
#pragma once

#include <string>

namespace vna {

// The init file's name, "VNA_Init_Data_" + number text of (format + 4152) +
// ".ini": "VNA_Init_Data_ 4177.ini", with its blank.
std::string InitFileName();

// msg_text := the init file's name, file_name := program folder + that name,
// then LoadInitData. Start-up calls it once after InitVars.
void ReadInitFile();
// The same name building, then SaveInitData. Called at exit and after a
// Port A calibration. An init file that LoadInitData refused in this run
// (no number where one belongs, too large, a wrong marker count) is first
// moved aside and kept (refused_file.h); when it cannot be, it is not
// replaced, and a box says so.
void WriteInitFile();

// Reads the init or state file named by file_name into the settings. A
// missing file, a wrong format number, a wrong marker count or a file that
// ends early is reported in a message box; what could not be read keeps its
// value. A file with a line that holds no number where the table has one
// (a keyed setting, the marker count or a marker value) is refused whole
// with a message: no setting changes. The init file itself, refused whole
// or at its marker count, is noted to be kept before the next write over it,
// and the message says where. Never fails otherwise.
void LoadInitData();
// Writes every setting to file_name; msg_text names the file in the failure
// messages. The old file is replaced only by a complete new one. Returns
// true when the file was written.
bool SaveInitData();

// Cuts the key word off line_buf: leading blanks, then the key word, are
// dropped; the value text keeps the blank that ended the key word.
void GetInitValue();

}  // namespace vna
