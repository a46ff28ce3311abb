// The path splitter and the File menu's settings commands: loading a
// calibration file (with the line-extension question and the names kept when
// the file is refused), loading a config file, and saving and recalling a
// state file, each through its file dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calibration/state.h"
#include "file_commands/fixture.h"
#include "files/file_commands.h"
#include "files/split_path.h"
#include "platform/paths.h"

namespace vna {
namespace {

using test::Calls;
using test::ClearCalls;
using Strings = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SplitPathTest, NameStaysFolderGoesToTheSecondScratchText) {
  struct Case {
    const char* path;
    const char* name;    // msg_text after
    const char* folder;  // aux_text after
  };
  const Case cases[] = {
      {"C:\\cal\\port.vcal", "port.vcal", "C:\\cal\\"},
      {"C:\\x.cfg", "x.cfg", "C:\\"},
      {"C:\\dir\\", "", "C:\\dir\\"},
      {"C:\\a\\b.cfg", "b.cfg", "C:\\a\\"},
      {"ab\\", "", "ab\\"},
      // The host's own separator.
      {"/home/u/cal/port.vcal", "port.vcal", "/home/u/cal/"},
      {"/tmp/", "", "/tmp/"},
      {"C:\\data/scans\\a.scn", "a.scn", "C:\\data/scans\\"},
      // No folder to split off: the text stays as it was.
      {"x.cfg", "x.cfg", ""},
      {"\\x", "\\x", ""},
      {"a\\b", "a\\b", ""},
      {"/x", "/x", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    msg_text = c.path;
    aux_text = "left over";
    SplitPath();
    EXPECT_EQ(msg_text, c.name);
    EXPECT_EQ(aux_text, c.folder);
  }
}

class CalFileTest : public test::FileCommandsTest {
 protected:
  void SetUp() override {
    FileCommandsTest::SetUp();
    cal_file_path = "C:\\old\\old.vcal";
    cal_file_name = "old.vcal";
    cal_folder = "C:\\old\\";
    ExtensionLength = 0;
    ExtensionFlag = 0;
  }
  void ExpectOldNames() {
    EXPECT_EQ(cal_file_path, "C:\\old\\old.vcal");
    EXPECT_EQ(cal_file_name, "old.vcal");
    EXPECT_EQ(cal_folder, "C:\\old\\");
  }
};

TEST_F(CalFileTest, TheDialogStartsInTheCalibrationFolder) {
  const std::pair<const char*, std::string> folders[] = {
      {"C:\\", "C:\\"},
      {"ab", ProgramFolder()},  // 2 characters are no folder
      {"", ProgramFolder()},
  };
  for (const auto& [folder, start] : folders) {
    SCOPED_TRACE(folder);
    cal_folder = folder;
    testhook::ClearLogs();
    ClearCalls();
    testhook::QueueFileAnswer("");
    Pick(5);
    ASSERT_EQ(testhook::FileDialogs().size(), 1u);
    const auto& d = testhook::FileDialogs()[0];
    EXPECT_EQ(d.title, " Load Calibration File");
    EXPECT_FALSE(d.save);
    EXPECT_EQ(d.filter, "Cal Files|*.vcal|MultiChan Files|*.chan1||");
    EXPECT_EQ(d.ext, "vcal|chan1");
    EXPECT_EQ(d.start_folder, start);
    EXPECT_EQ(d.owner, "main_win");
    EXPECT_EQ(dialog_folder, start);
    // A cancel loads nothing, keeps the names and still redraws the files panel.
    EXPECT_EQ(Calls(), Strings{"DrawFilesPanel"});
    EXPECT_EQ(cal_file_path, "C:\\old\\old.vcal");
    EXPECT_EQ(cal_file_name, "old.vcal");
  }
}

TEST_F(CalFileTest, AChosenFileIsLoadedUnderItsNames) {
  std::filesystem::create_directories(dir / "cal");
  const std::string path = dir.Write("cal/port.vcal", "a calibration\r\n");
  testhook::QueueFileAnswer(path);
  Pick(5);
  EXPECT_EQ(Calls(), (Strings{"GetPortACal(1) " + path, "DrawFilesPanel"}));
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(cal_file_path, path);
  EXPECT_EQ(cal_file_name, "port.vcal");
  EXPECT_EQ(cal_folder, dir / "cal/");
  EXPECT_TRUE(Boxes().empty());  // no line extension set: no question
}

TEST_F(CalFileTest, AFileThatIsNotLoadedLeavesTheNamesOfTheOneInMemory) {
  dir.Write("refused.vcal", "refuse\r\n");
  const std::pair<std::string, int> files[] = {
      {dir / "missing.vcal", 34508},
      {dir / "refused.vcal", 25},
  };
  for (const auto& [path, status] : files) {
    SCOPED_TRACE(path);
    testhook::QueueFileAnswer(path);
    Pick(5);
    EXPECT_EQ(vna_status, status);
    ExpectOldNames();
  }
  // The exported loader's entry: its path in place of the dialog's choice.
  ClearCalls();
  LoadCalibrationPath(dir / "missing.vcal");
  EXPECT_EQ(vna_status, 34508);
  ExpectOldNames();
  EXPECT_EQ(Calls(), (Strings{"GetPortACal(1) " + dir / "missing.vcal", "DrawFilesPanel"}));
}

TEST_F(CalFileTest, ALineExtensionIsOfferedToBeZeroedFirst) {
  const std::string path = dir.Write("port.vcal", "a calibration\r\n");
  struct Case {
    double length;
    int answer;
    const char* text;  // "" = no question
    double length_after;
    int flag_after;
  };
  const Case cases[] = {
      {0.05, kIdNo,
       "The Line Extension is set for  5 cm\rWould you like to set the Line Extension to zero?",
       0.05, 1},
      {0.05, kIdYes,
       "The Line Extension is set for  5 cm\rWould you like to set the Line Extension to zero?", 0,
       0},
      {-0.125, kIdNo,
       "The Line Extension is set for  -12.500 cm\rWould you like to set the Line Extension to "
       "zero?",
       -0.125, 1},
      {0.0001, 0, "", 0.0001, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    ExtensionLength = c.length;
    ExtensionFlag = 1;
    testhook::ClearLogs();
    ClearCalls();
    if (c.answer) testhook::QueueMsgBoxAnswer(c.answer, "Line Extension");
    testhook::QueueFileAnswer(path);
    Pick(5);
    EXPECT_EQ(ExtensionLength, c.length_after);
    EXPECT_EQ(ExtensionFlag, c.flag_after);
    if (*c.text) {
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
      const auto& b = testhook::MsgBoxes()[0];
      EXPECT_EQ(b.caption, "Line Extension");
      EXPECT_EQ(b.text, c.text);
      EXPECT_EQ(b.buttons, kMbYesNo);
      EXPECT_TRUE(b.topmost);
      EXPECT_EQ(b.owner, "main_win");
    } else {
      EXPECT_TRUE(Boxes().empty());
    }
    // The file is loaded whatever the answer; Yes redraws the extension's button first.
    Strings expected = {"GetPortACal(1) " + path, "DrawFilesPanel"};
    if (c.answer == kIdYes) expected.insert(expected.begin(), "InfoPanel(4)");
    EXPECT_EQ(Calls(), expected);
    EXPECT_EQ(cal_file_name, "port.vcal");
  }
}

class ConfigFileTest : public test::FileCommandsTest {
 protected:
  void SetUp() override {
    FileCommandsTest::SetUp();
    complete_ = ReadBytes(VNA_SOURCE_DIR "/tests/files/data/golden.cfg");
    ASSERT_FALSE(complete_.empty());
    config_file_path = "C:\\cfg\\old.cfg";
    config_file_name = "old.cfg";
    config_folder = "C:\\cfg\\";
  }
  std::string complete_;
};

TEST_F(ConfigFileTest, ACompleteFileAsksForARestartAndTakesItsWindowSize) {
  std::filesystem::create_directories(dir / "cfgs");
  const std::string path = dir.Write("cfgs/mine.cfg", complete_);
  WinWidth = 123;
  WinHeight = 45;
  testhook::QueueFileAnswer(path);
  Pick(8);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  const auto& d = testhook::FileDialogs()[0];
  EXPECT_EQ(d.title, " Load Config File");
  EXPECT_FALSE(d.save);
  EXPECT_EQ(d.filter, "Config Files(*.cfg)|*.cfg||");
  EXPECT_EQ(d.ext, "cfg");
  EXPECT_EQ(d.start_folder, "C:\\cfg\\");
  EXPECT_EQ(d.owner, "main_win");

  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(config_interactive, 1);
  EXPECT_EQ(config_file_path, path);
  EXPECT_EQ(config_file_name, "mine.cfg");
  EXPECT_EQ(config_folder, dir / "cfgs/");
  ASSERT_FALSE(testhook::MsgBoxes().empty());
  const auto& restart = testhook::MsgBoxes().back();
  EXPECT_EQ(restart.caption, "Restart VNA Prog");
  EXPECT_EQ(restart.text,
            "Please close the VNA program and restart it\rfor the changes to take effect.");
  EXPECT_EQ(restart.owner, "");  // the editor is closed: no owner
  EXPECT_TRUE(restart.topmost);
  EXPECT_NE(cfg_win_width, 123);
  EXPECT_EQ(WinWidth, cfg_win_width);
  EXPECT_EQ(WinHeight, cfg_win_height);
}

TEST_F(ConfigFileTest, ATruncatedFileGivesNoRestartNotice) {
  const std::string path = dir.Write("short.cfg", complete_.substr(0, complete_.size() / 2));
  WinWidth = 123;
  WinHeight = 45;
  config_folder = "";
  testhook::QueueFileAnswer(path);
  Pick(8);
  EXPECT_EQ(testhook::FileDialogs()[0].start_folder, ProgramFolder());
  EXPECT_EQ(config_loaded, 0);
  for (const auto& b : testhook::MsgBoxes()) EXPECT_NE(b.caption, "Restart VNA Prog");
  EXPECT_EQ(WinWidth, 123);
  EXPECT_EQ(WinHeight, 45);
  EXPECT_EQ(config_file_path, path);  // the chosen file stays named
  // A cancel changes nothing.
  testhook::ClearLogs();
  testhook::QueueFileAnswer("");
  Pick(8);
  EXPECT_EQ(config_file_path, path);
  EXPECT_TRUE(Boxes().empty());
}

class StateFileTest : public ConfigFileTest {};

TEST_F(StateFileTest, ASavedStateComesBackWithItsCalibrationAndConfig) {
  const std::string cal = dir.Write("bench.vcal", "a calibration\r\n");
  const std::string cfg = dir.Write("bench.cfg", complete_);
  average = 16;
  start_freq = 7.5;
  cal_file_path = cal;
  cal_file_name = "bench.vcal";
  config_file_path = cfg;
  dialog_folder = dir.path();
  // Saved over an existing file without a question: an open dialog.
  const std::string state = dir.Write("bench.stat", "old bytes");
  testhook::QueueFileAnswer(state);
  Pick(2196);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  const auto& save = testhook::FileDialogs()[0];
  EXPECT_EQ(save.title, " Save State File");
  EXPECT_FALSE(save.save);
  EXPECT_EQ(save.filter, "State Files(*.stat)|*.stat||");
  EXPECT_EQ(save.ext, "stat");
  EXPECT_EQ(save.start_folder, dir.path());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(ReadBytes(state).starts_with("format    4177\r\n"));

  average = 2;
  start_freq = 1;
  cal_file_path = "elsewhere.vcal";
  config_file_path = "elsewhere.cfg";
  config_loaded = 0;
  testhook::ClearLogs();
  ClearCalls();
  testhook::QueueFileAnswer(state);
  Pick(21971);
  const auto& load = testhook::FileDialogs()[0];
  EXPECT_EQ(load.title, " Load State File");
  EXPECT_FALSE(load.save);
  EXPECT_EQ(load.start_folder, dir.path());
  EXPECT_EQ(average, 16);
  EXPECT_EQ(start_freq, 7.5);
  EXPECT_EQ(cal_file_path, cal);
  EXPECT_EQ(config_file_path, cfg);
  EXPECT_EQ(config_loaded, 1);
  EXPECT_EQ(Calls(), (Strings{"GetPortACal(0) " + cal, "FreqGrid", "DrawGraph"}));
}

TEST_F(StateFileTest, AFailedSaveSaysSo) {
  const std::string state = dir / "no-such-folder/bench.stat";
  testhook::QueueFileAnswer(state);
  Pick(2196);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_TRUE(testhook::MsgBoxes()[0].text.starts_with("The file named: " + state))
      << testhook::MsgBoxes()[0].text;
  EXPECT_FALSE(std::filesystem::exists(state));
}

TEST_F(StateFileTest, ACalibrationTheStateNamesButCannotBeReadLeavesTheNamesInMemory) {
  cal_file_path = dir / "gone.vcal";  // saved in the state, then lost
  cal_file_name = "gone.vcal";
  cal_folder = dir.path() + "/";
  const std::string state = dir / "lost.stat";
  msg_text = state;
  file_name = state;
  testhook::QueueFileAnswer(state);
  Pick(2196);
  cal_file_path = "C:\\old\\old.vcal";
  cal_file_name = "old.vcal";
  cal_folder = "C:\\old\\";
  testhook::ClearLogs();
  testhook::QueueFileAnswer(state);
  Pick(21971);
  EXPECT_EQ(vna_status, 34508);
  EXPECT_EQ(cal_file_path, "C:\\old\\old.vcal");
  EXPECT_EQ(cal_file_name, "old.vcal");
  EXPECT_EQ(cal_folder, "C:\\old\\");
}

}  // namespace
}  // namespace vna
