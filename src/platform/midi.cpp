#include "platform/midi.h"

#include <RtMidi.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace vna {

namespace {

std::unique_ptr<RtMidiOut> out;
int open_handle = 0;
int next_handle = 1;
MidiMode mode = MidiMode::kReal;
std::vector<std::vector<unsigned char>> captured;

void SayOnce(const char* why) {
  static bool said = false;
  if (said) return;
  said = true;
  std::fprintf(stderr, "vna: no MIDI output (%s); tones are silent\n", why);
}

// RtMidi's warnings would otherwise go to stderr on every call.
void Quiet(RtMidiError::Type, const std::string&, void*) {}

}  // namespace

std::vector<unsigned char> MidiBytes(uint32_t packed) {
  const unsigned char status = packed & 0xFF;
  const unsigned char b1 = (packed >> 8) & 0x7F;
  const unsigned char b2 = (packed >> 16) & 0x7F;
  switch (status & 0xF0) {
    case 0x80:  // note off
    case 0x90:  // note on
    case 0xA0:  // key pressure
    case 0xB0:  // controller
    case 0xE0:  // pitch bend
      return {status, b1, b2};
    case 0xC0:  // program change
    case 0xD0:  // channel pressure
      return {status, b1};
    default:
      return {};
  }
}

void SetMidiMode(MidiMode m) {
  mode = m;
}
const std::vector<std::vector<unsigned char>>& MidiCaptured() {
  return captured;
}
void ClearMidiCaptured() {
  captured.clear();
}

int MidiOpen() {
  if (open_handle != 0) return open_handle;
  if (mode == MidiMode::kNoDevice) return 0;
  if (mode == MidiMode::kCapture) {
    open_handle = next_handle++;
    return open_handle;
  }
  // Without the sequencer device RtMidi and ALSA would each print their own
  // complaint before throwing.
  if (access("/dev/snd/seq", R_OK | W_OK) != 0) {
    SayOnce("no ALSA sequencer");
    return 0;
  }
  try {
    // ALSA only: the JACK API crashes when no JACK server runs.
    auto midi = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, "vna");
    midi->setErrorCallback(&Quiet, nullptr);
    if (midi->getPortCount() == 0) {
      SayOnce("no output port");
      return 0;
    }
    midi->openPort(0, "vna tones");
    if (!midi->isPortOpen()) {
      SayOnce("the output port did not open");
      return 0;
    }
    out = std::move(midi);
  } catch (const std::exception&) {
    SayOnce("no ALSA sequencer");
    return 0;
  }
  open_handle = next_handle++;
  return open_handle;
}

void MidiSend(int handle, uint32_t packed) {
  if (handle == 0 || handle != open_handle) return;
  std::vector<unsigned char> bytes = MidiBytes(packed);
  if (bytes.empty()) return;
  if (!out) {
    if (mode == MidiMode::kCapture) captured.push_back(bytes);
    return;
  }
  try {
    out->sendMessage(&bytes);
  } catch (const std::exception&) {
  }
}

void MidiClose(int handle) {
  if (handle == 0 || handle != open_handle) return;
  out.reset();  // closes the port
  open_handle = 0;
}

}  // namespace vna
