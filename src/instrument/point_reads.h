// Port A and Port B point reads: the port selection around Send_Freq, the
// repeat after a multiplier change, the Port A smoothing during a scan, and
// the Port A gain switch of the gain check.
#pragma once

namespace vna {

// One Port A (reflection) point at freq; flags as Send_Freq. Returns 0.
int ReadPoint_A(int flags);
// One Port B (transmission) point at freq; flags as Send_Freq. Returns 0.
int ReadPoint_B(int flags);
// Port A gain step 5 when n is above 1, else 1, then the gain command.
int SetGainA(int n);

}  // namespace vna
