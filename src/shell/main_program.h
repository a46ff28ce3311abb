// The program's start, main loop and exit.
#pragma once

#include <string>

namespace vna {

// The whole run: start-up, the main loop until a handler clears
// main_loop_on, then the exit sequence. Returns the process's exit code.
int MainProgram(int argc, char** argv);

// The three parts of MainProgram, for the tests that run the program in
// their own process.
void StartUp();       // the numbered start-up sequence, up to the main loop
void MainLoop();      // waits for events until main_loop_on is 0
void ExitSequence();  // saves, leaves the instrument safe, closes everything

// For a program that loads the library and never runs start-up: the fixed
// values, the version texts and every setting's default, as start-up's first
// steps give them.
void PrepareWithoutStartUp();
// Start-up's model decision after the link answered: the detecting version
// query, the frequency plan, the oscillator and the model's range.
void IdentifyInstrument();
// Setup -> Comm Port in demonstration mode: the port is opened and asked
// again, and an instrument that answers is taken as start-up takes it (its
// model, title, menus, defaults and the calibration the settings name); a
// copy that found the port busy then keeps its settings and scans as any
// copy does. Without an answer the program says so as start-up does and
// stays in demonstration mode.
void TakeInstrument();
// True once StartUp has begun in this process.
bool StartUpRan();

// Start-up step 2: the version texts, the lowest accepted config version and
// the manual names.
void SetProgramVersion();

// Diagnostic mode from the flag files "c:\vna_diag2flag.txt" and
// "c:\temp\vna_diag2flag.txt" (either one is enough; only their existence
// counts).
void CheckFlagFiles();

// Takes a scan file named on the command line: the text before the first
// ".scn" back to the quote that opens it goes into file_name, and
// scan_load_mode := 3; else scan_load_mode := 0.
void GetCmdLineFile();

// The command line as one text, each argument quoted, the program first.
std::string BuildCommandLine(int argc, char** argv);

// The text of the main window's not-responding box.
extern const char* const kNotRespondingText;
// Said instead when the port is held by another program (another copy of
// this one): this copy runs without the instrument and keeps its settings
// out of the shared init file.
std::string PortBusyText();

}  // namespace vna
