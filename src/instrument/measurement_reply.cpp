#include "instrument/measurement_reply.h"

#include <cmath>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "instrument/commands.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

int ReplyWordSum(const int* bytes) {
  int sum = 0;
  for (int j = 0; j < 35; ++j) sum += 256 * bytes[2 * j] + bytes[2 * j + 1];
  return sum;
}

bool ReplyChecksumOk(const int* bytes) {
  return ReplyWordSum(bytes) % 65536 == 256 * bytes[70] + bytes[71];
}

int ReplyAdcWord(const int* bytes, int k) {
  return 256 * bytes[4 + 2 * k] + bytes[5 + 2 * k];
}

int32_t ReplyTuningWord(const int* bytes) {
  uint32_t w = 0;
  for (int i = 0; i < 4; ++i) w = w * 256 + static_cast<uint32_t>(bytes[i] & 255);
  return static_cast<int32_t>(w);
}

void SetReplyChecksum(int* bytes) {
  int sum = ReplyWordSum(bytes) % 65536;
  bytes[70] = sum / 256;
  bytes[71] = sum % 256;
}

namespace {

const char kCr[] = "\r";

}  // namespace

void HardwareResetBox() {
  hw_reset_said = 1;
  std::string text =
      " A data error has occured on comm port" + NumStr(commport) + "." + kCr +
      "Freq = " + NumStr(freq) + " Turn the VNA power off and back on to reset." + kCr + kCr +
      " If this problem persists, check the USB driver associated with port" + NumStr(commport) +
      "." + kCr + kCr + "        Click Abort to close the program.";
  if (MsgBox(&main_win, text, " Hardware Reset", kMbAbortRetryIgnore, kIconNone, true) ==
      kIdAbort) {
    main_loop_on = 0;  // the main loop ends and the application exits
    vna_present = 0;   // until then it runs without the instrument
  }
}

namespace {

// A word at the top of the ADC range at the lowest gain step: the RF input is
// overdriven. Both relays go off to protect it and the scan stops.
void OverloadReaction() {
  raw_valid = 0;  // before ProgRelay: its retune must not analyse a half-unpacked reply
  relayA = 0;
  relayB = 0;
  hw_reset_prompt = 0;
  ProgRelay(0);
  scan_running = 0;
  recycle_on = 0;
  vna_status = kStatusOverload;
  std::string text = std::string("OVERLOAD at the RF Input.") + "\r\n" + "Freq=" + NumStr(freq) +
                     " PortB_on=" + NumStr(PortB_on) + "  PortB_gain=" + NumStr(PortB_Gain) +
                     "  PortA_gain=" + NumStr(PortA_Gain);
  MsgBox(&main_win, text, "  RF INPUT OVERLOAD ", kMbOk, kIconNone, true);
}

bool AtLowestGain() {
  return PortB_on > 0 ? PortB_Gain < 2 : PortA_Gain < 2;
}

void NoReferenceCheck() {
  if (!(ADCdata[1] < 10 && freq > 10 && CalinProgress == 0)) return;
  MoveTo(main_win, 40, 20);
  PrintItems(main_win, {"*** No Reference signal at ", freq, " MHz      "});
  vna_status = kStatusNoReference;
  if (DIAGMODE > 0 && scan_running > 0) {
    MoveTo(main_win, 150, 300);
    PrintItems(main_win, {"  ADC data error in Get_Raw_Data  freq=", freq});
    for (int i = 1; i <= 15; ++i) {
      MoveTo(main_win, 150, 300 + 20 * i);
      PrintItems(main_win, {"ADC[" + NumStr(i) + "]=" + NumStr(ADCdata[i]) + "  "});
    }
  }
}

}  // namespace

void UnpackReply() {
  // Every word is tested, but one reply is one overload: the reaction (the
  // relays off, the box) comes once, after the words are unpacked.
  bool overloaded = false;
  for (int k = 0; k < kReplyAdcWords; ++k) {
    ADCdata[k] = adc_scale * ReplyAdcWord(rx_buf, k);
    // The filler of a calibration's missing reply is no reading: its words
    // scaled up would pass for an overload.
    if (ADCdata[k] > 65500 && AtLowestGain() && vna_status != kStatusNoDataCal) overloaded = true;
  }
  if (overloaded) OverloadReaction();
  double w = ReplyTuningWord(rx_buf);
  double reported = model_uhf == 0 ? w * osc_freq / dds_scale : w * DDS_Clk * dds_mult1 / dds_scale;
  if (std::abs(reported - freq) <= 0.005 && freq_comp != 0) freq = reported / freq_comp;
}

int Get_Raw_Data(int resend) {
  if (vna_present != 0) {
    vna_status = 0;
    hw_reset_said = 0;
    int tries = 0;
    const int limit = average >= 130 ? 1000 : 500;
    do {
      raw_valid = 1;
      port_status = -1;
      if (resend > 0) {
        for (int i = 0; i < kReplyBytes; ++i) rx_buf[i] = -1, ADCdata[i] = -1;
        WriteDirect("R");  // without the trace echo
      }
      if (ReadReplyBytes(kReplyBytes, limit) < kReplyBytes) {
        if (CalinProgress == 0) {
          SetTextColor(main_win, RedColor);
          // On the text line above the graph, not across two of them, in the
          // graph's font.
          SetFont(main_win, "arial", font_size + 1, font_weight);
          MoveTo(main_win, 20, line1_y);
          PrintItems(main_win, {"  === No data from I/O port. ===        "});
          // A read that found the instrument gone has said so already, and
          // the program runs on without it: no reset to offer.
          if (hw_reset_prompt != 0 && vna_present != 0) HardwareResetBox();
          vna_status = kStatusNoData;
          return 0;  // the scan goes on; the fit works on the words still held
        }
        for (int i = 0; i < kReplyBytes; ++i) rx_buf[i] = i + 1;
        vna_status = kStatusNoDataCal;
      } else {
        vna_status = 0;
      }

      const int sum = ReplyWordSum(rx_buf);
      if (sum == 0) raw_valid = 0;  // an all-zero reply is never analysed
      if (CalinProgress > 0 || sum % 65536 == 256 * rx_buf[70] + rx_buf[71]) {
        port_status = 1;
      } else {
        raw_valid = 0;
        ++tries;
        resend = 1;
        PrintItems(main_win, {"  retry:", tries});
      }
      // Only a reply whose checksum held reaches ADCdata: a damaged one would
      // pass for the point's data.
      if (port_status == 1) UnpackReply();
    } while (port_status < 1 && tries < 5);

    if (port_status < 1 && tries >= 5) {
      SetTextColor(main_win, RedColor);
      MoveTo(main_win, 20, 10);
      PrintItems(main_win, {"  === Bad data from I/O port. ===        "});
      vna_status = kStatusBadChecksums;
    }
  }

  // After five damaged replies ADCdata holds the blanks of the last resend
  // request, not samples: testing them would report a missing reference.
  if (vna_status != kStatusBadChecksums) NoReferenceCheck();

  if (vna_status > 0 || port_status == 0) {
    raw_valid = 0;
    scan_running = 0;
    recycle_on = 0;
  }
  return 0;
}

}  // namespace vna
