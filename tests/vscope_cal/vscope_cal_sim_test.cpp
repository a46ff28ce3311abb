// The Vector Scope and the Array Scan with the real Port B scan and
// calibration against the simulator: a 75 ohm load on Port A, every
// multiplexer channel calibrated on the through path (one Port A and Port B
// calibration written by the program as the files of channels 1 to 3), then
// channel 1 switched to a 10 ns line with 3 dB loss, channel 2 to a 6 dB
// attenuator and channel 3 to a 20 ns line: channel 2 reads 3 dB below
// channel 1 (0.708) and 3.6 degrees per MHz ahead of it, channel 3 3 dB above
// it (1.413) and 3.6 degrees per MHz behind.
#include <cmath>

#include "calibration/cal_file.h"
#include "calibration/cal_port_b.h"
#include "files/scan_file_b.h"
#include "graph/trace_plot.h"
#include "scan/scan_b.h"
#include "scan/scan_sim.h"
#include "vscope/vscope_fixture.h"

namespace vna {
namespace {

using test::Press;

class VScopeCal : public ScanSim {
 protected:
  void SetUp() override {
    Begin({"--dut", "r=75"});
    font_weight = 200;
    mux_busy = vscope_open = arrayscan_open = arrayscan_shown = 0;
    vscope_recycle = 0;
    for (int n = 1; n <= 6; ++n) chan_enabled[n] = 0;
    Calibrate(1, 10, 0.5);
    cal_delta_freq = 0.5;
    Sim().SetDut("r=75");
    // The Port B calibration asks for the through cable, then says it is done.
    mux_chan = 0;
    calB_only = 0;
    average = 16;
    AverageADC(16);
    testhook::Answer through;
    through.press = 1;
    testhook::QueueAnswer(through);
    testhook::QueueMsgBoxAnswer(kIdOk, " Port B Cal");
    {
      test::Watchdog dog(std::chrono::seconds(120), "the Port B calibration");
      CalB();
    }
    ASSERT_EQ(calB_error, 0);
    ASSERT_EQ(PortB_cal, 1);
    cal_save_name = Folder() + "/array.vcal";
    for (int c = 1; c <= 3; ++c) {
      mux_chan = c;
      if (c == 1) testhook::QueueFileAnswer(Folder() + "/array.vcal");
      ASSERT_TRUE(SaveCalFile()) << c;
    }
    mux_chan = 0;
    Sim().SetChannel(1, "delay:ns=10,db=3");
    Sim().SetChannel(2, "atten:db=6");
    Sim().SetChannel(3, "delay:ns=20");
    testhook::ClearLogs();
  }
  // The Vector Scope's SCAN opens the Array Scan, whose SCAN scans all
  // channels; its picture then, kept as build/vscope/<png>.png.
  static QImage ArrayScanPicture(const std::string& png) {
    QImage img;
    test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
      test::WhileOpen(
          win_array_scan, [] { Press(win_vector_scope, 23498); },
          [&] {
            Press(win_array_scan, 30501);
            img = test::Picture(win_array_scan);
            test::KeepPng(win_array_scan, png);
            Press(win_array_scan, 30505);
          });
      Press(win_vector_scope, 21170);
    });
    return img;
  }
  void TearDown() override {
    CloseWindow(win_vector_scope);
    CloseWindow(win_array_scan);
    ScanSim::TearDown();
  }
};

double Num(int id) {
  return ParseNumber(GetCtlText(win_vector_scope, id));
}

// Where a trace of this colour crosses the Array Scan's column of f: its y
// nearest to `want`, or -1.
int TraceY(const QImage& img, double f, int colour, int want) {
  const int x = Rnd(array_left + (f - graph_start) * px_per_MHz);
  int best = -1;
  for (int y = array_top; y <= array_bottom; ++y) {
    if (test::PixelAt(img, x, y) != colour) continue;
    if (best < 0 || std::abs(y - want) < std::abs(best - want)) best = y;
  }
  return best;
}

// Where channel 2's traces lie: 3 dB below channel 1, and 3.6 degrees per
// MHz ahead of it at f.
double Chan2MagY() {
  return array_bottom - 0.708 * zmag_yscale;
}
double Chan2PhaseY(double f) {
  return graph_zero_y - 360 * f * 0.010 * phase_yscale;
}

