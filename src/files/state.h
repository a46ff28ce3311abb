// Globals of files and settings persistence that other folders use.
#pragma once

#include <cstddef>
#include <string>

#include "shell/text.h"

namespace vna {

// The two file variables every reader and writer of the program shares: one
// file each at a time, opened and closed within one procedure.
extern TextFile data_file;  // the file the readers read line by line
extern TextFile file_out;   // the file the writers write

// The line last read from data_file, without its line end; never longer than
// kLineBufChars (the rest of a longer line is dropped).
constexpr size_t kLineBufChars = 254;
extern std::string line_buf;

}  // namespace vna
