// What the scan file tests start from: the scan tests' defaults, a program
// folder of their own, the program's version and model texts, and the scan
// of the golden files in memory.
#pragma once

#include <string>
#include <vector>

#include "calibration/state.h"
#include "files/state.h"
#include "scan/scan_fixture.h"
#include "support/temp_dir.h"

namespace vna::test {

// The golden files of data/ (see data/README.md), and the lines of a text.
std::string GoldenFile(const std::string& name);
std::vector<std::string> CrLfLines(const std::string& text);

// Everything a Port A scan file sets, to show that a refused file changed
// none of it.
struct ScanSnapshot {
  std::vector<double> freq, zmag, phase, swr, b_s21;
  int points = 0, ok_a = 0, ok_b = 0, average = 0, smoothing = 0, plot_at_zero = 0;
  double start = 0, end = 0, step = 0, zref = 0, vf = 0, cable = 0;
  std::string title, stamp, comment;
  static ScanSnapshot Take();
  bool operator==(const ScanSnapshot&) const = default;
};

class ScanFileTest : public ScanTest {
 protected:
  ScanFileTest() : program_dir_("VNA_PROGRAM_DIR", dir.path()) {}
  void SetUp() override;

  // The scan of the golden files, as a scan leaves it in memory.
  void StoreGoldenScan();
  // Settings changed since the scan ran: other than those it recorded.
  static void ChangeSettingsSinceTheScan();
  // Saves through the file dialog to `name` below the folder.
  void SaveAs(const std::string& name);
  // Loads `path` through the file dialog.
  void LoadFrom(const std::string& path);

  testing::TempDir dir;

 private:
  testing::ScopedEnv program_dir_;
};

}  // namespace vna::test
