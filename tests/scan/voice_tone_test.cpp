// The voice and the tone of point data mode: which wave files the SWR of a
// reading asks for, in order, and which notes (and MIDI bytes) the SWR, the
// phase and |Z| give; no device means no byte and no wait.
#include <cmath>
#include <string>
#include <vector>

#include "platform/midi.h"
#include "scan/scan_fixture.h"
#include "scan/voice_tone.h"
#include "shell/tones.h"

namespace vna {
namespace {

class VoiceToneTest : public test::ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    voice = 1;
    voice_digits = 1;
    voice_repeat = 0;
    voice_folder = "nowhere\\";  // a missing file is a silent digit: nothing waits
    voice_last_value = -1;
    voice_countdown = 0;
    tone_swr = tone_phase = tone_zmag = 0;
    std::fill(tone_history, tone_history + 4, 0);
    tone_last_value = 0;
    tone_restart = 0;
    DIAGMODE = 0;
    SetMidiMode(MidiMode::kCapture);
    OpenMidi();
    ClearMidiCaptured();
  }
  void TearDown() override {
    MidiClose(midi_out);
    SetMidiMode(MidiMode::kReal);
    midi_out = 0;
    ScanTest::TearDown();
  }
  // The words asked for since the logs were cleared, file names only.
  static std::vector<std::string> Spoken() {
    std::vector<std::string> out;
    for (const std::string& p : testhook::SoundsPlayed()) {
      EXPECT_EQ(p.rfind(voice_folder, 0), 0u) << p;
      out.push_back(p.substr(voice_folder.size(), p.size() - voice_folder.size() - 4));
    }
    testhook::ClearLogs();
    return out;
  }
  static int Note(double value) {
    tone_restart = 1;
    if (tone_swr != 0) swr = value;
    if (tone_phase != 0) Zphase = value / 57.296;
    if (tone_zmag != 0) Zmag = value;
    PlayTone();
    return tone_note;
  }
};

using Words = std::vector<std::string>;

TEST_F(VoiceToneTest, SwrBecomesDigitFiles) {
  struct Case {
    double swr;
    int digits;
    Words words;
  };
  const Case cases[] = {
      {1.23, 2, {"one", "point", "two", "three"}},
      {1.23, 1, {"one", "point", "two"}},
      {12.5, 1, {"one", "two", "point", "five"}},
      {9.96, 1, {"one", "zero", "point", "zero"}},  // rounds to 10.0
      {150, 1, {"one", "five", "zero", "point", "zero"}},
      {2.0, 2, {"two", "point", "zero", "zero"}},
  };
  for (const Case& c : cases) {
    voice_digits = c.digits;
    voice_last_value = -1;
    swr = c.swr;
    SpeakValue();
    EXPECT_EQ(Spoken(), c.words) << c.swr << " with " << c.digits;
  }
  voice = 0;
  swr = 3.3;
  SpeakValue();
  EXPECT_TRUE(Spoken().empty());
}

TEST_F(VoiceToneTest, UnchangedValueIsRepeatedOnlyAsAsked) {
  swr = 1.5;
  for (int i = 0; i < 5; ++i) SpeakValue();
  EXPECT_EQ(Spoken().size(), 3u) << "spoken once";
  voice_repeat = 3;
  voice_last_value = -1;
  std::vector<int> spoken_at;
  for (int reading = 1; reading <= 7; ++reading) {
    SpeakValue();
    if (!Spoken().empty()) spoken_at.push_back(reading);
  }
  EXPECT_EQ(spoken_at, (std::vector<int>{1, 4, 7}));
  swr = 1.6;  // a new value is spoken at once
  SpeakValue();
  EXPECT_EQ(Spoken(), (Words{"one", "point", "six"}));
}

TEST_F(VoiceToneTest, NotesFollowTheValueOfTheToneMode) {
  tone_swr = 10;
  EXPECT_EQ(Note(1), 320);
  EXPECT_EQ(Note(10), 360);
  EXPECT_EQ(Note(100), 370);
  EXPECT_EQ(Note(1e6), 370);
  tone_swr = 0;
  tone_phase = 60;
  EXPECT_EQ(Note(-30), 340);
  tone_phase = 0;
  tone_zmag = 500;
  EXPECT_EQ(Note(250), 340);
  EXPECT_EQ(Note(1000), 370);
}

TEST_F(VoiceToneTest, NoteMessagesCarryIntoTheVelocityByte) {
  tone_swr = 10;
  tone_last_note = 320;
  Note(std::exp(std::log(10.0) / 4));  // a quarter of the lower range: 330
  ASSERT_EQ(tone_note, 330);
  using Bytes = std::vector<unsigned char>;
  const std::vector<Bytes> want = {
      {0x80, 0x40, 0x41}, {0x80, 0x4A, 0x41}, {0xC0, 0x4F}, {0x90, 0x4A, 0x41}};
  EXPECT_EQ(MidiCaptured(), want);
  EXPECT_EQ(tone_last_note, 330);
  EXPECT_EQ(tone_history[0], 330);
}

TEST_F(VoiceToneTest, SmallChangesHoldTheNoteAndWarblingWidensTheHold) {
  tone_phase = 60;  // top 60 degrees: the hold is 1.2 degrees
  Note(30);
  ClearMidiCaptured();
  Zphase = 31.0 / 57.3;
  PlayTone();
  EXPECT_TRUE(MidiCaptured().empty()) << "1 degree is within 2 %";
  Zphase = 31.5 / 57.3;
  PlayTone();
  EXPECT_EQ(MidiCaptured().size(), 4u) << "1.5 degrees is not";
  EXPECT_NEAR(tone_last_value, 31.5, 1e-9);
  // Notes alternating between two values double the hold to 2.4 degrees.
  tone_history[0] = tone_history[2] = 341;
  tone_history[1] = tone_history[3] = 342;
  ClearMidiCaptured();
  Zphase = 33.5 / 57.3;
  PlayTone();
  EXPECT_TRUE(MidiCaptured().empty());
  Zphase = 34.0 / 57.3;
  PlayTone();
  EXPECT_EQ(MidiCaptured().size(), 4u);
}

TEST_F(VoiceToneTest, NothingPlaysWithoutAModeADeviceOrARange) {
  Note(2);  // every mode off
  EXPECT_TRUE(MidiCaptured().empty());
  tone_swr = 1;  // ln 1 = 0 leaves no range: no note, no division by 0
  Note(2);
  EXPECT_TRUE(MidiCaptured().empty());
  tone_swr = 10;
  MidiClose(midi_out);
  SetMidiMode(MidiMode::kNoDevice);
  OpenMidi();
  EXPECT_EQ(midi_out, 0);
  Note(3);
  EXPECT_TRUE(MidiCaptured().empty());
  // The trace lines are diagnostic output only.
  EXPECT_EQ(testhook::PrintedText("main_win").find("note="), std::string::npos);
  DIAGMODE = 1;
  Note(3);
  EXPECT_NE(testhook::PrintedText("main_win").find("** note=339 "), std::string::npos)
      << testhook::PrintedText("main_win");
}

}  // namespace
}  // namespace vna
