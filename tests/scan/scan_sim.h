// The Port A scan against the instrument simulator: the link brought up as
// start-up brings it up, the main window open with its own handler (so the
// Scan and Halt buttons are the real ones), a program folder of its own for
// the auto-saved scans, and a calibration measured from the simulator's
// short, open and 50 ohm load with the real point reads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "calibration/cal_port_b.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "files/state.h"
#include "graph/geometry.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "instrument/point_sim.h"
#include "scan/freq_list.h"
#include "scan/scan_fixture.h"
#include "scan/state.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/menus.h"
#include "shell/state.h"
#include "support/temp_dir.h"
#include "tools/state.h"

namespace vna {

// The Scan button of the button bar, over these limits.
inline void ScanButton(double start, double end, double step) {
  start_freq = start;
  end_freq = end;
  delta_freq = step;
  DispatchCommand(kBtnScan);
}

class ScanSim : public PointSim {
 protected:
  static void SetUpTestSuite() {
    SetProgramVersion();
    DefineDialogs();
  }
  ScanSim() : program_dir_("VNA_PROGRAM_DIR", dir_.path()) {}

  std::string model_ = "uhf";  // the simulator's model for Begin

  void Begin(std::vector<std::string> args = {}) {
    Start(model_, std::move(args));
    std::fill(CalDataA, CalDataA + kCalTableSize, CalPointA{});
    cal_points = 0;
    MaxCalANdx = -1;
    PortA_cal = cal_valid = 0;
    CalinProgress = 0;
    ExtensionFlag = 0;
    test::ClearScanArrays();
    scana_ok = scanb_ok = 0;
    scanloop = 0;
    scan_format_A = 130;
    autosave_graph = 1;
    autosave_flipA = autosave_block = 0;
    max_points = 30000;
    recycle_on = 0;
    DIAGMODE = tdr_mode = 0;
    smoothing = 0;
    PortB_on = 0;
    plot_at_zero = 0;
    WinWidth = 1024;
    WinHeight = 700;
    OpenWindow(main_win, 0, 0, WinWidth, WinHeight, kWinCaption | kWinSysMenu, "",
               MainWindowHandler);
    bg_color = ReadPixel(main_win, 2, 2);
    MeasureGraphLayout();
    // Scales the defaults leave to the init file: a user's file holds these,
    // and a scale of 0 would show its notice on every picture.
    s21phase_scale = 180;
    delay_scale = 1000;
    testhook::ClearLogs();
  }
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    CloseWindow(main_win);
    CloseWindow(watch_);
    PumpEvents();
    EXPECT_EQ(testhook::PendingAnswers(), 0u);
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
    PointSim::TearDown();
  }

  // Port B mode as the Port B tests start from: S21 and its phase the only
  // traces, the standard compensation, fixed averaging.
  static void PortBMode() {
    PortB_on = transmission_mode = 1;
    scan_format_B = 4080;
    plots21 = plot_phaseS21 = 1;
    plot_s11 = plot_swrB = plot_delay = plot_insloss = 0;
    alt_colors = 0;
    autosave_flipB = 0;
    delay_smoothing = 2;
    std_comp = 1;
    fixed_avg = 1;
  }

  // The frequency list a scan of these limits builds.
  static std::vector<double> List(double start, double end, double step) {
    start_freq = start;
    end_freq = end;
    BuildFreqList(1, step);
    return std::vector<double>(scanA_freq, scanA_freq + Numscanpts);
  }

  // Short, open and 50 ohm load read at every frequency of this list into
  // the calibration table, as the calibration stores them; the calibrated
  // range is the list's.
  void Calibrate(double start, double end, double step) {
    const std::vector<double> freqs = List(start, end, step);
    CalinProgress = 1;
    const char* standards[] = {"short", "open", "load"};
    for (int s = 0; s < 3; ++s) {
      Sim().SetDut(standards[s]);
      for (size_t i = 0; i < freqs.size(); ++i) {
        freq = freqs[i];
        ReadPoint_A(0);
        ASSERT_EQ(vna_status, 0) << standards[s] << " at " << freqs[i];
        CalPointA& p = CalDataA[i];
        p.freq = freqs[i];
        double& r = s == 0 ? p.shortR : s == 1 ? p.openR : p.stdR;
        double& x = s == 0 ? p.shortX : s == 1 ? p.openX : p.stdX;
        r = Rsm;
        x = Xsm;
        p.multstate = 1000 * OSC + mult_code;
        p.gainA = gain_factor_A;
        p.osc = OSC;
      }
    }
    CalinProgress = 0;
    cal_points = static_cast<int>(freqs.size());
    MaxCalANdx = cal_points - 1;
    Rstd = 50;
    PortA_cal = cal_valid = 1;
    cal_start_freq = freqs.front();
    cal_end_freq = freqs.back();
  }

