// The two small procedures of the start-up: the diagnostic flag files and the
// scan file named on the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "calibration/state.h"
#include "files/state.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

TEST(CheckFlagFilesTest, EitherFlagFileSwitchesDiagnosticModeOn) {
  struct Case {
    bool root_flag, temp_flag;
    int diag;
  };
  const Case cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}, {true, true, 1}};
  for (const Case& c : cases) {
    TempDir drives;
    ScopedEnv root("VNA_DRIVE_ROOT", drives.path());
    std::filesystem::create_directories(drives / "c/temp");
    if (c.root_flag) drives.Write("c/vna_diag2flag.txt", "");
    if (c.temp_flag) drives.Write("c/temp/vna_diag2flag.txt", "anything");
    DIAGMODE = dsp_debug = no_cal_comp = coord_debug = 7;
    CheckFlagFiles();
    EXPECT_EQ(DIAGMODE, c.diag) << c.root_flag << c.temp_flag;
    EXPECT_EQ(dsp_debug, c.diag);
    EXPECT_EQ(no_cal_comp, 0);
    EXPECT_EQ(coord_debug, 0);
  }
}

// The high-baud flag file of older versions has no effect.
TEST(CheckFlagFilesTest, OtherFlagFilesDoNothing) {
  TempDir drives;
  ScopedEnv root("VNA_DRIVE_ROOT", drives.path());
  std::filesystem::create_directories(drives / "c");
  drives.Write("c/vna_highbaud.txt", "");
  CheckFlagFiles();
  EXPECT_EQ(DIAGMODE, 0);
}

TEST(GetCmdLineFileTest, NameBackToItsOpeningQuote) {
  struct Case {
    const char* line;
    int mode;
    const char* name;  // file_name afterwards ("kept" when no file is named)
  };
  const Case cases[] = {
      {R"("/opt/vna/vna" "/home/u/my scan.scn")", 3, "/home/u/my scan.scn"},
      {R"("/opt/vna/vna" /home/u/a.scn)", 3, " /home/u/a.scn"},        // unquoted: the blank stays
      {R"("/opt/vna/vna" "/data/x.scnb")", 3, "/data/x.scn"},          // cut after ".scn"
      {R"(/opt/vna/vna /data/x.scn)", 3, "/opt/vna/vna /data/x.scn"},  // back to the start
      {R"("vna" "a.scn" "b.scn")", 3, "a.scn"},                        // the first one
      {R"("C:\Program Files\vna.exe" "C:\scans\ant 1.scn")", 3, R"(C:\scans\ant 1.scn)"},
      {R"("/opt/vna/vna")", 0, "kept"},
      {R"("/opt/vna/vna" "/data/A.SCN")", 0, "kept"},  // case matters
      {"", 0, "kept"},
      {".scn", 3, ".scn"},
  };
  for (const Case& c : cases) {
    command_line = c.line;
    file_name = "kept";
    scan_load_mode = 9;
    GetCmdLineFile();
    EXPECT_EQ(scan_load_mode, c.mode) << c.line;
    EXPECT_EQ(file_name, c.name) << c.line;
  }
}

TEST(GetCmdLineFileTest, CommandLineIsRebuiltWithEachArgumentQuoted) {
  char prog[] = "/opt/vna/vna";
  char scan[] = "/home/u/my scan.scn";
  char* argv[] = {prog, scan};
  EXPECT_EQ(BuildCommandLine(2, argv), "\"/opt/vna/vna\" \"/home/u/my scan.scn\"");
  EXPECT_EQ(BuildCommandLine(1, argv), "\"/opt/vna/vna\"");
  command_line = BuildCommandLine(2, argv);
  GetCmdLineFile();
  EXPECT_EQ(file_name, "/home/u/my scan.scn");
}

}  // namespace
}  // namespace vna
