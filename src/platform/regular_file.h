// Opening only regular files, never waiting: an ordinary open of a named
// pipe blocks until a writer comes, and a device may read without end. The
// text files and the voice files open through here.
#pragma once

#include <sys/stat.h>

#include <string>

namespace vna {

// Opens an existing host path with open(2) flags (O_CLOEXEC added; a file
// O_CREAT makes gets mode 0666 less the umask), only when it is a regular
// file, whose status goes to st. The descriptor blocks again when returned;
// -1 on failure.
int OpenRegularFile(const std::string& host_path, int flags, struct stat& st);

}  // namespace vna
