// Every test program starts here: a headless Qt application (the same widgets
// a user gets, drawn off screen) and GoogleTest.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/events.h"
#include "platform/testhook.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  vna::PlatformInit(argc, argv);
  vna::testhook::Enable(true);
  return RUN_ALL_TESTS();
}
