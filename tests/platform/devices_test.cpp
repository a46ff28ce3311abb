// MIDI, sound and the desktop's document handler must neither hang nor crash
// on a machine without devices (CI has none), and work where there are some.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "platform/desktop.h"
#include "platform/midi.h"
#include "platform/sound.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::TempDir;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// A mono 16-bit PCM WAV file of silence.
std::string SilentWav(int ms) {
  const uint32_t rate = 8000, bytes = rate * 2 * static_cast<uint32_t>(ms) / 1000;
  auto le32 = [](uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  auto le16 = [](uint16_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
  };
  return "RIFF" + le32(36 + bytes) + "WAVE" + "fmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
         le32(rate * 2) + le16(2) + le16(16) + "data" + le32(bytes) + std::string(bytes, '\0');
}

TEST(Midi, PackedMessagesBecomeTheirBytes) {
  using Bytes = std::vector<unsigned char>;
  const std::pair<uint32_t, Bytes> cases[] = {
      {0x90 + 60 * 256 + 64 * 65536, {0x90, 60, 64}},
      {0x80 + 60 * 256 + 64 * 65536, {0x80, 60, 64}},
      {0xC0 + 79 * 256 + 64 * 65536, {0xC0, 79}},         // the 64 of a program change is dropped
      {0x90 + 330 * 256 + 64 * 65536, {0x90, 74, 65}},    // note 330 carries into the velocity
      {0x90 + 200 * 256 + 127 * 65536, {0x90, 72, 127}},  // never a data byte above 127
      {0x45, {}},                                         // no status byte: nothing
      {0xF8, {}},
  };
  for (const auto& [packed, bytes] : cases) EXPECT_EQ(MidiBytes(packed), bytes) << packed;
}

TEST(Midi, OpenSendCloseNeverHangsOrCrashes) {
  const auto t0 = Clock::now();
  const int h = MidiOpen();
  MidiSend(h, 0xC0 + 79 * 256 + 64 * 65536);
  MidiSend(h, 0x80 + 60 * 256 + 64 * 65536);
  EXPECT_EQ(MidiClose(h), h != 0 ? kMidiOk : kMidiInvalidHandle);
  EXPECT_EQ(MidiClose(h), kMidiInvalidHandle);  // closed already
  EXPECT_EQ(MidiClose(0), kMidiInvalidHandle);
  MidiSend(0, 0x90 + 60 * 256 + 64 * 65536);  // without a device: nothing
  MidiSend(h, 0x90 + 60 * 256 + 64 * 65536);  // after close: nothing
  EXPECT_LT(SecondsSince(t0), 5.0);
}

TEST(Sound, WavLengthFromItsHeader) {
  TempDir dir;
  EXPECT_EQ(WavDurationMs(dir.Write("a.wav", SilentWav(250))), 250);
  EXPECT_EQ(WavDurationMs(dir.Write("b.wav", "RIFF not a wave")), -1);
  EXPECT_EQ(WavDurationMs(dir / "missing.wav"), -1);
}

TEST(Sound, PlaysOrStaysQuietWithinItsLengthPlusAMargin) {
  TempDir dir;
  const auto t0 = Clock::now();
  EXPECT_FALSE(PlayWavSync(dir / "missing.wav"));
  EXPECT_FALSE(PlayWavSync(dir.Write("bad.wav", "junk")));
  PlayWavSync(dir.Write("zero.wav", SilentWav(100)));  // false without a device
  EXPECT_LT(SecondsSince(t0), 4.0);
}

TEST(Desktop, MissingDocumentFailsQuietly) {
  TempDir dir;
  EXPECT_FALSE(OpenDocument(dir / "zelmar-7306_032417.pdf"));
  EXPECT_FALSE(OpenDocument(""));
}

}  // namespace
}  // namespace vna
