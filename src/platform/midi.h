// MIDI output (tones) through the ALSA sequencer. Without a sequencer or an
// output port nothing opens, every send does nothing, and one line on stderr
// says so.
#pragma once

#include <cstdint>
#include <vector>

namespace vna {

// Opens the first output port. Returns a handle (not 0), or 0 when none.
int MidiOpen();
// Sends a packed short message: status + byte1 x 256 + byte2 x 65536. Does
// nothing with handle 0 or a closed handle.
void MidiSend(int handle, uint32_t packed);
// Closing 0 or a closed handle does nothing.
void MidiClose(int handle);

// The bytes a packed message becomes: the status and as many data bytes as it
// takes (two for note off/on and controllers, one for a program change), each
// data byte cut to 7 bits so it can never read as a status. Empty when the
// low byte is no channel status.
std::vector<unsigned char> MidiBytes(uint32_t packed);

// Test hook. kCapture: MidiOpen gives a handle without touching a device and
// MidiSend keeps the bytes each message became (MidiCaptured) instead of
// sending them. kNoDevice: MidiOpen finds no device, as on a machine without
// one. kReal (the default): the device, if any.
enum class MidiMode { kReal, kNoDevice, kCapture };
void SetMidiMode(MidiMode mode);
const std::vector<std::vector<unsigned char>>& MidiCaptured();
void ClearMidiCaptured();

}  // namespace vna
