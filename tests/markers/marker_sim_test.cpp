// The readout and the marker window against the instrument simulator: a
// calibrated 1..30 MHz scan of a series circuit read back at the cursor, and
// markers measured anew on the instrument.
#include <cmath>
#include <complex>

#include "graph/cursor_readout.h"
#include "graph/marker_commands.h"
#include "graph/marker_window.h"
#include "graph/markers.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

class MarkerSim : public ScanSim {
 protected:
  // A calibrated 1..30 MHz scan of this device.
  void ScanOf(const std::string& dut) {
    Begin();
    Calibrate(1, 30.25, 0.25);
    Sim().SetDut(dut);
    ScanButton(1, 30, 0.25);
    ASSERT_EQ(vna_status, 0);
    ASSERT_GE(scan_npoints, 110);
  }
  // The readout at 7 MHz: the value of the line that starts with `name`.
  static double ReadoutAt7(const std::string& name) {
    testhook::ClearLogs();
    cursor_x = 0;  // the readout draws again at the same x
    const int x = Rnd(graph_left + (7 - graph_start) * px_per_MHz);
    CursorReadout(x, (graph_top + graph_bottom) / 2);
    EXPECT_NEAR(cursor_freq, 7, 1 / px_per_MHz);
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name && p.text.rfind(name, 0) == 0)
        return ParseNumber(p.text.substr(name.size()));
    ADD_FAILURE() << "no line " << name;
    return 0;
  }
  static void SavePng(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VNA_BINARY_DIR) / "markers";
    std::filesystem::create_directories(dir);
    int w = 0, h = 0;
    ClientSize(main_win, w, h);
    main_win.impl->image.copy(0, 0, w, h)
        .save(QString::fromStdString((dir / (name + ".png")).string()));
  }
};

TEST_F(MarkerSim, ReadoutOfAnInductiveSeriesCircuit) {
  ScanOf("series:r=15,l=3.3u");
  const double x = 2 * M_PI * 7e6 * 3.3e-6;
  const double z = std::hypot(15, x);
  EXPECT_NEAR(ReadoutAt7("Ls = "), 3.3, 0.033);
  EXPECT_NEAR(ReadoutAt7("Rs = "), 15, 0.01 * z);
  EXPECT_NEAR(cursor_xs, x, 0.01 * z);
  EXPECT_NEAR(cursor_zmag, z, 0.01 * z);
  SavePng("main_window_readout_sim");
}

TEST_F(MarkerSim, ReadoutOfACapacitiveSeriesCircuit) {
  ScanOf("series:r=15,c=470p");
  const double x = -1 / (2 * M_PI * 7e6 * 470e-12);
  const double z = std::hypot(15, x);
  EXPECT_NEAR(ReadoutAt7("Cs = "), 470, 4.7);
  EXPECT_NEAR(ReadoutAt7("Rs = "), 15, 0.01 * z);
}

TEST_F(MarkerSim, MarkerWindowMeasuresEachMarkerAnew) {
  ScanOf("series:r=15,l=3.3u");
  ClearMarkers();
  markers[1].Freq = 5;
  markers[2].Freq = 10;
  markers[3].Freq = 20;
  plot_rsA = 1;
  testhook::SetPumpHook([] {
    if (markerwin_open == 0 || !marker_win.IsOpen()) return;
    testhook::SetPumpHook(nullptr);
    PostEvent(marker_win, kEvCommand, 3175);
  });
  Sim().Mark("markers");
  MarkerCommand(1);
  const auto sent = SentSince("markers");
  for (int i = 1; i <= 3; ++i) {
    const double f = markers[i].Freq;
    const std::complex<double> want(15, 2 * M_PI * f * 1e6 * 3.3e-6);
    const double z = std::abs(want);
    EXPECT_NEAR(markers[i].Rs, want.real(), 0.01 * z) << f;
    EXPECT_NEAR(markers[i].Xs, want.imag(), 0.01 * z) << f;
    EXPECT_NEAR(markers[i].Phase, std::arg(want), 0.01) << f;
    const double rho = std::abs((want - 50.0) / (want + 50.0));
    EXPECT_NEAR(markers[i].SWR, (1 + rho) / (1 - rho), 0.02 * (1 + rho) / (1 - rho)) << f;
  }
  // Both relays on before each marker, off at the end.
  EXPECT_GE(CountOf(sent, 'K'), 4);
  EXPECT_FALSE(marker_win.IsOpen());
  EXPECT_EQ(markerena, 1);
}

// A reading that fails ends the listing and Recycle, the rows keep what
// they held, and the failure is said once. A reading without a reference is
// such a failure at every frequency, also below 10 MHz, where the link does
// not test it and its values would pass for the marker's.
TEST_F(MarkerSim, FailedReadingEndsTheListingAndKeepsTheRows) {
  ScanOf("series:r=15,l=3.3u");
  struct Case {
    const char* fault;
    int status;
  };
  const Case cases[] = {
      {"checksum 10", 72},  // five damaged replies in a row fail the read
      {"noref", 17},        // at the first marker, 5 MHz
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ClearMarkers();
    for (int i = 1; i <= 3; ++i) {
      markers[i].Freq = 5 * i;
      markers[i].Rs = i;
      markers[i].SWR = 1.5;
    }
    testhook::SetPumpHook([] {
      if (markerwin_open == 0 || !marker_win.IsOpen()) return;
      testhook::SetPumpHook(nullptr);
      PostEvent(marker_win, kEvCommand, 3175);
    });
    Sim().Fault(c.fault);
    testhook::ClearLogs();
    MarkerCommand(1);
    Sim().Fault("none");
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(markers[i].Rs, i) << i;
      EXPECT_EQ(markers[i].SWR, 1.5) << i;
    }
    // No row was listed after the failure.
    for (const auto& p : testhook::Prints())
      EXPECT_FALSE(p.window == marker_win.name && p.y >= 93) << p.text;
    EXPECT_EQ(testhook::MsgBoxes().size(), 1u) << "said once";
    for (const auto& box : testhook::MsgBoxes()) {
      EXPECT_EQ(box.text.rfind("The instrument failed to measure at 5 MHz (status " +
                                   std::to_string(c.status) + ").",
                               0),
                0u)
          << box.text;
    }
    EXPECT_EQ(recycle_on, 0);
    EXPECT_EQ(scan_running, 0);
    EXPECT_FALSE(marker_win.IsOpen());
  }
}

}  // namespace
}  // namespace vna
