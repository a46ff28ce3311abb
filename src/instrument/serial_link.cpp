#include "instrument/serial_link.h"

#include <cstdint>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/draw.h"
#include "platform/events.h"
#include "platform/serial.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

constexpr int kEchoGreen = Rgb(0, 225, 0);

// The diagnostic echo of one command on the main graph: the line before it in
// red, this one in green.
void EchoCommand(const std::string& text, int n) {
  std::string echo = text.empty() ? "=" : std::string(1, text[0]) + "=";
  for (int k = 0; k < n; ++k) {
    const unsigned char b = k < static_cast<int>(text.size()) ? text[k] : 0;
    echo += HexDigits(b, 2) + ", ";
  }
  const std::string line = "Trace Data: " + echo;
  FillRect(main_win, graph_left + 5, graph_bottom - 50, (graph_right - 5) - (graph_left + 5), 48,
           White);
  SetTextColor(main_win, RedColor);
  MoveTo(main_win, graph_left + 15, graph_bottom - 25);
  PrintItems(main_win, {"previous: " + prev_trace});
  SetTextColor(main_win, kEchoGreen);
  MoveTo(main_win, graph_left + 15, graph_bottom - 45);
  PrintItems(main_win, {"next data: " + line + "  -----------------------"});
  prev_trace = line;
  SetTextColor(main_win, Black);
}

// One open at baudrate and one version query, as each step of CheckComm does.
void QueryAt(int baud) {
  baudrate = baud;
  OpenCommPort();
  DelayMs(30);
  GetVersion(0);
}

}  // namespace

std::string HexDigits(long long v, int width) {
  std::string s = HexText(v);
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
  return s;
}

std::string CommPortName(int port) {
  // NumStr gives a whole number with one leading blank; the name has none.
  return "\\\\.\\COM" + NumStr(port).substr(1);
}

void OpenCommPort() {
  if (vna_present == 0) return;
  SerialClose(hcom);
  const std::string name = CommPortName(commport);
  hcom = SerialOpenPort(commport);
  comm_port_busy = hcom == kInvalidPort && SerialLastOpenBusy() ? 1 : 0;
  if (hcom == kInvalidPort) {
    SetTextColor(main_win, RedColor);
    MoveTo(main_win, 20, 10);
    PrintItems(main_win, {"Could not open " + name + "    hcom= ", hcom, std::string(24, ' ')});
    DelayMs(500);
    port_status = 0;
  } else {
    // The platform reads the present settings, applies ours twice and reports
    // the second application, as the instrument's drivers need.
    const SerialSetup setup = SerialSetLine(hcom, baudrate);
    if (setup != SerialSetup::kUnreadable) {
      SetTextColor(main_win, Black);
      MoveTo(main_win, 20, 10);
      PrintItems(main_win, {name + " port open"});
      if (setup == SerialSetup::kSecondApplyFailed) {
        SetTextColor(main_win, RedColor);
        MoveTo(main_win, 20, 30);
        PrintItems(main_win, {std::string(28, ' ')});
        DelayMs(200);
      }
      SerialRaiseRts(hcom);  // a pseudo-terminal has no RTS line: that is fine
    }
    port_status = 1;
  }
  DelayMs(100);
}

void CheckComm() {
  QueryAt(kBaudLow);
  const int first_ok = comm_ok;
  if (highbaud == 0) return;
  msg_text = std::string("C") + '\x05';
  SendData(msg_text, 2);  // the instrument moves to 115000 baud
  DelayMs(30);
  QueryAt(kBaudHigh);
  // Only when 57600 answered properly and 115000 did not is the low speed
  // worth going back to; without any instrument the link stays at 115000.
  if (comm_ok < 1 && first_ok > 0) QueryAt(kBaudLow);
}

void SendData(const std::string& text, int n) {
  if (main_loop_on > 0 && DIAGMODE > 0 && (trace_serial > 0 || monitor_trace > 0)) {
    EchoCommand(text, n);
  }
  bytes_written = SerialWrite(hcom, text, n);
}

void WriteDirect(const std::string& bytes) {
  bytes_written = SerialWrite(hcom, bytes, static_cast<int>(bytes.size()));
}

int ReadOneByte(int expected, int patience) {
  uint8_t b = 0;
  const int r = SerialReadByte(hcom, b, expected, patience);
  if (r == 1) {
    rx_byte[0] = b;
    rx_byte[1] = 0;
    bytes_read = 1;
    return 1;
  }
  bytes_read = 0;
  port_status = 0;
  return 0;
}

int ReadReplyBytes(int expected, int empty_limit) {
  if (expected > kRxBufSize) expected = kRxBufSize;
  int count = 0, empty = 0;
  while (count < expected && empty <= empty_limit) {
    // Nothing is let through while a reply is read, so the port may spend
    // all the empty reads left in one wait.
    if (ReadOneByte(expected - count, empty_limit + 1 - empty) == 1) {
      rx_buf[count++] = rx_byte[0];
      // The rest the port already holds, at once rather than a call a byte;
      // the last of them stays in rx_byte as if read on its own.
      uint8_t held[kRxBufSize];
      const int more = SerialTakeHeld(hcom, held, expected - count);
      for (int i = 0; i < more; ++i) rx_buf[count++] = held[i];
      if (more > 0) rx_byte[0] = held[more - 1];
    } else {
      ++empty;
    }
  }
  return count;
}

}  // namespace vna
