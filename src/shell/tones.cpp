#include "shell/tones.h"

#include <cstdint>

#include "platform/midi.h"
#include "shell/number_entry.h"
#include "shell/state.h"
#include "shell/text.h"

namespace vna {

int midi_out = 0;
int midi_result = 0;
int midi_program = 79;
int tone_note = 0;
int tone_last_note = 0;

namespace {

constexpr int kNoteOff = 0x80;
constexpr int kNoteOn = 0x90;
constexpr int kProgramChange = 0xC0;
constexpr int kVelocity = 64;

// One short message: status, then the note or program, then the velocity.
// A note above 255 carries into the velocity byte, as the device's packed
// word does (330 plays note 74 at velocity 65).
void Send(int status, int data) {
  if (midi_out == 0) return;
  const int64_t packed = status + int64_t{data} * 256 + int64_t{kVelocity} * 65536;
  MidiSend(midi_out, static_cast<uint32_t>(packed));
}

struct ToneMode {
  int& value;
  double& remembered;
  const char* prompt;
  double low, high;
};

}  // namespace

void OpenMidi() {
  midi_out = MidiOpen();
  midi_result = midi_out != 0 ? 0 : 1;
  // The device volume (left channel full, right silent) has no counterpart
  // on this platform's MIDI output; the program change is what matters.
  Send(kProgramChange, midi_program);
}

void PlayNote() {
  if (midi_out == 0) return;
  Send(kNoteOff, tone_note);
  tone_last_note = tone_note;
  Send(kProgramChange, midi_program);
  Send(kNoteOn, tone_note);
}

void NoteOff() {
  Send(kNoteOff, tone_last_note);
}

void SetToneRange() {
  const ToneMode modes[] = {
      {tone_swr, tone_swr_max, "SWR (2-20)", 2, 20},
      {tone_phase, tone_phase_max, "Phase (2-90)", 2, 90},
      {tone_zmag, tone_zmag_max, "Zmag (50-10K)", 50, 10000},
  };
  for (const ToneMode& m : modes) {
    if (m.value == 0) continue;
    msg_text = std::string(m.prompt) + " value for highest tone output";
    input_value = m.value;
    InputNumber();
    double v = input_value;
    if (v < m.low) v = m.low;
    if (v > m.high) v = m.high;
    m.value = Rnd(v);
    m.remembered = m.value;
    return;
  }
}

}  // namespace vna