TEST_F(VScopeCal, ReadAllGivesEachChannelAgainstChannelOne) {
  test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
    start_freq = 2;
    end_freq = 8;
    delta_freq = 0.5;
    Numscanpts = 13;
    Mark();
    Press(win_vector_scope, 30400);
    std::vector<std::string> order;
    for (const Command& c : Sent(0)) {
      if (c[0] == 'L') order.push_back("L" + std::to_string((c[2] - 1) & 7));
      if (c[0] == 'E' && !order.empty() && order.back() != "E" && order.size() == 1)
        order.push_back("E");
    }
    // Channel 1, the Port A reading, then channels 2 and 3.
    EXPECT_EQ(order, (std::vector<std::string>{"L1", "E", "L2", "L3"}));
    EXPECT_NEAR(Num(90252), 0.708, 0.00708);
    EXPECT_NEAR(Num(90262), 12.6, 0.5);  // at 3.5 MHz
    EXPECT_NEAR(Num(90253), 1.413, 0.01413);
    EXPECT_NEAR(Num(90263), -12.6, 0.5);
    EXPECT_NEAR(swr, 1.5, 0.015);
    const QImage img = test::Picture(win_vector_scope);
    int col = kSwrBarX + 1;
    while (col < kSwrBarX + kSwrBarW - 2 &&
           test::PixelAt(img, col, kSwrBarY + 8) != bright_yellow_color)
      ++col;
    EXPECT_NEAR(col - kSwrBarX, 186, 1);
    test::KeepPng(win_vector_scope, "vector_scope_calibrated");
    EXPECT_EQ(start_freq, 2);
    EXPECT_EQ(end_freq, 8);
    EXPECT_EQ(delta_freq, 0.5);
    EXPECT_EQ(Numscanpts, 13);
    EXPECT_EQ(freq, 3.5);
    EXPECT_EQ(Sim().Status("relays"), "0");
    Press(win_vector_scope, 21170);
  });
}

// Channel 2's reading failing (damaged replies from the moment its
// multiplexer switched): its vector and its row keep the last reading taken,
// READ ALL ends there with one box saying so, and RECYCLE stops instead of
// reading on.
TEST_F(VScopeCal, AFailedReadingIsNeitherDrawnNorListed) {
  test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
    Press(win_vector_scope, 30400);
    const VectorTrace kept = vscope_elements[2];
    ASSERT_NEAR(kept.mag, 0.501, 0.01);
    const std::string row = GetCtlText(win_vector_scope, 90252);
    const std::string dump = GetCtlText(win_vector_scope, kVsDumpText);

    bool injected = false, read_on = false;
    testhook::SetPumpHook([&] {
      if (vscope_scanning == 0) return;
      if (!injected && mux_select == 2) {
        Sim().Fault("checksum 1000");
        injected = true;
      } else if (injected && mux_select != 2 && !read_on) {
        read_on = true;  // another channel read after the failure
        if (vscope_recycle != 0) PostEvent(win_vector_scope, kEvCommand, 30401);
      }
    });
    for (int button : {30400, 30401}) {  // READ ALL, RECYCLE
      SCOPED_TRACE(button);
      injected = read_on = false;
      mux_select = 0;  // not the channel the last reading left
      testhook::ClearLogs();
      Press(win_vector_scope, button);
      Sim().Fault("none");
      EXPECT_TRUE(injected);
      EXPECT_FALSE(read_on);
      EXPECT_EQ(vscope_recycle, 0);
      EXPECT_EQ(vscope_elements[2].mag, kept.mag);
      EXPECT_EQ(vscope_elements[2].phase, kept.phase);
      EXPECT_EQ(vscope_elements[2].tip_x, kept.tip_x);
      EXPECT_EQ(vscope_elements[2].tip_y, kept.tip_y);
      EXPECT_EQ(GetCtlText(win_vector_scope, 90252), row);
      EXPECT_EQ(GetCtlText(win_vector_scope, kVsDumpText), dump);
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << test::MessageLog();
      EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Vector Scope");
      EXPECT_EQ(testhook::MsgBoxes()[0].text,
                "Element 2 could not be read (status 72).\r\nThe elements not read keep their "
                "last readings.");
      EXPECT_EQ(Sim().Status("relays"), "0");
    }
    testhook::SetPumpHook(nullptr);
    Press(win_vector_scope, 21170);
  });
}

