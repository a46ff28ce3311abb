// The check of a Port A calibration just measured, with the standard
// resistor still attached.
#pragma once

namespace vna {

// Reads the standard resistor, corrected with the new tables, halfway between
// neighbouring calibration points (every interval up to 100 points, then
// about every hundredth, at most 102 readings) in the " Cal Data Test"
// window, and warns once when the resistance is off by more than
// freq x 0.01 + 5 percent: the largest error up to the first failing point
// and that point's frequency. A reading that fails ends the test without a
// verdict, its vna_status left for the caller. cal_test_count counts the
// readings; CalinProgress is as before.
void TestCalData();

}  // namespace vna
