#include "instrument/point_reads.h"

#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/frequency_programming.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "scan/smoothing.h"
#include "scan/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

void SetRefLoadRatio() {
  ref_load_ratio = MagRef * raw_Z0 / (MagLoad + 1);
}

}  // namespace

int ReadPoint_A(int flags) {
  if (freq < 0.002) {
    MsgBox(&main_win, "freq=" + NumStr(freq), " 82321", kMbOk, kIconExclamation, false);
  }
  PortB_on = 0;
  Send_Freq(flags);
  // A failed reading is not repeated: it would fail (and say so) again. The
  // multiplier change stays pending for the next reading.
  if (mult_changed != 0 && vna_status == 0) {
    // Read the point again after the multiplier change; the 8/9 pair reaches
    // the instrument only when flags keep the pair (bit 2).
    const int m1 = dds_mult1, m2 = dds_mult2;
    dds_mult1 = 8;
    dds_mult2 = 9;
    Send_Freq(flags);
    dds_mult1 = m1;
    dds_mult2 = m2;
    Send_Freq(flags);
    mult_changed = 0;
  }
  if (smoothing > 0 && scan_running > 0) SmoothA();
  SetRefLoadRatio();
  return 0;
}

int ReadPoint_B(int flags) {
  PortB_on = 1;
  Send_Freq(flags);
  if (mult_changed != 0 && vna_status == 0) {
    Send_Freq(flags);
    mult_changed = 0;
  }
  SetRefLoadRatio();
  return 0;
}

int SetGainA(int n) {
  PortA_Gain = n > 1 ? 5 : 1;
  ProgGain();
  return 0;
}

}  // namespace vna