TEST_F(VScopeCal, ArrayScanDrawsEachChannelAgainstChannelOne) {
  zmag_scale = 1;
  arr_plot_swr = 0;
  arr_plot_mag = 1;
  arr_plot_phase = 0;
  test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
    test::WhileOpen(
        win_array_scan, [] { Press(win_vector_scope, 23498); },
        [&] {
          Press(win_array_scan, 30501);
          QImage img = test::Picture(win_array_scan);
          test::KeepPng(win_array_scan, "array_scan_magnitude");
          for (double f : {2.0, 3.5, 5.0, 8.0})
            EXPECT_NEAR(TraceY(img, f, chan_colors[2][0], Rnd(Chan2MagY())), Chan2MagY(), 1) << f;
          Press(win_array_scan, 30508);  // MAG off
          Press(win_array_scan, 30509);  // Phase on
          Press(win_array_scan, 30501);
          img = test::Picture(win_array_scan);
          test::KeepPng(win_array_scan, "array_scan_phase");
          for (double f : {2.0, 3.5, 5.0, 8.0}) {
            // Channel 1 on the zero line, the others their difference to it.
            for (int chan : {1, 2, 3}) {
              const double deg = chan == 1 ? 0 : (chan == 2 ? 360 : -360) * f * 0.010;
              const double y = graph_zero_y - deg * phase_yscale;
              EXPECT_NEAR(TraceY(img, f, chan_colors[chan][1], Rnd(y)), y, 1.5)
                  << "channel " << chan << " at " << f;
            }
          }
          Press(win_array_scan, 30505);
        });
    Press(win_vector_scope, 21170);
  });
}

// A Halt during channel 2 ends its measured trace; the rest of the trace
// repeats the last difference to channel 1 it measured, from which channel
// 1 is not taken again at every further point.
TEST_F(VScopeCal, AHaltedChannelRepeatsItsLastDifferenceToChannelOne) {
  zmag_scale = 1;
  arr_plot_swr = 0;
  arr_plot_mag = 1;
  arr_plot_phase = 1;
  QImage img;
  std::vector<double> list;  // channel 2's frequencies
  // Part way through channel 2's points (scanloop still holds channel 1's
  // count when channel 2's scan begins).
  Watch([&] {
    if (!ScanBInProgress() || mux_chan != 2 || scanloop < 5 || scanloop >= 10) return false;
    list.assign(scanB_freq, scanB_freq + Numscanpts);
    DispatchCommand(kBtnHalt);
    return true;
  });
  img = ArrayScanPicture("array_scan_halted");
  StopWatch();
  // Channel 2 stopped part way; channel 3 was not scanned.
  const int measured = scanB_npoints;
  ASSERT_GE(measured, 5);
  ASSERT_LT(measured + 4, static_cast<int>(list.size()));
  const double last_f = list[measured - 1];
  for (int i = 0; i < measured; ++i) {
    const double f = list[i];
    EXPECT_NEAR(TraceY(img, f, chan_colors[2][0], Rnd(Chan2MagY())), Chan2MagY(), 1) << f;
    EXPECT_NEAR(TraceY(img, f, chan_colors[2][1], Rnd(Chan2PhaseY(f))), Chan2PhaseY(f), 1.5) << f;
  }
  // The rest, up to the calibration's last frequency where a scan ends:
  // between its points, clear of where the segments meet.
  for (size_t i = measured + 1; i < list.size() && list[i] < cal_end_freq; ++i) {
    const double f = (list[i - 1] + list[i]) / 2;
    EXPECT_NEAR(TraceY(img, f, chan_colors[2][0], Rnd(Chan2MagY())), Chan2MagY(), 1) << f;
    EXPECT_NEAR(TraceY(img, f, chan_colors[2][1], Rnd(Chan2PhaseY(last_f))), Chan2PhaseY(last_f),
                1.5)
        << f;
  }
}

// Pixels of `colour` inside the Array Scan's plot box.
int PixelsOf(const QImage& img, int colour) {
  int n = 0;
  for (int y = array_top; y <= array_bottom; ++y)
    for (int x = array_left; x <= array_right; ++x) n += test::PixelAt(img, x, y) == colour;
  return n;
}

