// Files the program writes again of its own accord (the init file at exit and
// after a Port A calibration, the last TDR trace) hold the user's work even
// when their reader refused them: the write that follows a refusal would
// replace them with the values in memory. Such a file is moved aside first,
// to a name that says why, and kept.
#pragma once

#include <string>

namespace vna {

// Where a refused file is kept: its name with ".refused" before the
// extension ("VNA_Init_Data_ 4177.refused.ini").
std::string RefusedFileName(const std::string& path);

// A reader refused the file at path whole. For a file the program writes
// again itself, returns the sentence the reader's message ends with (CR
// first), which says where the file will be kept; else "".
std::string NoteRefusedFile(const std::string& path);

// Called before the program writes path of its own accord: a file refused
// earlier in this run is moved to RefusedFileName(path) (an older copy
// there is replaced). False when it could not be moved: the file stays as it
// is, and the caller must not write over it.
bool SetRefusedFileAside(const std::string& path);

}  // namespace vna
