// What the exit sequence saves, and in which order. The scan and TDR writers
// are replaced in this test program by recorders (the program calls them
// through the shared library, so these definitions take their place), which
// shows the exit's own decisions whatever the writers do.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/init_file.h"
#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "files/settings.h"
#include "files/state.h"
#include "files/tdr_file.h"
#include "graph/state.h"
#include "platform/midi.h"
#include "platform/paths.h"
#include "platform/testhook.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/tones.h"
#include "shell/windows.h"
#include "support/temp_dir.h"

namespace vna {

struct SaveCall {
  std::string what, file_name;
  int save_mode;
  bool init_file_there;
};
std::vector<SaveCall> save_calls;

namespace {
bool InitFileThere() {
  return std::filesystem::exists(ProgramFolder() + InitFileName());
}
}  // namespace

void SaveScanA() {
  save_calls.push_back({"A", file_name, save_mode, InitFileThere()});
}
void SaveScanB() {
  save_calls.push_back({"B", file_name, save_mode, InitFileThere()});
}
void SaveTDR(int mode) {
  save_calls.push_back({"TDR" + std::to_string(mode), file_name, save_mode, InitFileThere()});
}

namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class ExitSavesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhook::ClearLogs();
    save_calls.clear();
  }
  void Run(const std::function<void()>& during_run) {
    StartUp();
    during_run();
    PostEvent(main_win, kEvClose);
    MainLoop();
    ExitSequence();
  }
  std::string InitText() {
    std::ifstream in(dir / "VNA_Init_Data_ 4177.ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  TempDir dir{true};
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
  ScopedEnv drive_root{"VNA_DRIVE_ROOT", dir / "drives"};
  ScopedEnv port{"VNA_COM8", dir / "no-such-port"};
};

// The fault mended here: exit used to write both ports' auto-saved scans
// whatever they held, so the port not used in a run had its last scan
// replaced by empty arrays.
TEST_F(ExitSavesTest, APortWithoutDataOfThisRunKeepsItsFile) {
  Run([] {});
  EXPECT_TRUE(save_calls.empty());
}

TEST_F(ExitSavesTest, FlagsLeftByTheLastRunDoNotCount) {
  // The last run ended with both ports' arrays valid; this run's arrays are
  // empty until something fills them.
  InitVars();
  file_name = dir / "VNA_Init_Data_ 4177.ini";
  scana_ok = scanb_ok = 1;
  ASSERT_TRUE(SaveInitData());
  ASSERT_NE(InitText().find("scana_ok    1\r\n"), std::string::npos);
  Run([] {
    EXPECT_EQ(scana_ok, 0);
    EXPECT_EQ(scanb_ok, 0);
  });
  EXPECT_TRUE(save_calls.empty());
}

TEST_F(ExitSavesTest, EachPortWithDataOfThisRunIsSavedUnderItsExitName) {
  struct Case {
    int a_ok, b_ok;
    std::vector<std::string> saved;
  };
  const Case cases[] = {{1, 0, {"A"}}, {0, 1, {"B"}}, {1, 1, {"A", "B"}}};
  for (const Case& c : cases) {
    save_calls.clear();
    Run([&c] {
      // As a scan or a load of this run leaves them.
      scana_ok = c.a_ok;
      scanb_ok = c.b_ok;
    });
    ASSERT_EQ(save_calls.size(), c.saved.size());
    for (size_t i = 0; i < c.saved.size(); ++i) {
      EXPECT_EQ(save_calls[i].what, c.saved[i]);
      EXPECT_EQ(save_calls[i].save_mode, 1);       // the exit name, no dialog
      EXPECT_TRUE(save_calls[i].init_file_there);  // after the init file
    }
  }
}

TEST_F(ExitSavesTest, TdrDataIsSavedFirstToTheCurrentFolder) {
  Run([] { tdr_mode = 1; });
  ASSERT_EQ(save_calls.size(), 1u);
  EXPECT_EQ(save_calls[0].what, "TDR1");
  EXPECT_EQ(save_calls[0].file_name, "last_VNATDR_file.tdr");
  EXPECT_FALSE(save_calls[0].init_file_there);
  EXPECT_EQ(tdr_mode, 0);
}

// The MIDI output is closed at exit and the result of the close kept.
TEST_F(ExitSavesTest, MidiCloseResultIsKept) {
  int open_at_exit = -1;
  Run([&open_at_exit] {
    open_at_exit = midi_out;
    midi_result = -7;
  });
  EXPECT_EQ(midi_result, open_at_exit != 0 ? kMidiOk : kMidiInvalidHandle);
  EXPECT_EQ(midi_out, 0);
}

// The init file keeps the user's current mode; exit then switches to low
// current for the relays-off command.
TEST_F(ExitSavesTest, InitFileKeepsTheUsersCurrentMode) {
  Run([] { full_current_mode = 1; });
  EXPECT_EQ(full_current_mode, 0);
  EXPECT_NE(InitText().find("LowPwrMode   0\r\n"), std::string::npos);
}

// An init file the reader refused at start-up holds the user's settings,
// not the ones the program ran with: the exit's write keeps it beside the
// new file, under a name that says why, and the refusal said where. The
// refusals of a whole file and of its marker count alike.
TEST_F(ExitSavesTest, AnInitFileRefusedAtStartUpIsKeptBesideTheNewOne) {
  struct Case {
    const char* name;
    const char* line_start;  // the line replaced
    const char* replacement;
    const char* caption;
  };
  const Case cases[] = {
      {"a line without its number", "cable_length", "cable_length  long", " Invalid *.ini file"},
      {"a marker count out of range", "maxmarkers", "maxmarkers    21", " Init file error 2183"},
  };
  const std::string kept = dir / "VNA_Init_Data_ 4177.refused.ini";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(kept);
    InitVars();
    start_freq = 7.5;  // a setting of the user's
    file_name = dir / "VNA_Init_Data_ 4177.ini";
    ASSERT_TRUE(SaveInitData());
    std::string damaged = InitText();
    const size_t at = damaged.find(std::string("\r\n") + c.line_start);
    ASSERT_NE(at, std::string::npos);
    damaged.replace(at + 2, damaged.find("\r\n", at + 2) - at - 2, c.replacement);
    dir.Write("VNA_Init_Data_ 4177.ini", damaged);
    testhook::ClearLogs();
    Run([] {});
    const auto boxes = testhook::MsgBoxes();
    const auto refusal = std::find_if(boxes.begin(), boxes.end(),
                                      [&c](const auto& b) { return b.caption == c.caption; });
    ASSERT_NE(refusal, boxes.end());
    EXPECT_TRUE(refusal->text.ends_with("\rBefore this program writes it again, it is kept as " +
                                        kept + "."))
        << refusal->text;
    EXPECT_TRUE(dir.Read("VNA_Init_Data_ 4177.refused.ini") == damaged) << "the refused file kept";
    EXPECT_EQ(InitText().find(c.replacement), std::string::npos) << "a new file, written whole";
    EXPECT_NE(InitText().find("\r\nEIF - End of Init File"), std::string::npos);
  }
}

}  // namespace
}  // namespace vna
