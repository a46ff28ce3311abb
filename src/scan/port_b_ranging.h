// Port B gain autoranging and level-dependent averaging: a point whose load
// signal lies outside the ADC's comfortable range is read again at another
// gain (and on the single-DDS model another RF sensitivity) until it fits,
// with the phase jump of every gain step carried as an offset so that the
// S21 phase stays continuous; and the averaging count follows the level of
// the transmission when the averaging is not fixed.
#pragma once

#include <functional>

namespace vna {

// Load levels (half the peak-to-peak ADC span) that need no gain change.
constexpr int kLoadLevelLow = 500;
constexpr int kLoadLevelHigh = 28000;
// Above this load magnitude the overload notice is printed.
constexpr double kOverloadMag = 30000;

// Half the peak-to-peak span of the load-channel ADC samples of the last read.
int LoadLevel();

// Phase jump carried over the gain steps of the running Port B scan, radians:
// 0 when the point loop starts and after every sensitivity switch.
extern double gain_phase_offset;

// Autoranging of one point, after its first read succeeded. `reread` reads
// the point again after a gain change (the scan: ProgGain, 2 ms,
// ReadPoint_B). Leaves PortB_Gain and PortB_Sens where the level fits (or
// at the end of the range) and gain_phase_offset with every step's jump
// added (each within +-pi). A re-read that fails (vna_status not 0) ends
// the ranging there, its status kept.
void AutorangePoint(const std::function<void()>& reread);

// " Port B Overload at ..." in the main window when MagLoad exceeds 30000.
void OverloadNotice();

// Averaging counts of the level-dependent averaging for a weight:
// 8w, 16w, 32w and 64w, rounded halves to even.
struct AveragingLevels {
  int a8 = 8, a16 = 16, a32 = 32, a64 = 64;
};
AveragingLevels AveragingLevelsFor(double weight);
// The averaging count the point's S21 level s21db asks for, given the count
// n in force; n when no change is due.
int LevelAveraging(const AveragingLevels& levels, double s21db, int n);

}  // namespace vna
