// The measured point against the instrument simulator: the link opened on
// vna-sim, then brought up the way start-up does (version query with model
// detection, frequency plan, oscillator 1, model decision, instrument
// defaults, averaging) and both relays on as the scans switch them, so the
// tests drive the real program code.
#pragma once

#include <string>
#include <vector>

#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/frequency_programming.h"
#include "instrument/sim_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/temp_dir.h"

namespace vna {

class PointSim : public SimLink {
 protected:
  // model "uhf" or "7306"; further vna-sim options after it.
  void Start(const std::string& model, std::vector<std::string> args = {}) {
    InitVars();
    // Run state that InitVars leaves alone, as the program starts with it.
    mult_code = mult_changed = new_mults = 0;
    DIAGMODE = 0;
    dds_mult1 = dds_mult2 = 0;
    min_freq = 0.005;
    MaxFreqUHF = 1200;
    maximumfreq = MaxFreqUHF;
    main_loop_on = 1;
    DIAGMODE = 0;  // no flag file
    args.insert(args.begin(), {"--model", model});
    StartSim(args);
    Identify();
    ASSERT_EQ(comm_ok, 1) << "the simulator did not answer";
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
    relayA = relayB = 1;
    ProgRelay(3);
    ASSERT_EQ(model_uhf != 0, model == "uhf");
    testhook::ClearLogs();
  }

  void TearDown() override {
    if (sim_) {
      EXPECT_EQ(sim_->Status("protocolerrors"), "0") << sim_->StderrText();
    }
    SimLink::TearDown();
  }

  test::SimRunner& Sim() { return *sim_; }

  // The commands since the last Mark() that begin with `letter`, once at
  // least `least` of them arrived (or a second passed).
  std::vector<Command> SentOf(char letter, size_t least = 0) {
    std::vector<Command> out;
    for (int i = 0; i < 100; ++i) {
      out.clear();
      for (const Command& c : sim_->CommandsSince("step" + std::to_string(marks_))) {
        if (!c.empty() && c[0] == static_cast<uint8_t>(letter)) out.push_back(c);
      }
      if (out.size() >= least) break;
      DelayMs(10);
    }
    return out;
  }
  // One point at f with `avg` readings averaged; the commands it sent.
  std::vector<Command> PointAtAveraging(int avg, double f, size_t least) {
    average = avg;
    AverageADC(avg);
    freq = f;
    Mark();
    Send_Freq(0);
    return Sent(least);
  }
  // One point at f while the simulator injects `fault` ("kind count").
  void FaultyPoint(const std::string& fault, double f) {
    Sim().Fault(fault);
    freq = f;
    Send_Freq(0);
  }

 private:
  testing::TempDir dir_;  // the version query writes version.txt here
  testing::ScopedEnv program_dir_{"VNA_PROGRAM_DIR", dir_.path()};
};

}  // namespace vna
