// Globals of files and settings persistence that other folders use.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ui.h"
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

// ---- Shared paths ----
extern std::string file_name;      // the path the next file operation opens
extern std::string aux_text;       // second scratch text: the folder SplitPath leaves
extern std::string dialog_folder;  // start folder of the file dialogs

// Files the program writes again itself whose reader refused them this run,
// as absolute paths, until they are set aside (refused_file.h).
extern std::vector<std::string> refused_files;

// ---- Values the init file writer keeps ----
extern float freq_single;  // freq at single precision, as last written

// ---- Scan files ----
extern double scn_const_a, scn_const_b, scn_const_c;  // constants written into Port A scan files
extern std::string scan_comment;                      // comment of the loaded scan file
extern std::string loaded_scan_name;                  // name of the last loaded scan file
extern int autosave_flipA;  // digit of the Port A graph saved or recalled last, 0 or 1
extern int autosave_flipB;  // the same for Port B
extern int autosave_block;  // 1 while a recall loads: no auto-save meanwhile
extern int scn_spare_1, scn_spare_2, scn_spare_3;  // reserved integers of the scan files
extern double spare_scale_1, spare_scale_2;        // spare full-scale values of the Port B file

// ---- Crystal data file ----
extern int xtal_seq_no;          // sequence number of the last crystal saved (0: none yet)
extern std::string xtal_folder;  // folder of the last crystal data file chosen

// ---- Config file and its editor ----
extern double config_numbers[13];  // numbers of the value line last read: [n] first .. [1] last
extern int config_end;             // the loader met the end of the file or "END of config"
extern int config_line_no;         // line count handed to ReadDataLine
extern int config_version;         // "config_version=" of the loaded file, 0 when none
extern int config_version_min;     // lowest accepted version (252, set at start-up)
extern int config_loaded;          // 1 once all 63 positions were read
extern int config_interactive;     // the load was asked for from the menu
extern int band_name_count;        // band whose line is read next, 1..17
extern int cfg_editor_open;        // the Config File Editor is open
extern int config_changed;         // the editor saved the config file in this run
extern int cfg_editor_running;     // the Config File Editor's loop runs; clearing it ends the loop
extern Window cfg_editor_win;      // the Config File Editor's window
extern std::string cfg_editor_text;  // the text it shows: the file's lines, each ended by CR LF
extern int cfg_spare_int;            // config value without further use

// ---- Scan files: naming and the start-up load ----
extern int save_mode;  // 0 ask with the file dialog; 1 the exit and start-up name;
                       // 10 the auto-save name + the suffix in msg_text; 3 the command-line file
extern int
    scan_load_mode;  // 3 while a scan file named on the command line waits for the start-up load
extern int scan_format_A;  // format number of Port A scan files and TDR files (130)
extern int scan_format_B;  // format number of Port B scan files (4080)

}  // namespace vna
