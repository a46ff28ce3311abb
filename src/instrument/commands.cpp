#include "instrument/commands.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/info_panel.h"
#include "graph/state.h"
#include "instrument/frequency_programming.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/dialogs.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// Command letters followed by byte values (zero bytes included).
std::string Bytes(const char* letters, std::initializer_list<int> values) {
  std::string s = letters;
  for (int v : values) s += static_cast<char>(static_cast<unsigned char>(v));
  return s;
}

void Send(const std::string& cmd) {
  SendData(cmd, static_cast<int>(cmd.size()));
}

bool LinkLive() {
  return live_data == 1 && vna_present == 1;
}

// Port B gain bytes of the two-multiplier model for gain steps 1..5.
constexpr int kUhfPortBGain[] = {30, 28, 16, 4, 0};

// Beyond 0..100 the code would leave the DAC's range; a negative one would
// not even be four hexadecimal digits.
double AmplitudePercent(double percent) {
  if (std::isnan(percent) || percent < 0) return 0;
  return percent > 100 ? 100 : percent;
}

}  // namespace

void ProgRelay(int code) {
  if (!LinkLive()) return;
  scan_extra_value = 0;
  hw_reset_prompt = 1;
  const int cal_in_progress = CalinProgress;
  if (code == 0) {
    relayA = relayB = 0;
    hw_reset_prompt = 0;
  } else if (code == 3) {
    relayA = relayB = 1;
  } else {
    if (code & 1) relayA = 1;
    if (code & 2) relayB = 1;
  }
  relay_state = code;
  Send(Bytes("K", {40 + 2 * relayB + relayA}));
  DelayMs(5);
  int power = hw_reset_prompt == 1 ? 3 : 0;
  if (vna_test_open == 0 && full_current_mode > 0) {
    // In normal current mode the instrument is parked at the relay frequency
    // with both DDS outputs on.
    const double kept = freq;
    if (relay_freq > 99 || relay_freq < 2) relay_freq = 3.075;
    freq = relay_freq;
    CalinProgress = 1;
    Send_Freq(1);
    CalinProgress = 0;
    freq = kept;
    power = 3;
    DelayMs(15);
  }
  DDSPower(power);
  DelayMs(model_uhf == 1 ? 20 : 100);
  CalinProgress = cal_in_progress;
}

void DDSPower(int n) {
  if (!LinkLive()) return;
  Send(Bytes("K", {168 + n}));
  DelayMs(5);
}

int AmplitudeCode(double percent) {
  const int code = Rnd(AmplitudePercent(percent) * 1023 / 100 + 0.5);
  return code > 1023 ? 1023 : code;
}

void DDSAmplitude(double percent) {
  if (!(vna_present > 0)) return;
  percent = AmplitudePercent(percent);
  if (percent == last_dds_amp) return;
  DDS_Amplitude = percent;
  last_dds_amp = percent;
  Send("M" + HexDigits(AmplitudeCode(percent), 4));
  DelayMs(20);
}

void ProgGain() {
  int m = 1;
  gain_factor_A = 1;
  if (PortA_Gain > 1) {
    gain_factor_A = PortA_HiGain;
    m = 2;
  }
  int a_byte = 4 * m, b_byte = 0;
  if (model_uhf == 1) {
    if (PortB_Gain >= 1 && PortB_Gain <= 5) b_byte = kUhfPortBGain[PortB_Gain - 1];
  } else {
    a_byte = 4 * m + PortA_Sens + 64 * sig_select;
    b_byte = PortB_Sens | (4 * PortB_Gain);
  }
  Send(Bytes("A", {a_byte, b_byte}));
  if (DIAGMODE) {
    SetDigits(2);
    MoveTo(main_win, graph_mid_x, graph_bottom + 10);
    PrintItems(main_win, {"Bsens=", PortB_Sens, " Bgain=", PortB_Gain,
                          " PortA Gain=", gain_factor_A, "  //7827   "});
    SetDigits(3);
  }
  // Steps outside 1..5 have no measured factor: keep the unity step's.
  const int step = PortB_Gain >= 1 && PortB_Gain <= 5 ? PortB_Gain : 1;
  gain_factor_B = RngGain[step];
  if (model_uhf != 1 && PortB_Sens == 2) gain_factor_B = 4 * gain_factor_B;
  freq_changed = 1;
  DelayMs(5);
}

