// Writing a file without ever losing the one it replaces. The new content
// goes to a temporary file in the same folder; only when all of it was
// written, flushed to the disk and closed without an error does it take the
// old file's name. A full disk, a read-only file or folder, or any other
// failure leaves the old file whole and says why, so a caller never reports
// a file as saved that is not.
//
// Every writer of a user's file uses it: the init and state files, the
// config file's copy, scan, calibration, marker and TDR files.
#pragma once

#include <string>

#include "shell/text.h"

namespace vna {

struct SafeWrite {
  std::string target;  // host path of the file being replaced (or created)
  std::string temp;    // host path of the temporary file while writing
  std::string error;   // why the write failed, in words for a message
};

// Opens f for writing ("W" semantics) on a new temporary file beside name (a
// program path, mapped with HostPath). Returns 0, or 1 when the file cannot
// be written: it is read-only, or its folder is read-only or missing. Nothing
// on disk changes on failure; w.error says why.
int OpenSafeWrite(SafeWrite& w, TextFile& f, const std::string& name);

// Flushes, syncs and closes f, then puts the temporary file in the target's
// place. Returns true when the new file is in place. On failure the
// temporary file is removed, the target is as it was, and w.error says why.
bool CommitSafeWrite(SafeWrite& w, TextFile& f);

// Closes f and removes the temporary file; the target stays as it was.
void AbandonSafeWrite(SafeWrite& w, TextFile& f);

// The program's message for a file it may not write: "The file named: " +
// name + " ... is a Read-Only file ..." (CR line breaks).
std::string ReadOnlyFileText(const std::string& name);
// The message for a write that failed after it began; says the old file was kept.
std::string WriteFailedText(const std::string& name, const std::string& reason);

}  // namespace vna
