// The registry stand-in, in a temporary INI file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/store.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";

class StoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv env{"VNA_REGISTRY_FILE", dir / "sub/registry.ini"};
};

TEST_F(StoreTest, RoundTripAndDefaults) {
  EXPECT_EQ(StoreFile(), dir / "sub/registry.ini");
  EXPECT_TRUE(StoreCreateKey(kKey));
  EXPECT_TRUE(std::filesystem::exists(dir / "sub/registry.ini"));
  EXPECT_EQ(StoreRead(kKey, "dataready", "none"), "none");
  EXPECT_TRUE(StoreWrite(kKey, "startfreq", " 1.5"));
  EXPECT_TRUE(StoreWrite(kKey, "endfreq", "2,5"));  // would read back as a list if unquoted
  EXPECT_TRUE(StoreWrite(kKey, "csvready", ""));
  EXPECT_EQ(StoreRead(kKey, "startfreq", "x"), " 1.5");
  EXPECT_EQ(StoreRead(kKey, "endfreq", "x"), "2,5");
  EXPECT_EQ(StoreRead(kKey, "csvready", "x"), "");  // present but empty is not missing
  // The hive is compared without regard to case; the value sits under it.
  EXPECT_EQ(StoreRead("HKEY_CURRENT_USER\\software\\TARVOVNA", "startfreq", "x"), " 1.5");
  EXPECT_EQ(StoreRead("hkey_current_user\\software\\other\\", "startfreq", "x"), "x");
}

TEST_F(StoreTest, FileLayoutIsTheDocumentedOne) {
  ASSERT_TRUE(StoreWrite(kKey, "dataready", "1"));
  EXPECT_EQ(dir.Read("sub/registry.ini"), "[HKEY_CURRENT_USER]\nsoftware\\TARVOVNA\\dataready=1\n");
}

TEST_F(StoreTest, SeesWhatAnotherProgramWrote) {
  ASSERT_TRUE(StoreWrite(kKey, "dataready", "0"));
  EXPECT_EQ(StoreRead(kKey, "dataready", "x"), "0");
  // Another program rewrites the file, an unquoted list value among it.
  dir.Write("sub/registry.ini",
            "[HKEY_CURRENT_USER]\nsoftware\\TARVOVNA\\dataready=1\n"
            "software\\TARVOVNA\\startfreq=1,5\n");
  EXPECT_EQ(StoreRead(kKey, "dataready", "x"), "1");
  EXPECT_EQ(StoreRead(kKey, "startfreq", "x"), "1,5");
}

TEST_F(StoreTest, ReadsAtMost255Bytes) {
  ASSERT_TRUE(StoreWrite(kKey, "outputfile", std::string(300, 'a')));
  EXPECT_EQ(StoreRead(kKey, "outputfile", ""), std::string(255, 'a'));
}

TEST(Store, UnwritablePlaceFails) {
  TempDir dir;
  // A file where the folder should be: no one (not even root) can create it.
  ScopedEnv env("VNA_REGISTRY_FILE", dir.Write("blocker", "x") + "/registry.ini");
  EXPECT_FALSE(StoreCreateKey(kKey));
  EXPECT_FALSE(StoreWrite(kKey, "dataready", "1"));
  EXPECT_EQ(StoreRead(kKey, "dataready", "dflt"), "dflt");
}

TEST(Store, DefaultFileIsInTheUserConfigFolder) {
  ScopedEnv unset("VNA_REGISTRY_FILE", nullptr);
  ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(StoreFile(), "/home/someone/.config/vna/registry.ini");
  ScopedEnv xdg2("XDG_CONFIG_HOME", "/cfg");
  EXPECT_EQ(StoreFile(), "/cfg/vna/registry.ini");
}

}  // namespace
}  // namespace vna
