#include "instrument/version.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "files/settings.h"
#include "files/state.h"
#include "graph/text_panels.h"
#include "instrument/freq_plan.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/serial.h"
#include "platform/ui.h"
#include "scan/state.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr int kFirstByteMs = 200;  // wait for the first byte of the reply
constexpr int kNextByteMs = 100;   // wait after each further byte
// A device that keeps sending without ever ending a reply (a wrong port)
// gets no more than this, however fast or slowly its bytes come: a version
// reply is about a hundred bytes, which take 20 ms at 57600 baud.
constexpr int kMostReplyMs = 2000;
constexpr size_t kMostReplyBytes = 512;
constexpr int kNoReplyStatus = 10137;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool Has(const std::string& text, const char* key) {
  return text.find(key) != std::string::npos;
}

// The `count` characters right after the key. A key that is missing counts as
// found at position 0, as the instrument's older firmware relied on.
std::string After(const std::string& text, const std::string& key, size_t count) {
  size_t pos = text.find(key);
  if (pos == std::string::npos) pos = 0;
  pos += key.size();
  return pos < text.size() ? text.substr(pos, count) : std::string();
}

// Six hexadecimal digits of an offset, lower-case letters, accumulated as the
// instrument writes them.
double HexValue(const std::string& digits) {
  double v = 0;
  for (unsigned char c : digits) v = v * 16 + (c < 97 ? c - 48 : c - 87);
  return v;
}

// What a reply tells, gathered before anything global changes so that a reply
// the program cannot use leaves the previous model untouched.
struct Identity {
  int model_uhf = 0, model7306 = 0, two_osc = 0, has_temp = 0;
  double ddsclk1 = 0, ddsclk2 = 0, dds_clk = 0;
  double offset1 = 0, offset2 = 0;
};

Identity Identify(const std::string& text) {
  Identity id;
  id.model_uhf = Has(text, "uhf") ? 1 : 0;
  id.model7306 = Has(text, "vna7306") ? 1 : 0;
  if (id.model_uhf) {
    id.ddsclk1 = ParseNumber(After(text, "ddsclk1=", 8));
    id.ddsclk2 = id.ddsclk1;
    if (Has(text, "ddsclk2=")) {
      id.ddsclk2 = ParseNumber(After(text, "ddsclk2=", 8));
      id.two_osc = 1;
    }
  } else {
    id.ddsclk1 = ParseNumber(After(text, "ddsclk=", 8));
    id.ddsclk2 = id.ddsclk1;
  }
  if (id.model7306) id.ddsclk1 = id.ddsclk2 = 100;
  id.dds_clk = id.ddsclk1;
  id.has_temp = Has(text, " temp") ? 1 : 0;
  id.offset1 = freq_offset1;
  if (Has(text, "dfr1=")) {
    id.offset1 = HexValue(After(text, "dfr1=", 6)) * 1e-8;
  } else {
    // Only the single-DDS model leaves its offset out, whatever else it says.
    id.model_uhf = 0;
    id.model7306 = 1;
  }
  id.offset2 = Has(text, "dfr2=") ? HexValue(After(text, "dfr2=", 6)) * 1e-8 : id.offset1;
  if (Has(text, "ver 7.32")) {  // firmware with fixed clock data
    id.ddsclk1 = 50;
    id.ddsclk2 = 49.152;
    id.offset1 = 0.00254291;
    id.offset2 = 0.00258679;
  }
  return id;
}

// A reply that names neither model, or whose clocks are not usable, would
// leave the program without a frequency range or dividing by a zero clock.
bool Usable(const Identity& id) {
  if (id.model_uhf == 0 && id.model7306 == 0) return false;
  for (double clk : {id.ddsclk1, id.ddsclk2, id.dds_clk}) {
    if (!(clk > 0) || !std::isfinite(clk)) return false;
  }
  return true;
}

// Reads the reply into trace_label. True when it ended with "@".
bool ReadReply() {
  const uint64_t start = TickMs64();
  const uint64_t last = start + kMostReplyMs;
  uint64_t deadline = start + kFirstByteMs;
  bool late = false;
  for (size_t received = 0;;) {
    if (ReadOneByte(1, late ? 1 : 0) == 1) {
      trace_label += static_cast<char>(rx_byte[0]);
      deadline = TickMs64() + kNextByteMs;
      late = false;
      if (rx_byte[0] == '@') return true;
      if (++received >= kMostReplyBytes || TickMs64() > last) return false;
      continue;
    }
    if (late) return false;
    // A port that is not open answers at once: wait the empty read's
    // millisecond here so the 200 ms are not spent spinning.
    if (SerialIsOpen(hcom)) {
      PumpEvents();
    } else {
      DelayMs(1);
    }
    // The events just handled may have taken longer than the instrument: past
    // the deadline, one more read, the last, looks at the port (whatever
    // earlier waits still owe) and takes a byte that came meanwhile before
    // the reply counts as missing.
    late = TickMs64() > std::min(deadline, last);
  }
}

