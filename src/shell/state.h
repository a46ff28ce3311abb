// Globals of the application shell that other folders read.
#pragma once

#include <string>

#include "shell/windows.h"

namespace vna {

// Decimals used when a number that is not whole becomes text, and when a
// double is printed into a window. 2 until start-up sets it; procedures that
// write numbers set their own and leave it set. Never above 40.
// Shared parameter slot: a command stores a small number here before it calls
// a routine that reads it (the marker sub-commands).
extern int cmd_param;
extern int number_decimals;

// ---- Constants ----
extern double pi;        // 3.141592654, the value every formula of the program uses
extern double twopi;     // 2 pi
extern double min_freq;  // lowest frequency of the instrument, MHz (0.005)
extern double min_Zref;  // lowest accepted reference resistance, ohms (1)

// ---- Windows and the main loop ----
extern int main_loop_on;  // 1 while the application runs
// 1: another copy has the instrument; this one writes none of the files a
// run leaves for the next (the init file, the auto-saved scans and TDR trace).
extern int keep_shared_files;
extern int loop_restore;          // copied into main_loop_on when a Port A scan ends
extern int lbutton_down;          // left mouse button held on the graph
extern int resize_pending;        // the main window was resized; the next mouse move reopens it
extern std::string key_sequence;  // keys typed so far of a hidden key code
extern int focus_win;             // window that had the focus last: 1 main, 3 status/point data,
                       // 4 help or web, 5 Smith, 6 second Smith, 7 SWR Ratio, 8 polar or markers
extern int help_open;  // 1 while a browser window is open

// ---- Shared texts ----
extern std::string command_line;  // the process's command line, each argument quoted
extern std::string msg_text;      // scratch text: prompts, captions, messages, paths to split
extern std::string PortA_title, PortB_title;  // titles of the Port A and Port B graphs

// ---- Number entry: scratch values every number box overwrites ----
extern double input_value;  // number in and out of the number box; real part of an impedance
extern double input_imag;   // imaginary part of a parsed impedance
extern double input_scale;  // 0.001 when the last parsed text held a "k", else 1

// ---- The program and the instrument model ----
extern std::string prog_ver;     // "636"
extern std::string prog_subver;  // "A", always shown right after prog_ver
extern std::string prog_date;    // "Program version 636A Aug 12 2018"
extern std::string manual_name_single,
    manual_name_uhf;       // manual of each model, below the program folder
extern std::string model;  // "Zelmar" (two-multiplier model) or "7306" (single-DDS model)
extern int api_busy;       // 1 while an exported function runs: no message boxes

// ---- Recycle mode ----
extern int recycle_on;          // 0 off, 1 first pass, 2 later passes
extern int recycle_count;       // repeated scans left before the graph is cleared
extern int recycle_scans_done;  // scans since Recycle was switched on

// ---- Keyboard and mouse of the graph windows ----
extern int key_code;                       // key being handled; 1 once it has been handled
extern int key_down;                       // 1 between a key-down and the next key-up
extern int ctrl_key_down, shift_key_down;  // Ctrl and Shift held, as far as the keys showed
extern int mouse_x, mouse_y;               // position of the cursor readout
extern int last_mouse_x, last_mouse_y;     // last mouse position seen in an event

// ---- Scan commands ----
extern int color_index;  // 0..7: entry of cycle_colors for the light pass of the next scan

// ---- Comments ----
// The last comment accepted in Port A and in Port B mode; not saved.
extern std::string last_comment_A, last_comment_B;

// ---- Registry mailbox, tones and tool tips ----
extern std::string regctl_key;                              // registry key of the mailbox
extern double tone_swr_max, tone_phase_max, tone_zmag_max;  // values of the highest tone
extern int tooltips_on;                                     // tool tips of the main window
// Tone modes: 0 off, else the value of the highest tone; at most one is on.
extern int tone_swr, tone_phase, tone_zmag;

// ---- Diagnostics ----
extern int DIAGMODE;       // diagnostic mode: extra readouts, menu entries, the serial echo
extern int dsp_debug;      // diagnostic output of the noise filters
extern int coord_debug;    // diagnostic output of the graph coordinates
extern int trace_serial;   // echo of serial commands in diagnostic mode
extern int monitor_trace;  // "Debug Toggle": echo serial commands too
extern std::string SUB;    // trace tag of the running routine, set while monitor_trace is on
extern int checkpoint;     // last step reached, for diagnostics
extern double MyVar1, MyVar2, MyVar3, MyVar4;  // values typed in diagnostic mode

}  // namespace vna
