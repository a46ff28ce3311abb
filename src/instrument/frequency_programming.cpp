#include "instrument/frequency_programming.h"

#include <algorithm>
#include <cmath>

#include "calibration/correct_a.h"
#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/freq_plan.h"
#include "instrument/impedance.h"
#include "instrument/measurement_reply.h"
#include "instrument/serial_link.h"
#include "instrument/sine_fit.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr double kTwoTo32 = 4294967296.0;

// Nothing could be programmed: the point fails like a point without a reply.
void ReportNotProgrammed() {
  vna_status = kStatusNotProgrammed;
  raw_valid = 0;
  scan_running = 0;
  recycle_on = 0;
}

bool UsableClock(double mhz) {
  return std::isfinite(mhz) && mhz > 0;
}

// Offset (MHz) that moves a scan point off a spur centre of the single-DDS
// model: within 0.01 MHz of a centre it is programmed 0.01 MHz further away,
// downward at or below the centre, upward above it.
double SpurOffset(double f) {
  static const double kLow[] = {50, 80, 100};
  static const double kHigh[] = {125, 150, 160, 200};
  double offset = 0;
  auto test = [&](double c) {
    if (c - 0.01 < f && f <= c) offset = -0.01;
    if (c < f && f < c + 0.01) offset = 0.01;
  };
  if (f < 120) {
    for (double c : kLow) test(c);
  } else {
    for (double c : kHigh) test(c);
  }
  return offset;
}

void OutOfRangeBox(double shown_freq) {
  MsgBox(&main_win,
         "Freq is out of range:" + NumStr(shown_freq) + "MHz   mults= " + NumStr(dds_mult1) + "," +
             NumStr(dds_mult2),
         " Freq out of range", kMbOk, kIconNone, true);
}

void LowFrequencyListing() {
  SetDigits(6);
  MoveTo(main_win, 100, 100);
  PrintItems(main_win, {"Error in data from VNA. Freq < 0.001"});
  for (int i = 0; i <= 15; ++i) {
    MoveTo(main_win, 100, 120 + 20 * i);
    PrintItems(main_win,
               {"  Freq= ", freq, "   ADCdata[", i, "]=", ADCdata[i], "   //733432 Send_FreqUHF "});
  }
  SetDigits(3);
}

}  // namespace

double ProgrammableFreq(double f) {
  if (!(f >= min_freq)) return min_freq;  // not-a-number too
  // Before the model is known there is no upper limit to keep; the lookup
  // index and the tuning words have their own bounds.
  if (maximumfreq > min_freq && f > maximumfreq) return maximumfreq;
  return f;
}

double FoldNyquist(double x, bool& out_of_range) {
  out_of_range = false;
  if (!(x >= 0.5)) return x;
  const double zone = std::floor(2 * x);
  if (zone >= 9) {
    out_of_range = true;
    return x;
  }
  const double half = std::floor((zone + 1) / 2);  // zones 1,2 -> 1; 3,4 -> 2; ...
  return static_cast<int>(zone) % 2 == 1 ? half - x : x - half;
}

uint32_t RatioWord(double x) {
  const int64_t w = Rnd64(x * kTwoTo32);
  if (w >= 2147483648LL) return 0x7FFFFFFFu;
  if (w < 0) return ~static_cast<uint32_t>(static_cast<int32_t>(w));
  return static_cast<uint32_t>(w);
}

bool ValidMultiplierPair(int mult1, int mult2) {
  return mult1 >= 5 && mult1 <= 20 && mult2 >= 5 && mult2 <= 20;
}

int Send_Freq(int flags) {
  const double caller_freq = freq;
  freq = ProgrammableFreq(freq);
  SelectOscBand();
  flags &= 127;
  freq_changed = 1;
  if (model_uhf != 0) SendFreqUHF(flags);
  if (model7306 != 0) SendFreqVHF(flags);
  AnaRawDat();
  RawImpedance();
  if (flags == 0) {
    if (PortB_on != 0) {
      CorrectB();
    } else {
      CorrectA();
    }
  }
  CalcRho(point_Rs, point_Xs);
  freq = caller_freq;
  return 0;
}

int MeasureAtFreq() {
  if (freq < 0.002) {
    MsgBox(&main_win, "Freq=" + NumStr(freq), " 892131", kMbOk, kIconExclamation, false);
  }
  return Send_Freq(0);
}

