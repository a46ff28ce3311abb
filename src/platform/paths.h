// The program folder, and the mapping of the program's Windows-style paths
// to host paths.
//
// Every file name the program builds passes through HostPath before it
// reaches the host:
// - A name with a drive letter ("c:\vna_diag2flag.txt", "C:\data\out.csv")
//   goes below the drive root, one folder per letter in lower case:
//   <root>/c/vna_diag2flag.txt, <root>/c/data/out.csv. The root is
//   VNA_DRIVE_ROOT when set, else $HOME/.vna/drives; the letter's folder is
//   created on first use, as a drive always exists on Windows.
// - Backslashes become "/" everywhere, so names stored in old files by the
//   Windows program ("Sounds_1\zero.wav") keep working.
// - Host paths pass unchanged; a name without a folder stays relative to the
//   current folder.
#pragma once

#include <string>

namespace vna {

// The program folder, with a trailing "/": where the init file, the config
// file, the scans saved at exit and the manual live. It is the user's data
// folder of the program, $XDG_DATA_HOME/vna (~/.local/share/vna), created
// when missing, so a user's settings outlive the build folder and every copy
// of the program shares them. VNA_PROGRAM_DIR, when set, takes its place
// (tests run in a temporary folder).
std::string ProgramFolder();

// The bytes of a file the program ships inside itself (src/files/defaults),
// "" when there is none by that name.
std::string ShippedFile(const std::string& name);

// The host folder that stands for drive letters, without a trailing "/".
std::string DriveRoot();

std::string HostPath(const std::string& path);

}  // namespace vna
