// Opening the port, the diagnostic echo and the empty-read loop.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "files/settings.h"
#include "graph/state.h"
#include "instrument/scripted_port.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "shell/state.h"
#include "support/wakeups.h"

namespace vna {
namespace {

std::string PrintedAt(int x, int y) {
  std::string out;
  for (const auto& p : testhook::Prints()) {
    if (p.window == "main_win" && p.x == x && p.y == y) out += p.text;
  }
  return out;
}

class SerialLink : public ::testing::Test {
 protected:
  void SetUp() override {
    vna_present = 1;
    baudrate = 57600;
    testhook::ClearLogs();
  }
  void TearDown() override {
    SerialClose(hcom);
    hcom = kInvalidPort;
  }
};

TEST_F(SerialLink, PortNumberMakesTheDeviceNameWithoutBlank) {
  EXPECT_EQ(CommPortName(12), "\\\\.\\COM12");
  EXPECT_EQ(CommPortName(8), "\\\\.\\COM8");
}

TEST_F(SerialLink, OpenFailureIsShownInRedAndWaits) {
  testing::ScopedEnv no_device("VNA_COM12", "/nonexistent/vna-port");
  commport = 12;
  const uint64_t t0 = TickMs64();
  OpenCommPort();
  EXPECT_GE(TickMs64() - t0, 600u);  // 500 ms after the message, 100 ms after every open
  EXPECT_EQ(hcom, kInvalidPort);
  EXPECT_EQ(port_status, 0);
  EXPECT_EQ(PrintedAt(20, 10), "Could not open \\\\.\\COM12    hcom= -1 " + std::string(24, ' '));
}

TEST_F(SerialLink, OpenSuccessAtTheChosenSpeed) {
  testing::ScriptedPort port(12);
  commport = 12;
  baudrate = 115000;
  OpenCommPort();
  ASSERT_NE(hcom, kInvalidPort);
  EXPECT_EQ(port_status, 1);
  EXPECT_EQ(SerialBaud(hcom), 115000);
  EXPECT_EQ(PrintedAt(20, 10), "\\\\.\\COM12 port open");
  // Reopening closes the old handle first.
  const int first = hcom;
  OpenCommPort();
  EXPECT_FALSE(SerialIsOpen(first));
  EXPECT_TRUE(SerialIsOpen(hcom));
}

TEST_F(SerialLink, DemonstrationModeLeavesThePortAlone) {
  vna_present = 0;
  hcom = kInvalidPort;
  OpenCommPort();
  EXPECT_EQ(hcom, kInvalidPort);
  EXPECT_TRUE(testhook::Prints().empty());
}

TEST_F(SerialLink, SendDataWritesZeroBytesAndEchoesInDiagnosticMode) {
  testing::ScriptedPort port(3);
  commport = 3;
  OpenCommPort();
  main_loop_on = 1;
  DIAGMODE = 1;
  trace_serial = 1;
  graph_left = 100;
  graph_bottom = 400;
  graph_right = 800;
  prev_trace = "";
  testhook::ClearLogs();
  SendData(std::string("C") + '\x05', 2);
  SendData(std::string("A\x08") + '\0', 3);
  DelayMs(50);
  EXPECT_EQ(port.Received(), std::string("C\x05", 2) + std::string("A\x08\0", 3));
  EXPECT_EQ(PrintedAt(115, 355),
            "next data: Trace Data: C=43, 05,   -----------------------"
            "next data: Trace Data: A=41, 08, 00,   -----------------------");
  EXPECT_EQ(PrintedAt(115, 375), "previous: previous: Trace Data: C=43, 05, ");
  EXPECT_EQ(prev_trace, "Trace Data: A=41, 08, 00, ");

  // No echo before the main loop runs, whatever the trace switches say.
  main_loop_on = 0;
  testhook::ClearLogs();
  SendData("V", 1);
  EXPECT_TRUE(testhook::Prints().empty());
  DIAGMODE = 0;
  trace_serial = 0;
}

TEST_F(SerialLink, ReadLoopGivesUpAfterItsEmptyReads) {
  testing::ScriptedPort port(4);
  commport = 4;
  OpenCommPort();
  port_status = -1;
  const uint64_t t0 = TickMs64();
  const long w0 = test::ThreadWakeups();
  EXPECT_EQ(ReadReplyBytes(2, 100), 0);
  EXPECT_GE(TickMs64() - t0, 90u);           // each empty read takes about a millisecond
  EXPECT_LE(test::ThreadWakeups() - w0, 3);  // but the wait is taken in one piece
  EXPECT_EQ(port_status, 0);

  port.Answer('B', 1, "\x0a\x01\x02");
  SendData("B", 1);
  EXPECT_EQ(ReadReplyBytes(2, 1000), 2);
  EXPECT_EQ(rx_buf[0], 10);
  EXPECT_EQ(rx_buf[1], 1);
  EXPECT_EQ(ReadReplyBytes(1, 1000), 1);  // the extra byte waits for the next reader
  EXPECT_EQ(rx_buf[0], 2);
}

// A wait that outlasts its time on a busy machine owes the empty reads it
// lasted, and they come before the port is looked at again; the reader's
// last read still looks, and takes the reply that came meanwhile.
TEST_F(SerialLink, TheLastReadOfAReplyLooksAtThePortWhateverEarlierWaitsOwe) {
  testing::ScriptedPort port(4);
  commport = 4;
  OpenCommPort();
  static testing::ScriptedPort* far_end;
  far_end = &port;
  // The first wait (4 ms, the reader's whole patience) lasts 10 ms longer,
  // and the reply arrives meanwhile.
  SetSerialWaitHook([] {
    if (far_end == nullptr) return;
    far_end->Send("\x0a\x01");
    far_end = nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  });
  port_status = -1;
  const int got = ReadReplyBytes(2, 3);
  SetSerialWaitHook(nullptr);
  ASSERT_EQ(far_end, nullptr);
  EXPECT_EQ(got, 2);
  EXPECT_EQ(rx_buf[0], 10);
  EXPECT_EQ(rx_buf[1], 1);
}

}  // namespace
}  // namespace vna
