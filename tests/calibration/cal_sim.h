// The Port A calibration against the instrument simulator: the program
// brought up on a simulated instrument of either model, its main window
// open, a folder for the calibration and init files, and a person who
// answers the prompts, connecting the standard each one asks for through
// the simulator's control channel before pressing Continue.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "calibration/cal_fixture.h"
#include "instrument/point_sim.h"
#include "support/temp_dir.h"

namespace vna::test {

class CalSim : public PointSim {
 protected:
  CalSim() : program_dir_("VNA_PROGRAM_DIR", dir.path()) {}
  static void SetUpTestSuite();
  void TearDown() override;

  // The instrument of `model` ("uhf" or "7306"), no calibration in memory,
  // and the main window open with its real handler.
  void Begin(const std::string& model, std::vector<std::string> args = {});

  // A calibration in force before the test's one: a made-up table of 12
  // points written to "previous.vcal" and loaded the way start-up loads it.
  void LoadPrevious();

  // ---- The person at the instrument ----
  // The " Cal Limits" dialog: start, stop, step, amplitude, averaging.
  void AnswerLimits(const std::string& start, const std::string& stop, const std::string& step,
                    const std::string& amplitude = "100", const std::string& average = "4");
  // The next prompt: connects `device` (when not empty), does `also`, then
  // presses Continue, or Cancel when go_on is false.
  void AnswerPrompt(const std::string& device, bool go_on = true,
                    std::function<void()> also = nullptr);
  // The box asking for the standard resistor's value (empty: Cancel).
  void AnswerRstd(const std::string& ohms);
  void AnswerBox(int button, const std::string& caption);
  // Everything after the standard-resistor pass: no Port B, save with a
  // comment to `file` in the folder (empty: cancel the file dialog), the
  // summary of the file read back.
  void AnswerSave(const std::string& comment, const std::string& file);

  // The answers of a whole band calibration from start to stop MHz, saved
  // to `file`.
  void AnswerBandCal(const std::string& start, const std::string& stop, const std::string& step,
                     const std::string& file);

  // Runs CalA as the Calibrate menu's band 2 entry does, within a time limit.
  void RunBandCal();
  void RunStandardCal();

  // ---- While a pass runs ----
  // Calls act once, at the first PumpEvents where ready() holds.
  static void OnPump(std::function<bool()> ready, std::function<void()> act);
  // Acts once the given pass (0 short, 1 open, 2 standard resistor) has
  // stored its first point: Halt through the main window, or silence.
  static std::function<void()> DuringPass(int pass, std::function<void()> act);
  static void PressHalt();

  // The message boxes shown since the logs were cleared, by caption.
  std::vector<std::string> Captions() const;
  // No answer went to a box or dialog it was not meant for, and every
  // answer was used.
  void ExpectScriptFollowed();
  // A picture of an open window under build/test_images/.
  static void KeepPicture(Window& win, const std::string& name);

  testing::TempDir dir;

 private:
  testing::ScopedEnv program_dir_;
};

// The impedance the simulator's devices present.
struct KnownLoad {
  const char* device;
  double r, x;
};

}  // namespace vna::test
