// Shell routines and globals that other folders call or read but that are
// not built yet. Placeholders until the setup entries and the diagnostic
// switches are built: each is a weak definition in pending.cpp (a dialog
// handler centres its dialog and waits for the close box), so the real one
// takes its place; delete the entry then.
#pragma once

namespace vna {

extern int monitor_trace;  // diagnostic switch: echo serial commands

int CableZoHandler();
int CommentHandler();
int CommPortHandler();
int RulersHandler();
int AverageHandler();
int DelayTimeHandler();

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

}  // namespace vna
