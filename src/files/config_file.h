// The config file: colours, bands, sizes, units and options a user tunes in
// a text editor. A title line, five version lines, then 63 positions of one
// or three numbers each, with comment lines and file-name lines
// ("controlfile=", "outputfile=", "voicefilefolder=") among them.
#pragma once

#include <cstdint>

namespace vna {

// Comment lines make a config file of any length, but one far longer than
// the 32 000 characters the Config File Editor holds is none the program or
// a person wrote.
constexpr int64_t kMaxConfigFileBytes = int64_t{1} << 20;

// Reads the config file named by file_name (when it cannot be opened, the
// program folder's "_VNA_Config_1.cfg") into the settings. config_loaded := 1
// only when all 63 positions were read; a complete load is copied to the
// program folder's "ZiviRUR.cfg". The loaded file itself is never written.
// With config_interactive 1 the graph is redrawn and the title shown.
void LoadConfig();

// Gives the program folder the program's own "_VNA_Config_1.cfg" when it has
// none, so a new folder starts with a complete config file. A file that is
// there is never touched. False when it was missing and could not be written.
bool InstallDefaultConfig();

// Reads lines until one takes the next position (a value line with n = 1 or
// 3 numbers, or a file-name line) or the file ends (config_end := 1, file
// closed).
void ReadConfigLine(int n);

// 1 when line_buf is a comment line: empty, without a letter or digit, or
// with "//" before its first letter or digit.
int IsCommentLine();

// The name of a band line ("station=" or "band=") into band_name entry
// band_name_count, in upper case.
void ReadStationName();

}  // namespace vna