// Channel 1 stopping part way (one reading failing, the instrument sound
// again right after, or a Halt): the other
// channels are measured against channel 1's readings, so none of them is
// scanned; the stored Port B scan is channel 1's measured points, a failure
// keeps its status and is said once in the Array Scan's own box.
TEST_F(VScopeCal, AnArrayScanEndsWhenChannelOneStopsPartWay) {
  zmag_scale = 1;
  arr_plot_swr = 0;
  arr_plot_mag = 1;
  arr_plot_phase = 1;
  struct Case {
    const char* fault;  // nullptr: Halt
    int status;
  };
  const Case cases[] = {{"checksum 5", 72}, {"silence 1", 10}, {nullptr, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault != nullptr ? c.fault : "Halt");
    bool stopped = false, later_channel = false;
    std::vector<double> list;
    scanloop = 0;  // not the count the last scan left
    testhook::SetPumpHook([&] {
      if (!ScanBInProgress()) return;
      if (mux_chan >= 2) later_channel = true;
      if (stopped || mux_chan != 1 || scan_running == 0 || scanloop < 5) return;
      stopped = true;
      list.assign(scanB_freq, scanB_freq + Numscanpts);
      if (c.fault != nullptr) {
        Sim().Fault(c.fault);
      } else {
        DispatchCommand(kBtnHalt);
      }
    });
    if (c.status == 10) testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
    testhook::ClearLogs();
    const QImage img = ArrayScanPicture(std::string("array_scan_channel_one_") +
                                        (c.fault != nullptr ? "failed" : "halted"));
    testhook::SetPumpHook(nullptr);
    Sim().Fault("none");
    ASSERT_TRUE(stopped);
    EXPECT_FALSE(later_channel);
    EXPECT_EQ(vna_status, c.status);
    // Channel 1 shown as 0 dB at the points it measured before it stopped.
    EXPECT_GE(scanB_npoints, 5);
    EXPECT_LT(scanB_npoints + 4, static_cast<int>(list.size()));
    for (int i = 0; i < scanB_npoints; ++i) EXPECT_EQ(s21_dB[i], 0) << i;
    for (int chan : {2, 3}) {
      EXPECT_EQ(PixelsOf(img, chan_colors[chan][0]), 0) << "channel " << chan;
      EXPECT_EQ(PixelsOf(img, chan_colors[chan][1]), 0) << "channel " << chan;
    }
    EXPECT_GT(PixelsOf(img, chan_colors[1][0]), 0);
    if (c.status == 10) {
      // The silent instrument's " Hardware Reset" question has said it.
      EXPECT_EQ(test::Boxes(" Hardware Reset"), 1) << test::MessageLog();
      EXPECT_EQ(test::Boxes(" Array Scan"), 0) << test::MessageLog();
    } else if (c.status != 0) {
      EXPECT_EQ(test::Boxes(" Array Scan"), 1) << test::MessageLog();
      for (const auto& m : testhook::MsgBoxes()) {
        if (m.caption != " Array Scan") continue;
        EXPECT_EQ(m.text, "Channel 1 could not be scanned (status" + NumStr(c.status) +
                              ").\r\nThe other channels are measured against it: they were not "
                              "scanned.");
      }
    } else {
      EXPECT_EQ(testhook::MsgBoxes().size(), 0u) << test::MessageLog();
    }
    EXPECT_EQ(mux_chan, 0);
    EXPECT_EQ(multichan_scan, 0);
  }
}

