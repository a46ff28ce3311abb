// The Config File Editor, driven from inside its own loop as a person would
// use it: the text it shows, Save as (also by a real Ctrl+S), Load File, the
// cancels, saves that fail, a file too long to show, the text limit, and what
// a save means for the instrument afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "file_commands/fixture.h"
#include "files/config_editor.h"
#include "instrument/serial_link.h"
#include "platform/paths.h"
#include "platform/qt_internal.h"
#include "platform/serial.h"
#include "scan/state.h"
#include "support/program_link.h"
#include "support/sim_runner.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using Strings = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr int kLoadFile = 1, kSaveAs = 2, kQuit = 3;

// What the editor showed: after it opened, and after each menu pick.
struct Seen {
  Strings texts, titles;
};

class EditorTest : public test::FileCommandsTest {
 protected:
  void SetUp() override {
    FileCommandsTest::SetUp();
    config_file_path = dir.Write("in_use.cfg", "A\r\n\r\nB\r\n");
    config_file_name = "in_use.cfg";
    config_folder = dir.path() + "/";
  }

  // Opens the editor; once it waits, `inside` runs, then each pick goes to
  // the editor's menu, then Quit.
  static Seen RunEditor(const std::vector<int>& picks, std::function<void()> inside = {}) {
    static Seen seen;
    seen = {};
    // A person acts once the window is up and has the focus.
    test::When(
        [] {
          return cfg_editor_win.IsOpen() && cfg_editor_running == 1 &&
                 QApplication::activeWindow() == cfg_editor_win.impl->top;
        },
        [picks, inside] {
          auto look = [] {
            seen.texts.push_back(GetCtlText(cfg_editor_win, 1));
            seen.titles.push_back(GetTitle(cfg_editor_win));
          };
          look();
          Handler h = cfg_editor_win.handler;
          cfg_editor_win.handler = [h, look] {
            const int r = h();
            if (msg_id == kEvMenu) look();
            return r;
          };
          if (inside) inside();
          for (int p : picks) PostEvent(cfg_editor_win, kEvMenu, 0, 0, 0, 0, p);
          PostEvent(cfg_editor_win, kEvMenu, 0, 0, 0, 0, kQuit);
        });
    test::Watchdog dog(std::chrono::seconds(20), "ConfigEditor");
    ConfigEditor();
    return seen;
  }

  void ExpectNamesUnchanged() {
    EXPECT_EQ(config_file_path, dir / "in_use.cfg");
    EXPECT_EQ(config_file_name, "in_use.cfg");
    EXPECT_EQ(config_folder, dir.path() + "/");
  }
  static bool RestartAsked() {
    for (const auto& b : testhook::MsgBoxes())
      if (b.caption == "Restart VNA Prog") return true;
    return false;
  }
};

TEST_F(EditorTest, ShowsTheFileAndSavesItUnchangedPlusALineEnd) {
  const std::string out = dir / "saved/out.cfg";
  std::filesystem::create_directories(dir / "saved");
  testhook::QueueFileAnswer(out);
  const Seen seen = RunEditor({kSaveAs});
  ASSERT_EQ(seen.texts.size(), 3u);  // opened, Save as, Quit
  EXPECT_EQ(seen.texts[0], "A\r\n\r\nB\r\n");
  EXPECT_EQ(seen.titles[0], "Edit: " + dir / "in_use.cfg");
  EXPECT_EQ(ReadBytes(out), "A\r\n\r\nB\r\n\r\n");

  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  const auto& d = testhook::FileDialogs()[0];
  EXPECT_EQ(d.title, " Save Config File");
  EXPECT_TRUE(d.save);
  EXPECT_TRUE(d.confirm_overwrite);
  EXPECT_EQ(d.filter, "Config files(*.cfg)|*.cfg||");
  EXPECT_EQ(d.ext, "cfg");
  EXPECT_EQ(d.start_folder, dir.path() + "/");
  EXPECT_EQ(d.owner, "cfg_editor_win");

  EXPECT_EQ(config_file_path, out);
  EXPECT_EQ(config_file_name, "out.cfg");
  EXPECT_EQ(config_folder, dir / "saved/");
  EXPECT_EQ(test::Calls(), Strings{"DrawFilesPanel"});
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& restart = testhook::MsgBoxes()[0];
  EXPECT_EQ(restart.caption, "Restart VNA Prog");
  EXPECT_EQ(restart.text,
            "Be sure to CLOSE the VNA program and RESTART it\rfor the changes to take effect.");
  EXPECT_EQ(restart.owner, "cfg_editor_win");
  EXPECT_TRUE(restart.topmost);
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(config_changed, 1);
  EXPECT_EQ(cfg_editor_open, 0);
  EXPECT_FALSE(cfg_editor_win.IsOpen());
}

