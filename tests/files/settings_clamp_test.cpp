// ClampSettings: each rule at and beyond its bounds, in the order the rules run.
#include <gtest/gtest.h>

#include <functional>

#include "calibration/state.h"
#include "files/settings_clamp.h"
#include "files/settings_fixture.h"
#include "scan/state.h"

namespace vna {
namespace {

using ClampTest = testing::SettingsTest;

TEST_F(ClampTest, Rules) {
  struct Case {
    const char* name;
    std::function<void()> set;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"Zref 0.5 resets all three", [] { Zref = 0.5, Z0real = 75, Z0imag = 3; },
       [] {
         EXPECT_EQ(Zref, 50);
         EXPECT_EQ(Z0real, 50);
         EXPECT_EQ(Z0imag, 0);
       }},
      {"Zref 10000 stays", [] { Zref = 10000; }, [] { EXPECT_EQ(Zref, 10000); }},
      {"Zref 10000.5", [] { Zref = 10000.5; }, [] { EXPECT_EQ(Zref, 50); }},
      {"Z0real alone", [] { Z0real = 20000; },
       [] {
         EXPECT_EQ(Z0real, 50);
         EXPECT_EQ(Zref, 50);
       }},
      {"Z0imag -12", [] { Z0imag = -12; }, [] { EXPECT_EQ(Z0imag, 0); }},
      {"Z0imag -10", [] { Z0imag = -10; }, [] { EXPECT_EQ(Z0imag, -10); }},
      {"average 256", [] { average = 256; }, [] { EXPECT_EQ(average, 256); }},
      {"average 257", [] { average = 257; }, [] { EXPECT_EQ(average, 0); }},
      {"average -1", [] { average = -1; }, [] { EXPECT_EQ(average, 0); }},
      {"DDSdelay 40", [] { DDSdelay = 40; }, [] { EXPECT_EQ(DDSdelay, 31); }},
      {"DDSdelay -3", [] { DDSdelay = -3; }, [] { EXPECT_EQ(DDSdelay, 0); }},
      {"start equals end", [] { start_freq = end_freq = 10; },
       [] {
         EXPECT_EQ(start_freq, 1);
         EXPECT_EQ(end_freq, 21);
         EXPECT_EQ(delta_freq, 0.25);
       }},
      {"span of 0.0002", [] { start_freq = 10, end_freq = 10.0002; },
       [] {
         EXPECT_EQ(start_freq, 10);
         EXPECT_EQ(end_freq, 10.0002);
       }},
      {"step 5 during a calibration", [] { delta_freq = 5, CalinProgress = 1; },
       [] { EXPECT_EQ(delta_freq, 2); }},
      {"step 5 outside", [] { delta_freq = 5; }, [] { EXPECT_EQ(delta_freq, 5); }},
      {"step 12", [] { delta_freq = 12; }, [] { EXPECT_EQ(delta_freq, 10); }},
      {"step -20", [] { delta_freq = -20; }, [] { EXPECT_EQ(delta_freq, 10); }},
      {"osc_freq 25", [] { osc_freq = 25; }, [] { EXPECT_EQ(osc_freq, 50); }},
      {"osc_freq 1000", [] { osc_freq = 1000; }, [] { EXPECT_EQ(osc_freq, 1000); }},
      {"osc_freq 1000.5", [] { osc_freq = 1000.5; }, [] { EXPECT_EQ(osc_freq, 50); }},
      {"smoothing 9", [] { smoothing = 9; }, [] { EXPECT_EQ(smoothing, 9); }},
      {"smoothing 11", [] { smoothing = 11; }, [] { EXPECT_EQ(smoothing, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitVars();
    osc_freq = 400;
    CalinProgress = 0;
    c.set();
    ClampSettings();
    c.check();
    // A second call changes nothing.
    const double before[] = {Zref, Z0real, Z0imag, start_freq, end_freq, delta_freq, osc_freq};
    ClampSettings();
    const double after[] = {Zref, Z0real, Z0imag, start_freq, end_freq, delta_freq, osc_freq};
    for (size_t i = 0; i < std::size(before); ++i) EXPECT_EQ(before[i], after[i]);
  }
}

}  // namespace
}  // namespace vna
