// The crystal data file: lines appended to a file the user picks, answered
// through the number box and the file dialog as a person would.
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "files/settings_fixture.h"
#include "files/xtal_file.h"
#include "platform/ui.h"
#include "shell/dialogs.h"
#include "shell/main_program.h"
#include "shell/windows.h"
#include "support/shell_fixture.h"
#include "tools/state.h"

namespace vna::testing {
namespace {

struct Crystal {
  double fs, fp, rs, ls, cs, cp, q;
};

class XtalFileTest : public SettingsTest {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  void SetUp() override {
    SettingsTest::SetUp();
    test::OpenShell(0, [] { return 0; });
    xtal_seq_no = 0;
    xtal_folder.clear();
    vna_status = 0;
    testhook::ClearLogs();
  }
  void TearDown() override {
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    EXPECT_EQ(testhook::PendingAnswers(), 0u) << "answers left unused";
    CloseWindow(main_win);
    SettingsTest::TearDown();
  }

  // One SAVE: the number box accepted as offered (typed null) or with a
  // typed text, then the file dialog's answer.
  static void Save(const Crystal& c, const char* typed, const std::string& path) {
    xtal_Fs = c.fs;
    xtal_Fp = c.fp;
    xtal_Rs = c.rs;
    xtal_Ls = c.ls;
    xtal_Cs = c.cs;
    xtal_Cp = c.cp;
    xtal_Q = c.q;
    std::vector<std::pair<int, std::string>> texts;
    if (typed) texts = {{1, typed}};
    test::AnswerDialog("Xtal sequence number:", texts, 2);
    testhook::QueueFileAnswer(path);
    SaveXtalData();
  }

  static constexpr Crystal kFirst{9.999876, 10.019912, 10.012, 12666, 0.0200123, 5.051, 79456.4};
};

// Three crystals into a new file: the golden file was written by hand from
// the line layout (its creation line stands for any date and time).
TEST_F(XtalFileTest, ThreeSavesIntoANewFile) {
  const std::string path = dir / "crystals.xdat";
  Save(kFirst, nullptr, path);
  // 7.5 is stored as 8; a frequency wider than its field is written whole;
  // Q 2.5 rounds to 2.
  Save({12345.678901, 12346.1, 0.5, 1234.5678, 3.25, 25.5, 2.5}, "7.5", path);
  EXPECT_EQ(xtal_seq_no, 8);
  // The next number offered is 9; Q 3.5 rounds to 4.
  Save({3.579545, 3.58, 45.25, 100000, 0.02, 3.1, 3.5}, nullptr, path);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_EQ(number_decimals, 3);

  std::vector<std::string> lines = Lines(dir.Read("crystals.xdat"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("Created: \\d\\d-\\d\\d-\\d{4}  "
                                                    "\\d\\d:\\d\\d:\\d\\d")))
      << lines[0];
  lines[0] = "Created: 01-01-2000  00:00:00";
  std::ifstream golden(std::string(VNA_SOURCE_DIR) + "/tests/files/data/three_crystals.xdat",
                       std::ios::binary);
  EXPECT_EQ(Join(lines), std::string(std::istreambuf_iterator<char>(golden), {}));

  // The dialog starts in the program folder, then in the folder last chosen.
  const auto& dialogs = testhook::FileDialogs();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(dialogs[0].title, " Crystal Data File");
  EXPECT_EQ(dialogs[0].filter, "Xtal Files(*.xdat)|*.xdat||");
  EXPECT_EQ(dialogs[0].ext, "xdat");
  EXPECT_FALSE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].start_folder, dir.path() + "/");
  EXPECT_EQ(dialogs[1].start_folder, dir.path() + "/");
  EXPECT_EQ(xtal_folder, dir.path() + "/");
}

TEST_F(XtalFileTest, AppendsToAnotherProgramsFile) {
  struct Case {
    const char* before;
    const char* added;  // between the old bytes and the data line
  };
  const Case cases[] = {
      {"Crystal list of another program\r\n1;10.0;ok\r\n", ""},
      {"Crystal list of another program\n1;10.0;ok", "\r\n"},  // last line without its end
  };
  for (const Case& c : cases) {
    const std::string path = dir.Write("foreign.xdat", c.before);
    xtal_seq_no = 2;
    Save(kFirst, nullptr, path);
    EXPECT_EQ(dir.Read("foreign.xdat"),
              std::string(c.before) + c.added +
                  "     3,     9.999876,    10.019912,    10.012,    12.666,     0.0200123,"
                  "     5.051,    79456\r\n");
  }
}

TEST_F(XtalFileTest, AnswersThatSaveNothing) {
  const std::string path = dir / "none.xdat";
  xtal_seq_no = 4;

  // The number box closed, or a number of 0.001: no box, no file, no new number.
  test::AnswerDialog("Xtal sequence number:", {}, 0);
  SaveXtalData();
  test::AnswerDialog("Xtal sequence number:", {{1, "0.001"}}, 2);
  SaveXtalData();
  EXPECT_EQ(xtal_seq_no, 4);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  EXPECT_TRUE(testhook::FileDialogs().empty());

  // The file dialog cancelled: nothing written, the number kept.
  test::AnswerDialog("Xtal sequence number:", {}, 2);
  testhook::QueueFileAnswer("");
  SaveXtalData();
  EXPECT_EQ(xtal_seq_no, 5);
  EXPECT_TRUE(testhook::MsgBoxes().empty());

  // A measurement that failed, and No to saving it anyway.
  vna_status = 27115;
  testhook::QueueMsgBoxAnswer(kIdNo, " Measurement error  27115");
  SaveXtalData();
  ASSERT_EQ(testhook::MsgBoxes().size(), 2u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "There was a measurement error.\r\nDo you want to save this data anyway?");
  EXPECT_EQ(testhook::MsgBoxes()[0].buttons, kMbYesNo);
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(testhook::MsgBoxes()[1].caption, " No xtal data.  Error =  27115");
  EXPECT_EQ(testhook::MsgBoxes()[1].text, " Data was not saved.");
  EXPECT_FALSE(std::filesystem::exists(path));

  // Yes saves it.
  testhook::QueueMsgBoxAnswer(kIdYes, " Measurement error  27115");
  Save(kFirst, nullptr, path);
  EXPECT_EQ(Lines(dir.Read("none.xdat")).size(), 3u);
}

TEST_F(XtalFileTest, AFileThatCannotBeWrittenIsReported) {
  const std::string kept = "1;10.0;ok\r\n";
  const std::string locked = dir.Write("locked.xdat", kept);
  chmod(locked.c_str(), 0444);
  const std::string missing_folder = dir / "no such folder/new.xdat";
  for (const std::string& path : {locked, missing_folder}) {
    testhook::ClearLogs();
    Save(kFirst, nullptr, path);
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << path;
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Crystal Data File");
    EXPECT_EQ(testhook::MsgBoxes()[0].text, "The file named: " + path +
                                                "  \rcannot be created or changed.\r"
                                                "The crystal data was not saved.");
  }
  EXPECT_EQ(dir.Read("locked.xdat"), kept);
  EXPECT_FALSE(std::filesystem::exists(missing_folder));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "no temporary file left behind";
}

}  // namespace
}  // namespace vna::testing