TEST_F(EditorTest, CancelsChangeNothing) {
  config_folder = "";             // no folder: the dialogs start in the program folder
  testhook::QueueFileAnswer("");  // Save as
  testhook::QueueFileAnswer("");  // Load File
  const Seen seen = RunEditor({kSaveAs, kLoadFile});
  ASSERT_EQ(seen.texts.size(), 4u);
  EXPECT_EQ(seen.texts[1], "A\r\n\r\nB\r\n");
  EXPECT_EQ(seen.texts[2], "A\r\n\r\nB\r\n");  // Load File cancelled: the text stays
  EXPECT_EQ(seen.titles[2], "Edit: ");
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(config_changed, 0);
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(config_file_path, dir / "in_use.cfg");
  ASSERT_EQ(testhook::FileDialogs().size(), 2u);
  EXPECT_EQ(testhook::FileDialogs()[0].start_folder, ProgramFolder());
  EXPECT_EQ(testhook::FileDialogs()[1].title, " Load Config File");
  EXPECT_FALSE(testhook::FileDialogs()[1].save);
  EXPECT_EQ(testhook::FileDialogs()[1].filter, "Config Files(*.cfg)|*.cfg||");
  EXPECT_EQ(testhook::FileDialogs()[1].owner, "cfg_editor_win");
}

TEST_F(EditorTest, LoadFileShowsAnotherFileWithoutApplyingIt) {
  std::filesystem::create_directories(dir / "other");
  const std::string other = dir.Write("other/two.cfg", "X\r\nY\r\n");
  const int average_before = average;
  testhook::QueueFileAnswer(other);
  testhook::QueueFileAnswer(dir / "missing.cfg");
  const Seen seen = RunEditor({kLoadFile, kLoadFile});
  ASSERT_EQ(seen.texts.size(), 4u);
  EXPECT_EQ(seen.texts[1], "X\r\nY\r\n");
  EXPECT_EQ(seen.titles[1], "Edit: " + other);
  // A file that cannot be read: the text stays, and so do the names, so the
  // next start does not look for a file that is not there.
  EXPECT_EQ(seen.texts[2], "X\r\nY\r\n");
  EXPECT_EQ(seen.titles[2], "Edit: " + dir / "missing.cfg");
  EXPECT_EQ(config_file_path, other);
  EXPECT_EQ(config_file_name, "two.cfg");
  EXPECT_EQ(config_folder, dir / "other/");
  EXPECT_EQ(average, average_before);
  EXPECT_EQ(config_changed, 0);
}

TEST_F(EditorTest, ARealCtrlSOpensTheSaveDialogAndASecondOpeningDoesNothing) {
  int instance = 0;
  const Seen seen = RunEditor({}, [&instance] {
    instance = cfg_editor_win.instance;
    // The Edit Config File item while the editor is open.
    PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 4331);
    QWidget* edit = cfg_editor_win.impl->Find(1)->widget;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, "s");
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_S, Qt::ControlModifier, "s");
    QCoreApplication::sendEvent(edit, &press);
    QCoreApplication::sendEvent(edit, &release);
  });
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Save Config File");
  EXPECT_EQ(cfg_editor_win.instance, instance);    // still the one window
  EXPECT_EQ(seen.texts.back(), "A\r\n\r\nB\r\n");  // the S was not typed into the text
}

// Load Config File from the main menu while the editor is open: its restart
// notice belongs to the editor's window.
TEST_F(EditorTest, ARestartNoticeWhileTheEditorIsOpenIsOwnedByIt) {
  const std::string cfg =
      dir.Write("full.cfg", ReadBytes(VNA_SOURCE_DIR "/tests/files/data/golden.cfg"));
  testhook::QueueFileAnswer(cfg);
  RunEditor({}, [] { PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 8); });
  ASSERT_EQ(config_loaded, 1);
  ASSERT_FALSE(testhook::MsgBoxes().empty());
  EXPECT_EQ(testhook::MsgBoxes().back().caption, "Restart VNA Prog");
  EXPECT_EQ(testhook::MsgBoxes().back().owner, "cfg_editor_win");
}

