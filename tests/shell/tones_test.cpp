// Tone output: the value of the highest tone asked per tone mode, the tone
// menu items, and the MIDI bytes of a note (caught by the MIDI layer's
// capture), with and without a device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/midi.h"
#include "platform/testhook.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "shell/tones.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"

namespace vna {
namespace {

using Bytes = std::vector<unsigned char>;

class TonesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    test::OpenShell(1, MainWindowHandler);
    BuildMenus();
    PumpEvents();
    testhook::ClearLogs();
  }
  void TearDown() override {
    MidiClose(midi_out);
    midi_out = 0;
    SetMidiMode(MidiMode::kReal);
    ClearMidiCaptured();
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }
  static void Pick(int id) {
    PostEvent(main_win, kEvMenu, 0, 0, 0, 0, id);
    PumpEvents();
  }
  static bool Checked(const std::vector<MenuItem>& items, int id) {
    for (const MenuItem& m : items) {
      if (m.items.empty() && m.id == id) return m.checked;
      if (Checked(m.items, id)) return true;
    }
    return false;
  }
};

TEST_F(TonesTest, TheHighestToneIsClampedToTheModesRange) {
  struct Case {
    int* mode;
    double* remembered;
    const char* prompt;
    const char* typed;
    int stored;
  };
  const Case cases[] = {
      {&tone_swr, &tone_swr_max, "SWR (2-20)", "25", 20},
      {&tone_swr, &tone_swr_max, "SWR (2-20)", "2.5", 2},  // halves go to the even integer
      {&tone_swr, &tone_swr_max, "SWR (2-20)", "1", 2},
      {&tone_phase, &tone_phase_max, "Phase (2-90)", "45.5", 46},
      {&tone_phase, &tone_phase_max, "Phase (2-90)", "120", 90},
      {&tone_zmag, &tone_zmag_max, "Zmag (50-10K)", "20000", 10000},
      {&tone_zmag, &tone_zmag_max, "Zmag (50-10K)", "10", 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.prompt) + " " + c.typed);
    tone_swr = tone_phase = tone_zmag = 0;
    *c.mode = 7;
    testhook::ClearLogs();
    test::AnswerDialog(std::string(c.prompt) + " value for highest tone output", {{1, c.typed}}, 2);
    SetToneRange();
    EXPECT_EQ(*c.mode, c.stored);
    EXPECT_EQ(*c.remembered, c.stored);
    ASSERT_EQ(testhook::Dialogs().size(), 1u);
  }
  // Cancelled: the mode keeps its value.
  tone_swr = 12;
  tone_swr_max = 12;
  test::AnswerDialog("SWR (2-20) value for highest tone output", {{1, "3"}}, 3);
  SetToneRange();
  EXPECT_EQ(tone_swr, 12);
  EXPECT_EQ(tone_swr_max, 12);
  // Every mode off: no box at all.
  tone_swr = tone_phase = tone_zmag = 0;
  testhook::ClearLogs();
  SetToneRange();
  EXPECT_TRUE(testhook::Dialogs().empty());
}

TEST_F(TonesTest, TheSwrToneItemSwitchesOnAtItsValueThenOff) {
  tone_swr_max = 10;
  tone_phase = 30;  // another mode on: the SWR tone replaces it
  test::AnswerDialog("SWR (2-20) value for highest tone output", {}, 2);
  Pick(4505);
  EXPECT_EQ(tone_swr, 10);
  EXPECT_EQ(tone_swr_max, 10);
  EXPECT_EQ(tone_phase, 0);
  EXPECT_TRUE(Checked(GetMenuBar(main_win), 4505));
  EXPECT_FALSE(Checked(GetMenuBar(main_win), 4506));
  ASSERT_EQ(testhook::Dialogs().size(), 1u);

  Pick(4505);
  EXPECT_EQ(tone_swr, 0);
  EXPECT_EQ(tone_swr_max, 10);
  EXPECT_FALSE(Checked(GetMenuBar(main_win), 4505));
  EXPECT_EQ(testhook::Dialogs().size(), 1u);  // no box while every tone is off
}

TEST_F(TonesTest, ANoteBecomesItsMidiBytes) {
  SetMidiMode(MidiMode::kCapture);
  OpenMidi();
  ASSERT_NE(midi_out, 0);
  EXPECT_EQ(midi_result, 0);
  // The program change at opening: the 64 of its packed word is not sent.
  EXPECT_EQ(MidiCaptured(), (std::vector<Bytes>{{0xC0, 0x4F}}));

  struct Case {
    int note;
    std::vector<Bytes> bytes;
  };
  const Case cases[] = {
      {64, {{0x80, 0x40, 0x40}, {0xC0, 0x4F}, {0x90, 0x40, 0x40}}},
      // 330 carries into the velocity byte: note 74 at velocity 65.
      {330, {{0x80, 0x4A, 0x41}, {0xC0, 0x4F}, {0x90, 0x4A, 0x41}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    ClearMidiCaptured();
    tone_note = c.note;
    PlayNote();
    EXPECT_EQ(MidiCaptured(), c.bytes);
    EXPECT_EQ(tone_last_note, c.note);
  }
  ClearMidiCaptured();
  tone_note = 64;  // the next note, not yet played: NoteOff silences the last one
  NoteOff();
  EXPECT_EQ(MidiCaptured(), (std::vector<Bytes>{{0x80, 0x4A, 0x41}}));
}

TEST_F(TonesTest, WithoutADeviceNothingIsSent) {
  SetMidiMode(MidiMode::kNoDevice);
  OpenMidi();
  EXPECT_EQ(midi_out, 0);
  EXPECT_NE(midi_result, 0);
  // Even where a device would take them, nothing goes out without midi_out.
  SetMidiMode(MidiMode::kCapture);
  tone_note = 64;
  tone_last_note = 0;
  PlayNote();
  NoteOff();
  EXPECT_TRUE(MidiCaptured().empty());
  EXPECT_EQ(tone_last_note, 0);
}

}  // namespace
}  // namespace vna