void PrintAt(int x, int y, const TextItems& items) {
  MoveTo(main_win, x, y);
  PrintItems(main_win, items);
}

void ShowReplyCodes(const std::string& text) {
  const std::string head = text.substr(0, 20);
  MoveTo(main_win, 100, 400);
  for (unsigned char c : head) PrintItems(main_win, {static_cast<int>(c)});
  MoveTo(main_win, 100, 420);
  for (char c : head) PrintItems(main_win, {std::string(1, c) + " "});
}

void ShowClocks() {
  SetDigits(9);
  PrintAt(300, 170, {" DDS_Clk1 =", ddsclk1, "    Delta Freq1 = ", freq_offset1, "     "});
  PrintAt(300, 190, {" DDS_Clk2 =", ddsclk2, "    Delta Freq2 = ", freq_offset2, "     "});
}

void ShowReplyText(const std::string& text) {
  PrintAt(100, 50, {"Data from controller: "});
  const size_t dds = text.find("dds");
  if (dds == std::string::npos || dds < 50) {
    PrintAt(100, 65, {text});
  } else {
    PrintAt(100, 65, {"  " + text.substr(0, dds) + "    "});
    PrintAt(110, 80, {"  " + text.substr(dds) + "     "});
  }
}

// In the program folder, beside the init file: never in whatever folder the
// program happened to be started from.
void WriteVersionFile() {
  file_name = ProgramFolder() + "version.txt";
  DrawDateStamp();
  if (OpenTextFile(data_file, file_name, "W") != 0) {
    MsgBox(&main_win,
           "The file named: version.txt  \rhas the Read-Only bit set.\r"
           "This bit should be cleared before running the program.\r\r"
           "Make sure the Read-Only bit for ALL the files in \rthe VNA folder is NOT set.",
           "", kMbOk, kIconNone, true);
    return;
  }
  WriteText(data_file, "VNA controller identification");
  WriteText(data_file, "file date=" + scan_stamp);
  WriteText(data_file, "prog date=" + prog_date);
  WriteText(data_file, "Controller data: " + version_reply);
  WriteText(data_file, "comm port=" + NumStr(commport));
  WriteText(data_file, "baud rate=" + NumStr(baudrate));
  CloseTextFile(data_file);
}

void EnterDemoMode() {
  msg_text = "  Demo mode Zelmar ";
  vna_present = 0;
  comm_ok = 0;
  model_uhf = 1;
  model7306 = 0;
  identified_reply.clear();
}

void Detect() {
  const Identity id = Identify(msg_text);
  if (!Usable(id)) {
    // Treated as no reply at all, so the program runs as the demonstration
    // two-multiplier model with its full frequency range.
    vna_status = kNoReplyStatus;
    EnterDemoMode();
    return;
  }
  version_reply = msg_text;
  identified_reply = msg_text;
  if (DIAGMODE) ShowReplyCodes(version_reply);
  model_uhf = id.model_uhf;
  model7306 = id.model7306;
  two_osc = id.two_osc;
  OSC = 1;
  ddsclk1 = id.ddsclk1;
  ddsclk2 = id.ddsclk2;
  DDS_Clk = id.dds_clk;  // a fixed-clock firmware's clocks reach it with the next SelectOsc
  dds_clk4 = DDS_Clk / 4;
  has_temp = id.has_temp;
  freq_offset1 = id.offset1;
  freq_offset2 = id.offset2;
  FreqOffset = freq_offset1;
  if (DIAGMODE) ShowClocks();
  SetDigits(3);
  sync_allowed = 1;
  WriteVersionFile();
  if (size_t cut = msg_text.find("cpuclk"); cut != std::string::npos) msg_text.resize(cut);
  if (DIAGMODE) ShowReplyText(version_reply);
}

}  // namespace

void GetVersion(int detect) {
  SetTextColor(main_win, Black);
  port_status = -1;
  raw_valid = 0;
  msg_text = "V";
  SendData(msg_text, 1);
  trace_label = "xxx  ";
  rx_byte[0] = rx_byte[1] = 0;
  version_reply.clear();

  const bool ended = ReadReply();
  msg_text = Lower(trace_label);
  if (size_t pos = msg_text.find("vna"); pos != std::string::npos) msg_text.erase(0, pos);
  comm_ok = 0;
  if (ended) comm_ok = msg_text.compare(0, 3, "vna") == 0 ? 1 : -1;
  if (comm_ok != 0) {
    vna_present = 1;
    vna_status = 0;
  } else {
    trace_label = msg_text;
    msg_text = " Check VNA DC power and comm cable";
    vna_status = kNoReplyStatus;
  }

  if (detect > 0) {
    if (comm_ok == 1) {
      Detect();
    } else {
      EnterDemoMode();
    }
  }
  InitFreqPlan();
}

}  // namespace vna
