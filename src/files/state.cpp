#include "files/state.h"

namespace vna {

TextFile data_file;
TextFile file_out;
std::string line_buf;

std::string file_name, aux_text, dialog_folder;

std::vector<std::string> refused_files;
float freq_single = 0;

double scn_const_a = 0, scn_const_b = 0, scn_const_c = 0;
std::string scan_comment, loaded_scan_name;
int autosave_flipA = 0, autosave_flipB = 0, autosave_block = 0;
int scn_spare_1 = 0, scn_spare_2 = 0, scn_spare_3 = 0;
double spare_scale_1 = 0, spare_scale_2 = 0;

int xtal_seq_no = 0;
std::string xtal_folder;

double config_numbers[13] = {};
int config_end = 0, config_line_no = 0, config_version = 0, config_version_min = 252,
    config_loaded = 0, config_interactive = 0, band_name_count = 0;
int cfg_editor_open = 0, config_changed = 0, cfg_spare_int = 0;
int cfg_editor_running = 0;
Window cfg_editor_win{"cfg_editor_win"};
std::string cfg_editor_text;

int save_mode = 0, scan_load_mode = 0, scan_format_A = 0, scan_format_B = 0;

}  // namespace vna
