// A loaded scan keeps all its points: a replay that stops early (at the end
// of the calibration in use) draws fewer, and the next save still writes the
// whole file the user loaded.
#include <string>
#include <vector>

#include "files/scan_file_a.h"
#include "files/scan_file_b.h"
#include "platform/testhook.h"
#include "scan_files/scan_files_fixture.h"

namespace vna {
namespace {

using test::CrLfLines;
using test::GoldenFile;

class StoredCount : public test::ScanFileTest {
 protected:
  void SetUp() override {
    ScanFileTest::SetUp();
    scan_format_B = 4080;
  }
};

// The golden scans run to 2 MHz (Port A) and 11 MHz (Port B); the
// calibration in use ends at their second point, so each replay draws two
// (a point on the calibration's last record is drawn, none beyond it).
TEST_F(StoredCount, AReplayCutShortByTheCalibrationKeepsEveryPointForTheNextSave) {
  struct Case {
    int port_b;
    const char* golden;
    double cal_end;
  };
  for (const Case& c : {Case{0, "port_a.scn", 1.5}, Case{1, "port_b.scnb", 10.5}}) {
    SCOPED_TRACE(c.golden);
    PortB_on = c.port_b;
    cal_end_freq = c.cal_end;
    const std::string in = dir.Write(std::string("in_") + c.golden, GoldenFile(c.golden));
    testhook::QueueFileAnswer(in);
    save_mode = 0;
    if (c.port_b != 0) {
      LoadScanB();
    } else {
      LoadScanA();
    }
    ASSERT_EQ(vna_status, 0);
    EXPECT_EQ(scan_npoints, 2);  // drawn up to the calibration's end
    save_mode = 1;
    if (c.port_b != 0) {
      SaveScanB();
    } else {
      SaveScanA();
    }
    // The count and every point record as loaded (the limits lines follow
    // the frequency grid of the redraw).
    const std::string out = c.port_b != 0 ? "ZiviRURGraphB.scnb" : "ZiviRURGraph.scn";
    const std::vector<std::string> saved = CrLfLines(dir.Read(out));
    const std::vector<std::string> want = CrLfLines(GoldenFile(c.golden));
    const size_t first = c.port_b != 0 ? 29 : 17, lines = c.port_b != 0 ? 5 * 4 : 3 * 3;
    ASSERT_GE(saved.size(), first + lines);
    EXPECT_EQ(saved[2], " 3");
    EXPECT_EQ(std::vector<std::string>(saved.begin() + first, saved.begin() + first + lines),
              std::vector<std::string>(want.begin() + first, want.begin() + first + lines));
    if (c.port_b != 0) {
      // The companion holds every point too.
      EXPECT_EQ(CrLfLines(dir.Read("ZiviRURGraphB_B.csv")).size(),
                CrLfLines(GoldenFile("port_b_B.csv")).size());
    }
  }
}

}  // namespace
}  // namespace vna
