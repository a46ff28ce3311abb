// Shell routines and globals that other folders call or read but that are
// not built yet: tones, the registry mailbox, the status window and the
// About box. Each is a weak definition in pending.cpp, so the real one takes
// its place; delete the entry then.
#pragma once

#include <string>

namespace vna {

// Shared parameter slot: a command stores a small number here before it calls
// a routine that reads it (the marker sub-commands). Placeholder: 0.
extern int cmd_param;
// Name of the routine running, for the diagnostic trace. Placeholder: empty.
extern std::string SUB;

// Tone output: the MIDI device opened at start-up and closed at exit.
// Placeholders until the tones are built: no device is opened (midi_out
// stays 0), so nothing is ever sent.
extern int midi_out;     // handle of the open MIDI output; 0 when none
extern int midi_result;  // result of the last device call
void OpenMidi();
void NoteOff();

// The registry mailbox's polling loop at start-up. Placeholder: returns at
// once, as it does without an instrument.
void RegistryControl();

// ---- What the main window's commands call ----
// Each placeholder shows nothing and sends nothing.
void ShowStatus();       // the Status view in point_win
void ShowAbout();        // the About box
void SetToneRange();     // value of the highest tone of the active tone mode
void WriteControlCsv();  // the result CSV of a scan

}  // namespace vna
