// The measured point against the instrument simulator: starts vna-sim on a
// pseudo-terminal and brings the link up the way start-up does (link test,
// version query with model detection, frequency plan, oscillator 1, model
// decision, instrument defaults), so the tests drive the real program code.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/freq_plan.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/sim_runner.h"

namespace vna {

using Bytes = std::vector<uint8_t>;

inline Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

class PointSim : public ::testing::Test {
 protected:
  // model "uhf" or "7306"; further vna-sim options after it.
  void Start(const std::string& model, std::vector<std::string> args = {}) {
    args.insert(args.begin(), {"--model", model});
    sim_ = std::make_unique<test::SimRunner>(args);
    // The version query writes version.txt into the current folder.
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) cwd_ = cwd;
    ASSERT_EQ(chdir(sim_->Folder().c_str()), 0);
    InitVars();
    // Run state that InitVars leaves alone, as the program starts with it.
    mult_code = mult_changed = new_mults = 0;
    dds_mult1 = dds_mult2 = 0;
    min_freq = 0.005;
    MaxFreqUHF = 1200;
    maximumfreq = MaxFreqUHF;
    commport = sim_->ComPort();
    vna_present = 1;
    main_loop_on = 1;
    CheckComm();
    ASSERT_EQ(vna_status, 0) << "the simulator did not answer";
    GetVersion(1);
    InitFreqPlan();
    SelectOsc(1);
    maximumfreq = 0;
    if (model_uhf > 0) {
      maximumfreq = MaxFreqUHF;
      two_osc = 2;
    }
    if (model7306 != 0) {
      osc_freq = 400;
      two_osc = 0;
      maximumfreq = 180;
    }
    raw_Z0 = 50;
    ResetInstrument();
    AverageADC(average);
    // Both relays on, as the scans and calibrations switch them before measuring.
    relayA = relayB = 1;
    ProgRelay(3);
    ASSERT_EQ(model_uhf != 0, model == "uhf");
    testhook::ClearLogs();
  }

  void TearDown() override {
    if (hcom != kInvalidPort) SerialClose(hcom);
    hcom = kInvalidPort;
    if (sim_) {
      EXPECT_EQ(sim_->Status("protocolerrors"), "0") << sim_->StderrText();
    }
    if (!cwd_.empty()) {
      EXPECT_EQ(chdir(cwd_.c_str()), 0);
    }
  }

  test::SimRunner& Sim() { return *sim_; }

  // Marks the byte log so that Since() returns the commands sent after it.
  void Mark(const std::string& name) {
    mark_ = name;
    Sim().Mark(name);
  }
  // Commands since the last mark; waits until the log holds at least `least`
  // of them (commands without a reply may still be on their way).
  std::vector<Bytes> Since(size_t least = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
      std::vector<Bytes> c = Sim().CommandsSince(mark_);
      if (c.size() >= least || std::chrono::steady_clock::now() > deadline) return c;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Only the commands that begin with `letter`.
  std::vector<Bytes> SinceOf(char letter, size_t least = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
      std::vector<Bytes> out;
      for (const Bytes& c : Sim().CommandsSince(mark_)) {
        if (!c.empty() && c[0] == static_cast<uint8_t>(letter)) out.push_back(c);
      }
      if (out.size() >= least || std::chrono::steady_clock::now() > deadline) return out;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // One point at f with `avg` readings averaged; the commands it sent.
  std::vector<Bytes> PointAtAveraging(int avg, double f, size_t least) {
    average = avg;
    AverageADC(avg);
    freq = f;
    Mark("averaging");
    Send_Freq(0);
    return Since(least);
  }
  // One point at f while the simulator injects `fault` ("kind count").
  void FaultyPoint(const std::string& fault, double f) {
    Sim().Fault(fault);
    freq = f;
    Send_Freq(0);
  }

 private:
  std::unique_ptr<test::SimRunner> sim_;
  std::string mark_;
  std::string cwd_;
};

}  // namespace vna
