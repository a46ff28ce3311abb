#include "shell/tool_tips.h"

#include "shell/state.h"
#include "shell/windows.h"

namespace vna {

namespace {

struct Tip {
  int ctl_id;
  const char* text;  // every line ends with CR LF, the last one too
};

const Tip kTips[] = {
    {20192, " Alternate between Ports A/B \r\n"},
    {20821, " Average readings at each data point 1x to 256x\r\n"},
    {20822, " DDS settling time (msec) after changing the freq\r\n"},
    {20823, " Smooth data based on average of N successive points.\r\n"},
    {20824,
     " Line extension from RF Port A.\r\n"
     " Compensate for adapters and short cables.\r\n"
     " Extension is a lossless section with its own impedance.\r\n"
     " Velocity factor can be left at 1 if you are only\r\n"
     " interested in the effective electrical length.\r\n"
     " Unit of length defaults to cm.\r\n"
     " Units can also be: m (meters), i (inches), f (feet)\r\n"
     " Length can be negative.\r\n"},
    {20825,
     " Zref=impedance used for reference for SWR\r\n"
     " and Return Loss measurements.\r\n"
     " It can be any number, real or complex (R +/- jX).\r\n"
     " It does not affect the calibration.\r\n"},
};

constexpr int kTipWidth = 500;
constexpr int kTipDelayMs = 1000;  // the automatic times: shown after 1 s, for 10 s

}  // namespace

void SetToolTips() {
  if (tooltips_on == 1) {
    for (const Tip& t : kTips) AddToolTip(main_win, t.ctl_id, t.text, kTipWidth);
  }
  ActivateToolTips(main_win, tooltips_on == 1);
  SetToolTipDelays(main_win, kTipDelayMs);
}

}  // namespace vna