int SendFreqVHF(int flags) {
  if (vna_present < 1 && DIAGMODE < 1) {
    recycle_on = 0;
    return 0;
  }
  freq = ProgrammableFreq(freq);
  if (!UsableClock(osc_freq)) {
    ReportNotProgrammed();
    return 0;
  }
  const int remembered_average = average;
  const double offset = scan_running != 0 ? SpurOffset(freq) : 0;
  hw_reset_prompt = 1;
  if (freq < 0.1) {
    AverageADC(64, true);
  } else if (freq < 0.2 && average < 16) {
    AverageADC(16, true);
  }

  // Below half the clock: a word from 2^31 up would be an alias, not the
  // frequency asked for.
  const double x = (freq + offset) * freq_comp / osc_freq;
  int64_t word = Rnd64(x * kTwoTo32 + 0.5);
  if (word < 0) word = 0;
  if (word > 0x7FFFFFFF) word = 0x7FFFFFFF;
  const std::string digits = HexDigits(word, 8);

  if (flags == 0) {
    std::string command(1, transmission_mode != 0 ? 'T' : 'U');
    command += static_cast<char>((DDSdelay + 1) & 255);
    command += digits;
    SendData(command, 10);
    Get_Raw_Data(0);
  } else {
    SendData("G" + digits, 9);
  }

  if (average != remembered_average) RestoreAveraging(remembered_average, true);
  return 0;
}

int SendFreqUHF(int flags) {
  const double remembered = freq;
  freq = ProgrammableFreq(freq);
  settle_ms = DDSdelay;
  if ((flags & 4) == 0) {
    int index = RndDown(freq);
    if (index < 0) index = 0;
    if (index >= kFreqTableSize) index = kFreqTableSize - 1;
    const int code = freq_mult_table[index];
    dds_mult1 = code / 32;
    dds_mult2 = code & 31;
    if (code != mult_code) {
      mult_code = code;
      new_mults = 1;
      if (MyVar3 < 0.5) mult_changed = 1;
      settle_ms += 20;
      if (!ValidMultiplierPair(dds_mult1, dds_mult2)) {
        MsgBox(&main_win, " Invalid multipliers= " + NumStr(code), " Error 2711", kMbOk,
               kIconExclamation, false);
        scan_running = 0;
      }
    }
  }
  if (freq < 548 && gain_factor_A > 2) {
    PortA_Gain = 1;
    ProgGain();
  }
  Send_FreqUHF(flags & 1);
  freq = remembered;
  return 0;
}

int Send_FreqUHF(int flags) {
  const double remembered = freq;
  freq = ProgrammableFreq(freq);
  // A pair outside 5..20 or a clock of 0 would put a division by zero or a
  // malformed multiplier byte on the wire: nothing is sent.
  if (!ValidMultiplierPair(dds_mult1, dds_mult2) || !UsableClock(DDS_Clk)) {
    ReportNotProgrammed();
    freq = remembered;
    return 0;
  }

  int remembered_average = 0;
  if (freq < 0.02 && average < 64) {
    remembered_average = average;
    AverageADC(64);
  } else if (freq < 0.05 && average < 16) {
    remembered_average = average;
    AverageADC(16);
  }
  SetDigits(3);
  FreqOffset = freq_offset1;
  const double f1 = freq * freq_comp;
  const double f2 = (freq + FreqOffset) * freq_comp;

  int mode = (flags & 1) != 0 ? 2 : 1;
  if (new_mults != 0) mode += 4;
  new_mults = 0;
  const int mult_byte = 16 * (dds_mult1 - 5) + (dds_mult2 - 5);
  // The settling time has five bits; a longer one (a long DDSdelay plus the
  // 20 ms of a multiplier change) must not spill into the Port B flag, or
  // the instrument measures the wrong port.
  int settle_byte = std::clamp(settle_ms, 0, 31) | 1;
  if (PortB_on == 1) settle_byte |= 32;

  bool out_of_range = false;
  const double x1 = FoldNyquist(f1 / (DDS_Clk * dds_mult1), out_of_range);
  if (out_of_range) OutOfRangeBox(f1);
  const uint32_t word1 = RatioWord(x1);
  const double x2 = FoldNyquist(f2 / (DDS_Clk * dds_mult2), out_of_range);
  if (out_of_range) OutOfRangeBox(freq);
  const uint32_t word2 = RatioWord(std::abs(x2));

  std::string command;
  command.reserve(20);  // one allocation for the whole command
  command += 'E';
  command += static_cast<char>(mode);
  command += static_cast<char>(mult_byte);
  command += static_cast<char>(settle_byte & 255);
  command += HexDigits(word1, 8);
  command += HexDigits(word2, 8);

  if (DIAGMODE > 0 && scan_running == 0) {
    MoveTo(main_win, graph_left + 25, 5);
    PrintItems(main_win, {" Raw freq= ", word1 / kTwoTo32 * DDS_Clk * dds_mult1, "    //38532"});
  }
  // Without an identified instrument the second DDS's offset is not known:
  // it would run at the first one's frequency. Nothing goes out, as in
  // demonstration mode without a port, and no answer is waited for.
  const bool identified = vna_present > 0;
  if (identified) SendData(command, 20);

  if (flags == 0) {
    Get_Raw_Data(0);
    if (freq < 0.001 && DIAGMODE > 0) LowFrequencyListing();
  } else if (identified) {
    ReadReplyBytes(1, 1000);  // the one-byte acknowledgement, into rx_buf[0]
  }
  if (remembered_average > 0) RestoreAveraging(remembered_average, false);
  freq = remembered;
  return 0;
}

}  // namespace vna
