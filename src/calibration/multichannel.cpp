#include "calibration/multichannel.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "calibration/cal_file.h"
#include "calibration/cal_port_a.h"
#include "calibration/cal_port_b.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"
#include "tools/state.h"

namespace vna {

int day_number = 0;

namespace {

constexpr int kChannels = 6;
constexpr int kMaxCycles = 8;

std::string TwoDigits(int n) {
  return std::string(1, static_cast<char>('0' + (n / 10) % 10)) +
         static_cast<char>('0' + n % 10);
}

void SelectChannel(int chan) {
  mux_select = chan;
  mux_chan = chan;
  ExternalPort();
}

}  // namespace

void GetDayNumber() {
  const LocalTime t = NowLocal();
  const int yy = t.year % 100;
  msg_text = TwoDigits(yy) + TwoDigits(t.month) + TwoDigits(t.day);
  day_number = (yy + 2000) + 30 * (t.month - 1) + t.day;
}

int CleaningCycles(int today, int last, int count) {
  return std::min(std::abs(today - last) / 2 + count, kMaxCycles);
}

void CleanRelays(int count) {
  GetDayNumber();
  const int cycles = CleaningCycles(day_number, Mux_Cal, count);
  Mux_Cal = day_number;
  scan_running = 1;
  for (int k = 0; k < cycles && scan_running != 0; ++k) {
    for (int chan = 1; chan <= kChannels && scan_running != 0; ++chan) {
      SelectChannel(chan);
      DelayMs(500);
      PumpEvents();  // Halt clears scan_running
    }
  }
  scan_running = 0;
}

void CalMultiChannel() {
  mux_chan = 1;
  indep_chan = 5;
  PortB_cal = 0;
  FocusForm(main_win);
  focus_win = 1;
  SetTextColor(main_win, Magenta);
  MoveTo(main_win, 100, 100);
  PrintText(main_win, "   CLEANING RELAY CONTACTS...    ");
  CleanRelays(1);
  MoveTo(main_win, 100, 100);
  PrintText(main_win, std::string(81, ' '));
  SetTextColor(main_win, Black);

  mux_chan = 1;
  CalA();
  bool go_on = PortB_cal == 1;
  int done = go_on ? 1 : 0;
  const std::string finish = "\r\n\r\n   Click 'NO' to finish the cal procedure.";
  for (int chan = 2; chan <= kChannels && go_on; ++chan) {
    mux_chan = chan;
    mux_select = chan;
    ExternalPort();
    const std::string n = std::to_string(chan);
    std::string line = " Be sure Line " + n + " is connected to MUX Chan " + n + ".";
    if (chan == 4) line += " ";
    if (MsgBox(&main_win, line + finish, " Chan " + n + " ", kMbYesNo, kIconNone, true) !=
        kIdYes) {
      go_on = false;
      break;
    }
    if (chan == indep_chan) {
      MsgBox(&main_win, "This channel is not referenced to channel 1.", " Independent channel",
             kMbOk, kIconNone, true);
    }
    CalB();
    go_on = PortB_cal == 1;
    if (go_on) ++done;
    // A channel whose Port B calibration failed is written too, with no
    // Port B data, so no older file of the channel stays behind.
    SaveCalFile();
  }
  if (done != 0) {
    MsgBox(&main_win, " Multichannel cal for" + NumStr(done) + " channels is complete.",
           " Multichan Cal Complete", kMbOk, kIconNone, true);
  }
  if (mux_chan != 0) mux_chan = 1;
}

}  // namespace vna
