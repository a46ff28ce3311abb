// Tone output: a MIDI note whose pitch follows a measured value, so that a
// person can tune an antenna or a circuit by ear. The tone routine of point
// data mode chooses the note; this file owns the device and the messages.
#pragma once

namespace vna {

extern int midi_out;        // handle of the open MIDI output; 0 when none
extern int midi_result;     // result of the last device call: 0 success, else failure
extern int midi_program;    // instrument program of the tones (79)
extern int tone_note;       // note to play next, set by the tone routine (320..370)
extern int tone_last_note;  // note played last

// Opens the default MIDI output into midi_out and selects program 79; leaves
// midi_out 0 when there is no device.
void OpenMidi();
// Note off of tone_note, program change, note on of tone_note; remembers the
// note in tone_last_note. Nothing without a device.
void PlayNote();
// Silences tone_last_note. Nothing without a device.
void NoteOff();
// Asks for the value of the highest tone of the tone mode that is on, and
// stores it clamped to the mode's range. No box while every mode is off.
void SetToneRange();

}  // namespace vna
