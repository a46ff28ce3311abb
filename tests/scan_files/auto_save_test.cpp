// The recall of the auto-saved graphs: the two files of a port in turn, the
// digit moved before the load, no auto-save of a recalled scan, and the box
// when automatic saving is off.
#include "files/auto_save.h"
#include "files/scan_file_a.h"
#include "platform/testhook.h"
#include "scan/scan_a.h"
#include "scan_files/scan_files_fixture.h"

namespace vna {
namespace {

using test::CrLfLines;
using test::GoldenFile;

class AutoSaveRecall : public test::ScanFileTest {
 protected:
  // The golden scan with its title replaced, as auto-save file `digit`.
  void WriteAutoSave(const std::string& digit, const std::string& title) {
    std::vector<std::string> l = CrLfLines(GoldenFile("port_a.scn"));
    l[16] = title;
    std::string text;
    for (const std::string& s : l) text += s + "\r\n";
    dir.Write("ZiviRURGraph" + digit + ".scn", text);
  }
};

TEST_F(AutoSaveRecall, RecallsAlternateBetweenTheTwoFiles) {
  WriteAutoSave("0", "newer");
  WriteAutoSave("1", "older");
  autosave_flipA = 0;  // as after two scans: 1, then 0 was written
  RecallAutoSave(0);
  EXPECT_EQ(PortA_title, "older");
  EXPECT_EQ(autosave_flipA, 1);
  RecallAutoSave(0);
  EXPECT_EQ(PortA_title, "newer");
  EXPECT_EQ(autosave_flipA, 0);
  EXPECT_EQ(scan_comment, "");  // an automatic name carries no comment
  EXPECT_EQ(autosave_block, 0);
  EXPECT_EQ(save_mode, 0);
}

TEST_F(AutoSaveRecall, RecalledScanIsNotSavedAgain) {
  WriteAutoSave("1", "older");
  live_data = 1;
  RecallAutoSave(0);
  EXPECT_EQ(PortA_title, "older");
  // Only the file that was there: the replay wrote nothing.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(autosave_flipA, 1);
}

TEST_F(AutoSaveRecall, MissingFileStillMovesTheDigit) {
  StoreGoldenScan();
  RecallAutoSave(0);
  EXPECT_EQ(autosave_flipA, 1);
  EXPECT_EQ(PortA_title, "Antenna test");
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(AutoSaveRecall, OffSaysHowToSwitchItOn) {
  autosave_graph = 0;
  WriteAutoSave("1", "older");
  RecallAutoSave(0);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Auto Save");
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "Graphs are not being saved automatically.\rThis feature can be enabled with the 'auto "
            "save graph'  flag\rin the config file.");
  EXPECT_TRUE(testhook::MsgBoxes()[0].topmost);
  EXPECT_EQ(autosave_flipA, 0);
  EXPECT_NE(PortA_title, "older");
}

TEST_F(AutoSaveRecall, CommandLineFileServesTheStartUpLoadOnly) {
  const std::string path = dir.Write("mine.scn", GoldenFile("port_a.scn"));
  WriteAutoSave("1", "older");
  file_name = path;
  scan_load_mode = 3;
  save_mode = 3;
  scan_comment = "kept";
  LoadScanA();
  EXPECT_EQ(PortA_title, "Antenna test");
  EXPECT_EQ(scan_load_mode, 0);
  EXPECT_EQ(scan_comment, "kept");
  RecallAutoSave(0);
  EXPECT_EQ(PortA_title, "older");
}

}  // namespace
}  // namespace vna