TEST_F(EditorTest, ASaveThatCannotWriteSaysSoAndChangesNothing) {
  std::filesystem::create_directories(dir / "locked");
  const std::string old = dir.Write("locked/old.cfg", "OLD\r\n");
  chmod((dir / "locked").c_str(), 0555);
  const std::string paths[] = {old, dir / "no-such-folder/new.cfg"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    testhook::ClearLogs();
    test::ClearCalls();
    testhook::QueueFileAnswer(path);
    RunEditor({kSaveAs});
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    const auto& b = testhook::MsgBoxes()[0];
    EXPECT_EQ(b.caption, " File not saved");
    EXPECT_TRUE(b.text.starts_with("The file named: " + path)) << b.text;
    EXPECT_EQ(b.owner, "cfg_editor_win");
    EXPECT_FALSE(RestartAsked());
    EXPECT_EQ(config_changed, 0);
    EXPECT_EQ(vna_present, 1);
    ExpectNamesUnchanged();
    EXPECT_TRUE(test::Calls().empty());
  }
  chmod((dir / "locked").c_str(), 0755);
  EXPECT_EQ(ReadBytes(old), "OLD\r\n");
}

TEST_F(EditorTest, AFileTooLongToShowIsShownWithANotice) {
  // 200 lines of 200 characters: lines are taken while the text is shorter
  // than 32 509 characters, 202 each with CR LF, so 161 lines are shown.
  std::string file, shown;
  for (int i = 0; i < 200; ++i) {
    const std::string line(200, static_cast<char>('a' + i % 26));
    file += line + "\r\n";
    if (i < 161) shown += line + "\r\n";
  }
  config_file_path = dir.Write("long.cfg", file);
  const Seen seen = RunEditor({});
  EXPECT_EQ(seen.texts[0], shown);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& b = testhook::MsgBoxes()[0];
  EXPECT_EQ(b.caption, " Config File Editor");
  EXPECT_NE(b.text.find(" 161 lines"), std::string::npos) << b.text;
  EXPECT_EQ(b.owner, "cfg_editor_win");
}

TEST_F(EditorTest, TypingStopsAtTheTextLimitAndTheFieldFollowsTheWindow) {
  std::string typed_result;
  int cw = 0, ch = 0, x = -1, y = -1, w = 0, h = 0;
  RunEditor({}, [&] {
    // Lines of 100 characters and CR LF, up to 32 742 characters.
    std::string text;
    while (text.size() + 102 <= 32765) text += std::string(100, 'x') + "\r\n";
    SetCtlText(cfg_editor_win, 1, text);
    auto* edit = qobject_cast<QPlainTextEdit*>(cfg_editor_win.impl->Find(1)->widget.data());
    edit->moveCursor(QTextCursor::End);
    edit->insertPlainText(QString(100, 'y'));  // as if typed or pasted
    typed_result = GetCtlText(cfg_editor_win, 1);
    cfg_editor_win.impl->top->resize(640, 480);
    PumpEvents();
    ClientSize(cfg_editor_win, cw, ch);
    GetCtlRect(cfg_editor_win, 1, x, y, w, h);
  });
  EXPECT_EQ(typed_result.size(), 32765u);
  EXPECT_TRUE(typed_result.ends_with(std::string(23, 'y')));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(w, cw);
  EXPECT_EQ(h, ch);
  EXPECT_LT(h, 480);  // below the menu bar
}

// After a save the instrument counts as absent until the program restarts:
// a scan is refused with the restart notice and nothing reaches the
// instrument.
TEST_F(EditorTest, AfterASaveTheInstrumentIsLeftAlone) {
  test::SimRunner sim;
  test::OpenLinkTo(sim);
  ASSERT_NE(hcom, kInvalidPort);
  testhook::QueueFileAnswer(dir / "new.cfg");
  RunEditor({kSaveAs});
  ASSERT_EQ(config_changed, 1);
  sim.Mark("after save");
  testhook::ClearLogs();
  PostEvent(main_win, kEvCommand, kBtnScan);
  PostEvent(main_win, kEvMenu, 0, 0, 0, 0, 3057);  // DC Power Off
  PumpEvents();
  EXPECT_EQ(Boxes(), Strings{"Restart VNA Prog|Please close the program and restart it so the "
                             "new\rConfig File parameters can be loaded."});
  DelayMs(100);
  EXPECT_TRUE(sim.CommandsSince("after save").empty());
  SerialClose(hcom);
  hcom = kInvalidPort;
}

}  // namespace
}  // namespace vna
