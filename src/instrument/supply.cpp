#include "instrument/supply.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "files/settings.h"
#include "files/state.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/point_reads.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr double kNoTemperature = 76.543;
constexpr double kNoSupply = 12.345;
constexpr int kTempEmptyLimit = 10000;  // gives up at the 10001st empty read
constexpr int kBattEmptyLimit = 5000;
constexpr int kDriftLogMs = 5000;

bool OutOfRange(int low, int high) {
  return dc_voltage <= low || dc_voltage > high;
}

void PrintAt(int x, int y, const TextItems& items) {
  MoveTo(main_win, x, y);
  PrintItems(main_win, items);
}

}  // namespace

double TemperatureFromRaw(int raw, bool two_multiplier_model) {
  const double v = raw * 3.2 / 4096;
  const double c = two_multiplier_model ? (v / 1.181 - 0.349) * 100 : (v - 0.986) / 0.00355;
  return (c + 40) * (9.0 / 5) - 40;
}

double SupplyFromRaw(int raw) {
  return std::fabs(raw / 215.0) + batt_offset;
}

void ReadTemperature() {
  if (vna_present != 1 || has_temp != 1) {
    temperature_F = kNoTemperature;
    vna_status = 34515;
    return;
  }
  port_status = -1;
  raw_valid = 0;
  vna_status = 0;
  const std::string cmd = model_uhf == 1 ? "ZU" : "ZT";
  SendData(cmd, 2);
  if (ReadReplyBytes(2, kTempEmptyLimit) < 2) {
    msg_text = " Check VNA power and comm cable.";
    if (!api_busy) {
      MsgBox(&main_win, " No data from VNA.\r" + msg_text, " Comm Port Problem 2951", kMbOk);
    }
    vna_status = 34516;
    return;
  }
  temperature_F = TemperatureFromRaw(rx_buf[0] * 256 + rx_buf[1], model_uhf == 1);
  if (DIAGMODE) PrintAt(graph_right - 100, 5, {" Temp= ", temperature_F, " degF  "});
}

void GetBattV() {
  if (vna_present == 0) {
    dc_voltage = kNoSupply;
    return;
  }
  port_status = -1;
  raw_valid = 0;
  SendData("B", 1);
  if (ReadReplyBytes(2, kBattEmptyLimit) < 2) {
    msg_text = " Check Tarvo power and comm cable.";
    MsgBox(&main_win, " No data from Tarvo.\r" + msg_text, " Batt Voltage Data Error", kMbOk);
    vna_status = 171;
    dc_voltage = kNoSupply;
    return;
  }
  dc_voltage = SupplyFromRaw(rx_buf[0] * 256 + rx_buf[1]);
  if (dc_voltage < 3 || dc_voltage > 22) dc_voltage = kNoSupply;
  if (dc_voltage < min_dc_voltage) min_dc_voltage = dc_voltage;
}

void CheckDCVoltage(int low, int high, int mode) {
  if (vna_present == 0) {
    dc_voltage = kNoSupply;
    return;
  }
  int result = 0;
  // A reading out of range is read again, twice at most; only the last counts.
  GetBattV();
  if (OutOfRange(low, high)) GetBattV();
  if (OutOfRange(low, high)) GetBattV();
  if (dc_voltage > high) {
    if (mode == 1) {
      WriteDirect("Q");
      MsgBox(&main_win,
             "WARNING: The DC supply voltage is too high.\rMeasured Internal voltage > " +
                 NumStr(dc_voltage) + "\rUpper Limit = " + NumStr(high) +
                 " V\r\r***** THE POWER HAS BEEN TURNED OFF *****",
             " WARNING: HIGH DC VOLTAGE ", kMbOk);
    }
    result = 19;
  } else if (dc_voltage <= low) {
    MsgBox(&main_win,
           "WARNING: DC supply voltage is low. \r\nReading = " + NumStr(dc_voltage) +
               "\r\nMin Limit = " + NumStr(low),
           " Low voltage", kMbOk);
    result = 13;
  }
  vna_status = result;
}

void TemperatureDrift() {
  PrintAt(100, 100, {1, "   Temp Drift Test    "});
  DDS_Amplitude = 100;
  smoothing = 0;
  InitFreqPlan();
  SelectOsc(1);
  AverageADC(256);
  tdr_mode = 0;

  const uint64_t start = TickMs64();
  SetDigits(4);
  DDSAmplitude(DDS_Amplitude);
  PortB_Gain = 1;
  PortB_Sens = 1;
  PortA_Sens = 1;
  ProgGain();
  relayA = relayB = 1;
  hw_reset_prompt = 1;
  ProgRelay(3);

  freq = 101;
  ReadPoint_A(0);
  const double load0 = MagLoad, ref0 = MagRef;

  scan_running = 1;
  // Without the log file the test still runs and shows its lines on screen.
  const bool logging = OpenTextFile(data_file, "_Zelmar_TemperatureDrift.txt", "W") == 0;
  bool first = true;
  uint64_t last_log = 0;
  while (scan_running == 1) {
    ReadPoint_A(0);
    const uint64_t now = TickMs64();
    if (first || now - last_log > kDriftLogMs) {
      first = false;
      ReadTemperature();
      last_log = now;
      SetDigits(1);
      std::string line = NumStr((now - start) / 1000.0) + " " + NumStr(temperature_F) + " " +
                         NumStr(MagLoad) + " " + NumStr(MagRef);
      SetDigits(4);
      line += " " + NumStr(MagLoad / load0 - 1) + " " + NumStr(MagRef / ref0 - 1) + " " +
              NumStr(MagLoad / MagRef - 1) + "   Zload=" + NumStr(point_Rs) + "+j" +
              NumStr(point_Xs);
      if (logging) WriteText(data_file, line);
      PrintAt(100, 500, {"   " + line + "       //72332       "});
    }
    PumpEvents();
  }
  ProgRelay(0);
  if (logging) CloseTextFile(data_file);
  PrintAt(100, 140, {1, "   End of Test     "});
}

}  // namespace vna
