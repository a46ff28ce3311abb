// What a user is told when a file cannot be saved. Every file the program
// writes goes through OpenTextFile "W", which writes a temporary file beside
// the old one and puts it in place only when CloseTextFile finds that every
// write, the flush and the sync succeeded (shell/text.h). A writer shows one
// of these texts when either step fails, and never reports the file as saved:
// the old file is still whole.
#pragma once

#include <string>

namespace vna {

// OpenTextFile "W" failed: "The file named: " + name + "  " CR "is a
// Read-Only file." ... (the program's own text, CR line breaks).
std::string ReadOnlyFileText(const std::string& name);
// OpenTextFile "W" failed where the folder itself is missing: the folder is
// named; otherwise ReadOnlyFileText.
std::string CannotCreateFileText(const std::string& name);
// CloseTextFile returned err: the write did not complete and the previous
// file was kept.
std::string WriteFailedText(const std::string& name, int err);

}  // namespace vna
