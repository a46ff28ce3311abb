#include <gtest/gtest.h>

#include <filesystem>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

TEST(HostPath, WindowsAndHostNames) {
  TempDir root;
  ScopedEnv env("VNA_DRIVE_ROOT", root.path() + "/");
  const std::string r = root.path();
  const std::pair<const char*, std::string> cases[] = {
      {"c:\\vna_diag2flag.txt", r + "/c/vna_diag2flag.txt"},
      {"c:\\temp\\vna_diag2flag.txt", r + "/c/temp/vna_diag2flag.txt"},
      {"C:\\AutoScan.csv", r + "/c/AutoScan.csv"},
      {"c:/data/out.csv", r + "/c/data/out.csv"},
      {"c:\\data/mixed\\out.csv", r + "/c/data/mixed/out.csv"},
      {"D:\\VNA\\cal\\my.vcal", r + "/d/VNA/cal/my.vcal"},
      {"c:", r + "/c/"},
      {"/home/user/scans/a.scn", "/home/user/scans/a.scn"},
      {"/opt/vna//zelmar-7306_032417.pdf", "/opt/vna//zelmar-7306_032417.pdf"},
      {"Sounds_1\\zero.wav", "Sounds_1/zero.wav"},
      {"last_VNATDR_file.tdr", "last_VNATDR_file.tdr"},
      {"./x/y.txt", "./x/y.txt"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(HostPath(in), out) << in;
  EXPECT_TRUE(std::filesystem::is_directory(r + "/c"));  // the drive exists once used
  EXPECT_TRUE(std::filesystem::is_directory(r + "/d"));
}

TEST(HostPath, DefaultDriveRootIsBelowHome) {
  TempDir home;
  ScopedEnv h("HOME", home.path());
  ScopedEnv unset("VNA_DRIVE_ROOT", nullptr);
  EXPECT_EQ(DriveRoot(), home.path() + "/.vna/drives");
  EXPECT_EQ(HostPath("c:\\AutoScan.csv"), home.path() + "/.vna/drives/c/AutoScan.csv");
}

// The user's data folder, never the build folder: removing a build (or a
// fresh clone) must not take the settings, calibration and scans with it.
TEST(ProgramFolder, UsersDataFolderUnlessOverridden) {
  {
    TempDir home;
    ScopedEnv unset("VNA_PROGRAM_DIR", nullptr);
    ScopedEnv home_env("HOME", home.path());
    ScopedEnv no_xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(ProgramFolder(), home.path() + "/.local/share/vna/");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() + "/.local/share/vna"));  // made
    ScopedEnv xdg("XDG_DATA_HOME", home / "data");
    EXPECT_EQ(ProgramFolder(), home.path() + "/data/vna/");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() + "/data/vna"));
    ScopedEnv relative("XDG_DATA_HOME", "data");  // not absolute: ignored, as the rule says
    EXPECT_EQ(ProgramFolder(), home.path() + "/.local/share/vna/");
  }
  TempDir dir;
  ScopedEnv set("VNA_PROGRAM_DIR", dir / "prog");
  EXPECT_EQ(ProgramFolder(), dir / "prog/");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "prog"));
  ScopedEnv set2("VNA_PROGRAM_DIR", dir / "prog/");
  EXPECT_EQ(ProgramFolder(), dir / "prog/");
}

}  // namespace
}  // namespace vna
