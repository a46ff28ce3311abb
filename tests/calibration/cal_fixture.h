// What the calibration tests start from: the defaults as start-up leaves them
// for a chosen model, no calibration in memory, a program folder of its own,
// and a snapshot of everything a calibration file may change, so a test can
// show that a refused file changed none of it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "instrument/freq_plan.h"
#include "instrument/state.h"
#include "platform/testhook.h"
#include "shell/state.h"
#include "support/file_lines.h"
#include "support/temp_dir.h"
#include "tools/state.h"

namespace vna::test {

// Empties the calibration tables and the calibration flags, as at start-up.
void ClearCalibration();

// Defaults of a model: "uhf" (two multipliers, 1200 MHz) or "7306" (single
// DDS, 180 MHz), its frequency plan, and the instrument present or not.
void StartModel(const std::string& model, int instrument);

// Fills n records with a small, made-up calibration whose values are exact
// at the file's decimals: record i at 1 + i MHz.
void FillCalibration(int n, bool port_b);

// Everything a calibration file may change.
struct CalSnapshot {
  std::vector<CalPointA> a;
  std::vector<CalPointB> b;
  int points = 0, max_a = 0, max_b = 0, port_a = 0, port_b = 0, valid = 0, std = 0, indep = 0;
  double rstd = 0, temperature = 0, start = 0, end = 0, delta = 0;
  double amplitude = 0;
  int sens = 0, gain = 0;
  std::string file_name, folder, path, comment, date, version;
  double rng_gain[6] = {}, rng[6] = {};
  std::vector<int> plan_bp, plan_code, lookup;
  double gain5x = 0, gain2 = 0;
  int bands = 0;
  std::vector<double> band_lo, band_hi;
  double scan_start = 0, scan_end = 0, scan_delta = 0;

  static CalSnapshot Take();
};
// Field by field; the failure names the first difference.
::testing::AssertionResult SameCalibration(const CalSnapshot& want, const CalSnapshot& got);

// The message boxes shown since the logs were cleared, as "caption|text".
std::vector<std::string> Boxes();

using testing::JoinCrLf;
using testing::SplitCrLf;

class CalFileTest : public ::testing::Test {
 protected:
  CalFileTest() : program_dir_("VNA_PROGRAM_DIR", dir.path()) {}
  void TearDown() override;

  // Saves the calibration in memory to `name` below the folder (mux_chan as
  // it stands) and returns the file's text.
  std::string Save(const std::string& name);
  // Loads `path`; returns vna_status.
  int Load(const std::string& path, int show_summary = 0);

  testing::TempDir dir;

 private:
  testing::ScopedEnv program_dir_;
};

}  // namespace vna::test