// Channel 2 scanned alone (its menu command) after channel 1's scan failed
// part way: it is its difference to channel 1, so it ends where channel 1's
// readings end, and says why.
TEST_F(VScopeCal, AChannelScannedAloneEndsWhereChannelOneWasNotMeasured) {
  cal_file_path = Folder() + "/array.chan1";
  const std::string consequence =
      " (status 4485).\r\nScan channel 1 over the same range first: the other channels are "
      "measured against it.";
  // No channel 1 scanned since the program started.
  mux_ref_npoints = 0;
  const int stored = scanB_npoints;
  testhook::QueueMsgBoxAnswer(kIdYes, " Scan channel 2");
  DispatchCommand(23492);
  EXPECT_EQ(vna_status, kStatusNoChannelOneRef);
  EXPECT_EQ(scanB_npoints, stored);
  EXPECT_EQ(testhook::MsgBoxes().back().text,
            "Channel 2 was not scanned: channel 1 has no reading at its first point" + consequence);

  bool injected = false;
  scanloop = 0;
  testhook::SetPumpHook([&] {
    if (injected || !ScanBInProgress() || mux_chan != 1 || scan_running == 0 || scanloop < 5)
      return;
    injected = true;
    Sim().Fault("checksum 5");
  });
  testhook::QueueMsgBoxAnswer(kIdYes, " Scan channel 1");
  DispatchCommand(23491);
  testhook::SetPumpHook(nullptr);
  ASSERT_TRUE(injected);
  ASSERT_EQ(vna_status, 72);
  const int measured = scanB_npoints;
  ASSERT_GE(measured, 5);
  ASSERT_LT(measured + 4, Numscanpts);
  const double stop_f = scanB_freq[measured];

  testhook::ClearLogs();
  testhook::QueueMsgBoxAnswer(kIdYes, " Scan channel 2");
  DispatchCommand(23492);
  EXPECT_EQ(vna_status, kStatusNoChannelOneRef);
  EXPECT_EQ(scanB_npoints, measured);
  EXPECT_EQ(scan_npoints, measured);
  // A 6 dB attenuator against a line with 3 dB loss.
  for (int i = 0; i < measured; ++i) EXPECT_NEAR(s21_dB[i], -3, 0.1) << i;
  ASSERT_EQ(test::Boxes(" Scan channel 2"), 2) << test::MessageLog();
  SetDigits(3);
  EXPECT_EQ(testhook::MsgBoxes().back().text, "Channel 2 stopped at" + NumStr(stop_f) +
                                                  " MHz, where channel 1 has no reading" +
                                                  consequence);
}

// The Port B scan an Array Scan or a Vector Scope reading leaves, saved and
// loaded back (in Port B mode, where loading draws it again): the same
// values at the same frequencies, also when the scan was smoothed as it was
// measured (the file keeps the smoothing; its replay must not average the
// stored points again, which moved them a point along the list).
TEST_F(VScopeCal, TheScanLeftByTheToolsComesBackAsSaved) {
  zmag_scale = 1;
  arr_plot_mag = 1;
  const std::string path = Folder() + "/tools.scnb";
  scan_format_B = 4080;  // as start-up sets it
  for (const char* run :
       {"array scan", "read all", "read all, then array scan", "smoothed array scan"}) {
    SCOPED_TRACE(run);
    const std::string r = run;
    smoothing = r.rfind("smoothed", 0) == 0 ? 3 : 0;
    if (r.rfind("read all", 0) == 0) {
      test::WhileOpen(win_vector_scope, OpenVectorScope, [&] {
        Press(win_vector_scope, 30400);
        Press(win_vector_scope, 21170);
      });
    }
    if (r.find("array scan") != std::string::npos) ArrayScanPicture("array_scan_before_save");
    ASSERT_EQ(vna_status, 0);
    const int n = scanB_npoints;
    ASSERT_GE(n, 1);
    const std::vector<double> f(scanB_freq, scanB_freq + n), db(s21_dB, s21_dB + n),
        ph(scanB_phase, scanB_phase + n);
    testhook::QueueFileAnswer(path);
    save_mode = 0;
    SaveScanB();
    std::fill(s21_dB, s21_dB + n + 5, 99.0);
    std::fill(scanB_freq, scanB_freq + n + 5, 0.0);
    PortB_on = 1;
    testhook::QueueFileAnswer(path);
    save_mode = 0;
    LoadScanB();
    ASSERT_EQ(scanB_npoints, n);
    for (int i = 0; i < n; ++i) {
      EXPECT_NEAR(scanB_freq[i], f[i], 1e-6) << i;
      EXPECT_NEAR(s21_dB[i], db[i], 1e-4) << i;
      EXPECT_NEAR(scanB_phase[i], ph[i], 1e-3) << i;
    }
  }
  smoothing = 0;
}

}  // namespace
}  // namespace vna