  // A through calibration taken at the points of this list into CalDataB,
  // as the Port B calibration stores it (low sensitivity, gain step 1).
  void CalibrateThrough(double start, double end, double step) {
    start_freq = start;
    end_freq = end;
    PortB_on = 1;
    BuildFreqList(1, step);
    CalinProgress = 1;
    Sim().SetDutB("thru");
    PortB_Gain = PortB_Sens = 1;
    ProgGain();
    for (int i = 0; i < Numscanpts; ++i) {
      freq = scanB_freq[i];
      ReadPoint_B(0);
      CalPointB& p = CalDataB[i];
      p.freq = freq;
      p.ratio_low = p.ratio_high = MagLoad / MagRef;
      p.phase_low = p.phase_high = Delta_Phase;
      p.multstate = 1000 * OSC + mult_code;
      p.gainB = gain_factor_B;
      p.osc = OSC;
    }
    CalinProgress = 0;
    MaxCalBNdx = Numscanpts - 1;
    PortB_cal = 1;
    cal_start_freq = start;
    cal_end_freq = scanB_freq[Numscanpts - 1] + step;
  }

  // "PORT B CAL" at the frequencies of the Port A calibration, as a person
  // runs it: the through cable connected at its prompt, the end confirmed.
  void RunThroughCal() {
    calB_only = 0;
    mux_chan = Mux_Cal = 0;
    ExtensionLength = 0;
    delay_offset = 0;
    DDS_Amplitude = 100;
    testhook::Answer through;
    through.press = kIdOk;
    through.act = [this] { Sim().SetDutB("thru"); };
    testhook::QueueAnswer(through);
    testhook::QueueMsgBoxAnswer(kIdOk, " Port B Cal");
    CalB();
    ASSERT_EQ(calB_error, 0);
    ASSERT_EQ(PortB_cal, 1);
    testhook::ClearLogs();
  }

  // Injects `fault` into the simulator once the running scan stored `at`
  // points.
  void FaultAt(int at, const std::string& fault) {
    scanloop = 0;  // not the last scan's count
    testhook::SetPumpHook([this, at, fault] {
      if (scan_running == 0 || scanloop < at) return;
      Sim().Fault(fault);
      testhook::SetPumpHook(nullptr);
    });
  }

  // Calls `act` at every pump of the event loop (every 11 points during a
  // scan, and in the instrument commands' waits) until it returns true.
  void Watch(std::function<bool()> act) {
    act_ = std::move(act);
    OpenWindow(watch_, -5000, 5000, 10, 10, kWinHidden, "", [this] {
      if (act_ && !act_()) PostEvent(watch_, kEvCommand, 1);
      return 0;
    });
    PostEvent(watch_, kEvCommand, 1);
  }
  // Ends the watch before what its act refers to goes out of scope.
  void StopWatch() { act_ = nullptr; }

  // The commands the program sent since the mark `name`.
  std::vector<Command> SentSince(const std::string& name) {
    DelayMs(30);
    return sim_->CommandsSince(name);
  }
  static int CountOf(const std::vector<Command>& sent, char letter) {
    int n = 0;
    for (const Command& c : sent) n += !c.empty() && c[0] == static_cast<uint8_t>(letter);
    return n;
  }

  std::string Folder() const { return dir_.path(); }

 private:
  testing::TempDir dir_;
  testing::ScopedEnv program_dir_;
  Window watch_{"watch_win"};
  std::function<bool()> act_;
};

// The same tests on both models, each with its own frequency programming,
// gains and decoding.
class ScanSimModels : public ScanSim, public ::testing::WithParamInterface<const char*> {
 protected:
  ScanSimModels() { model_ = GetParam(); }
  static std::string Png(const std::string& name) { return name + "_" + GetParam(); }
  // The frequency commands among `sent`: "E" on the two-multiplier model,
  // "U", "T" and "G" on the single-DDS model.
  static int FreqCommands(const std::vector<Command>& sent) {
    if (std::string(GetParam()) == "uhf") return CountOf(sent, 'E');
    return CountOf(sent, 'U') + CountOf(sent, 'T') + CountOf(sent, 'G');
  }
};

}  // namespace vna