void AverageADC(int n, bool quiet) {
  if (n > 256 || n < 1) n = 1;
  const int code = n == 256 ? 200 : n;
  average = n;
  if (LinkLive()) Send(Bytes("J", {n > 1 ? code : 1}));
  if (!quiet) InfoPanel(1);
  if (n < 2) {
    adc_scale = 16;
  } else if (n <= 4) {
    adc_scale = 4;
  } else if (n <= 8) {
    adc_scale = 2;
  } else {
    adc_scale = 1;
  }
  vna_status = 0;
}

void RestoreAveraging(int n, bool quiet) {
  const int status = vna_status;
  AverageADC(n, quiet);
  vna_status = status;
}

void SelectOsc(int n) {
  if (two_osc == 0) return;
  int byte = 1;
  if (n == 1) {
    DDS_Clk = ddsclk1;
    FreqOffset = freq_offset1;
    freq_comp = freq_comp1;
  } else {
    DDS_Clk = ddsclk2;
    FreqOffset = freq_offset2;
    freq_comp = freq_comp2;
    byte = 2;
  }
  OSC = n;
  Send(Bytes("O", {byte}));
  DelayMs(10);
  dds_clk4 = DDS_Clk / 4;
  if (DIAGMODE) SetDigits(3);
}

void SetAutoPowerDown(int on) {
  if (vna_present == 0) return;
  if (vna_status > 0) vna_status = 0;
  WriteDirect(on != 0 ? "D1" : "D0");
}

void PowerOff() {
  if (MsgBox(&main_win, "Do you want to turn off the DC power?", " Power Off", kMbYesNo) !=
      kIdYes) {
    return;
  }
  Send(Bytes("Q", {97, 229}));
  MsgBox(&main_win, "***** THE POWER HAS BEEN TURNED OFF *****", " Power Off ", kMbOk);
}

void LogicTest() {
  if (MsgBox(&main_win,
             "This will start an infinite scope loop to test the logic lines.\r\n\r\n"
             "Do you want to continue?",
             " Logic Test", kMbYesNo) != kIdYes) {
    return;
  }
  WriteDirect("ZD");
  MsgBox(&main_win, "Unplug the power to stop the loop", " Power down reset", kMbOk);
}

void ExternalPort() {
  if (vna_present == 0) return;
  port_status = -1;
  raw_valid = 0;
  sync_count = 0;  // a pending sync of the exports is dropped
  extport_b2 = mux_select & 7;
  if (extport_analog != 0) extport_b2 |= 128;
  // Each data value travels plus 1; the third is always 0.
  Send(Bytes("L", {extport_b1 + 1, extport_b2 + 1, 1}));
  if (ReadReplyBytes(2, 5000) < 2) {
    msg_text = " Check VNA power and comm cable.";
    MsgBox(&main_win, " No data from VNA. \r" + msg_text, " Comm Port Problem 3742", kMbOk);
    vna_status = 10;
    return;
  }
  extport_value = rx_buf[0] * 256 + rx_buf[1];
  if (extport_b2 & 128) {
    extport_volts = extport_value * 3.3 / 4096;
    extport_text = NumStr(extport_volts) + " V";
  } else {
    extport_text = "0x" + HexText(extport_value);
  }
}

void ResetInstrument() {
  if (vna_present == 0) return;
  freq = 1;
  DDSAmplitude(100);
  relayA = relayB = 0;
  ProgRelay(0);
  PortA_Gain = 1;
  PortB_Gain = 1;
  PortA_Sens = 2;
  PortB_Sens = 1;
  ProgGain();
  InfoPanel(0);
  Send_Freq(1);
}

void ShowMuxDialog() {
  ShowModeless(dlg_mux, &main_win);
}

void ResetLoopCounter() {
  Send(Bytes("Y", {37, 100, 41, 99, 26, 127}));
  DelayMs(5);
}

}  // namespace vna
