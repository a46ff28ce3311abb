// Every test program starts here: a headless Qt application (the same widgets
// a user gets, drawn off screen) and GoogleTest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/events.h"
#include "platform/testhook.h"
#include "support/fresh_state.h"
#include "support/temp_dir.h"

namespace {

// Puts the fresh state back before each test, before its fixture's SetUp.
class FreshStateListener : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { vna::test::RestoreFreshState(); }
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // A test that names no program folder or drive root of its own never
  // reaches the user's: both default to a folder of this run.
  vna::testing::TempDir run_folder;
  setenv("VNA_PROGRAM_DIR", (run_folder / "program").c_str(), 0);
  setenv("VNA_DRIVE_ROOT", (run_folder / "drives").c_str(), 0);
  ::testing::InitGoogleTest(&argc, argv);
  vna::PlatformInit(argc, argv);
  vna::testhook::Enable(true);
  vna::test::KeepFreshState();
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStateListener);
  return RUN_ALL_TESTS();
}
