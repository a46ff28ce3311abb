// The version query against replies the simulator never sends: keys in
// another case or missing, the fixed-clock firmware, damaged and cut replies.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "files/settings.h"
#include "instrument/scripted_port.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/version.h"
#include "platform/clock.h"
#include "platform/serial.h"
#include "platform/testhook.h"
#include "shell/state.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

class VersionQuery : public ScriptedLink {
 protected:
  void SetUp() override {
    model_uhf = model7306 = two_osc = has_temp = sync_allowed = 0;
    freq_offset1 = freq_offset2 = 0;
    ScriptedLink::SetUp();
  }

  void Query(const std::string& reply, int detect = 1) {
    port_.Answer('V', 1, reply);
    GetVersion(detect);
  }

  // version.txt belongs in the program folder, not in the folder the program
  // was started from.
  testing::TempDir dir_{true}, program_dir_;
  testing::ScopedEnv program_env_{"VNA_PROGRAM_DIR", program_dir_.path()};
};

TEST_F(VersionQuery, TwoMultiplierModelWithEveryKeyInAnyCase) {
  Query("VNA UHF DDSCLK1=50.00000 ddsclk2=50.00100 Dfr1=00a1b2 TEMP cpuclk=16@");
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(model_uhf, 1);
  EXPECT_EQ(model7306, 0);
  EXPECT_EQ(two_osc, 1);
  EXPECT_EQ(OSC, 1);
  EXPECT_DOUBLE_EQ(ddsclk1, 50);
  EXPECT_DOUBLE_EQ(ddsclk2, 50.001);
  EXPECT_DOUBLE_EQ(DDS_Clk, 50);
  EXPECT_DOUBLE_EQ(dds_clk4, 12.5);
  EXPECT_DOUBLE_EQ(freq_offset1, 0xa1b2 * 1e-8);
  EXPECT_DOUBLE_EQ(freq_offset2, 0xa1b2 * 1e-8);
  EXPECT_DOUBLE_EQ(FreqOffset, freq_offset1);
  EXPECT_EQ(has_temp, 1);
  EXPECT_EQ(sync_allowed, 1);
  EXPECT_EQ(version_reply, "vna uhf ddsclk1=50.00000 ddsclk2=50.00100 dfr1=00a1b2 temp cpuclk=16@");
  EXPECT_EQ(msg_text, "vna uhf ddsclk1=50.00000 ddsclk2=50.00100 dfr1=00a1b2 temp ");
  EXPECT_EQ(number_decimals, 3);
  EXPECT_EQ(port_.Received(), "V");
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(VersionQuery, ReplyWithoutOffsetIsTheSingleDdsModelWithItsParsedClocks) {
  freq_offset1 = 0.125;
  Query("junk vna uhf ddsclk1=50.00000 ddsclk2=50.00100 temp@");
  EXPECT_EQ(model_uhf, 0);
  EXPECT_EQ(model7306, 1);
  EXPECT_DOUBLE_EQ(ddsclk1, 50);
  EXPECT_DOUBLE_EQ(ddsclk2, 50.001);
  EXPECT_DOUBLE_EQ(freq_offset1, 0.125);  // kept
  EXPECT_DOUBLE_EQ(freq_offset2, 0.125);
  EXPECT_EQ(msg_text.back(), '@');  // no "cpuclk": the version text keeps its "@"
}

// Without either model's mark and without an offset the reply is the
// single-DDS model that keeps its parsed clock: all eight characters of it.
TEST_F(VersionQuery, ClockTakesEightCharactersAfterItsKey) {
  Query("vna ver 1.0 ddsclk=123.45678 temp@");
  EXPECT_EQ(model7306, 1);
  EXPECT_DOUBLE_EQ(ddsclk1, 123.4567);
  EXPECT_DOUBLE_EQ(ddsclk2, 123.4567);
  EXPECT_DOUBLE_EQ(DDS_Clk, 123.4567);
}

TEST_F(VersionQuery, Model7306RunsAtItsOwnClock) {
  Query("vna7306 ddsclk=48.00000 dfr1=000010@");
  EXPECT_EQ(model7306, 1);
  EXPECT_EQ(model_uhf, 0);
  EXPECT_DOUBLE_EQ(ddsclk1, 100);
  EXPECT_DOUBLE_EQ(ddsclk2, 100);
  EXPECT_DOUBLE_EQ(DDS_Clk, 100);
  EXPECT_EQ(has_temp, 0);
}

TEST_F(VersionQuery, FixedClockFirmwareOverridesClocksButNotTheClockInUse) {
  Query("vna uhf ver 7.32 ddsclk1=51.00000 dfr1=000100@");
  EXPECT_DOUBLE_EQ(ddsclk1, 50);
  EXPECT_DOUBLE_EQ(ddsclk2, 49.152);
  EXPECT_DOUBLE_EQ(freq_offset1, 0.00254291);
  EXPECT_DOUBLE_EQ(freq_offset2, 0.00258679);
  EXPECT_DOUBLE_EQ(DDS_Clk, 51);
}

TEST_F(VersionQuery, ValidReplyWritesTheVersionFile) {
  Query("vna uhf ddsclk1=50.00000 dfr1=000001@");
  EXPECT_FALSE(std::ifstream("version.txt").good()) << "written into the current folder";
  const std::string text = program_dir_.Read("version.txt");
  size_t lines = 0;
  for (size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
  EXPECT_EQ(lines, 6u);
  EXPECT_NE(text.find("\r\nfile date="), std::string::npos);
  EXPECT_NE(text.find("\r\nprog date="), std::string::npos);
  EXPECT_NE(text.find("\r\nController data: vna uhf ddsclk1=50.00000 dfr1=000001@\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\ncomm port= 7\r\nbaud rate= 57600\r\n"), std::string::npos);
}

// Replies that must leave the program in demonstration mode as the
// two-multiplier model, whatever came before.
TEST_F(VersionQuery, UnusableRepliesGiveDemonstrationMode) {
  struct Case {
    const char* reply;
    int status;
  };
  const Case cases[] = {
      {"", 10137},                                       // silence
      {"vna uhf ddsclk1=50.00000 dfr1=000001", 10137},   // no "@": cut short
      {"hello@", 0},                                     // no "vna"
      {"vna ddsclk=50.00000 dfr1=000001 temp@", 10137},  // names neither model
      {"vna uhf ddsclk1=00000000 dfr1=000001@", 10137},  // a clock of 0
      {"vna uhf dfr1=000001@", 10137},                   // no clock at all
  };
  for (const Case& c : cases) {
    model_uhf = 0;
    model7306 = 1;
    vna_present = 1;
    sync_allowed = 0;
    Query(c.reply);
    EXPECT_EQ(comm_ok, 0) << c.reply;
    EXPECT_EQ(vna_present, 0) << c.reply;
    EXPECT_EQ(model_uhf, 1) << c.reply;
    EXPECT_EQ(model7306, 0) << c.reply;
    EXPECT_EQ(vna_status, c.status) << c.reply;
    EXPECT_EQ(msg_text, "  Demo mode Zelmar ") << c.reply;
    EXPECT_EQ(sync_allowed, 0) << c.reply;
    // OpenCommPort does nothing in demonstration mode; the test reopens.
    vna_present = 1;
    SerialClose(hcom);
    OpenCommPort();
  }
  EXPECT_EQ(program_dir_.Read("version.txt"), "");
}

TEST_F(VersionQuery, LinkTestWithoutDetection) {
  Query("Hello@", 0);
  EXPECT_EQ(comm_ok, -1);
  EXPECT_EQ(vna_present, 1);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(msg_text, "xxx  hello@");

  model_uhf = 0;
  Query("VNA UHF whatever@", 0);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(msg_text, "vna uhf whatever@");
  EXPECT_EQ(model_uhf, 0);  // no detection
  EXPECT_EQ(version_reply, "");
}

TEST_F(VersionQuery, SilenceEndsAfterTwoHundredMilliseconds) {
  const uint64_t t0 = TickMs64();
  Query("", 0);
  const uint64_t ms = TickMs64() - t0;
  EXPECT_EQ(comm_ok, 0);
  EXPECT_EQ(vna_status, 10137);
  EXPECT_EQ(msg_text, " Check VNA DC power and comm cable");
  EXPECT_EQ(trace_label, "xxx  ");
  EXPECT_GE(ms, 200u);
  EXPECT_LT(ms, 1000u);
}

// The original waits compared 32-bit tick counts and hung at their wrap after
// 49.7 days of uptime; the query must end in time across it.
TEST_F(VersionQuery, SilenceEndsInTimeAcrossTheTickWrap) {
  const uint64_t now = TickMs64();
  const uint64_t wrap = (now / 0x100000000ull + 1) * 0x100000000ull;
  SetTickOffset(wrap - 100 - now);
  const uint32_t t0 = TickCount32();
  const uint64_t start = TickMs64();
  Query("", 1);
  const uint64_t ms = TickMs64() - start;
  const uint32_t t1 = TickCount32();
  SetTickOffset(0);
  EXPECT_LT(t1, t0);  // the 32-bit count did wrap during the wait
  EXPECT_GE(ms, 200u);
  EXPECT_LT(ms, 1000u);
  EXPECT_EQ(comm_ok, 0);
  EXPECT_EQ(vna_present, 0);
}

// Window events handled while the query waits may outlast the instrument's
// answer: a reply that came meanwhile is read, not taken for a silent port.
TEST_F(VersionQuery, AReplyThatCameWhileEventsWereHandledIsRead) {
  port_.Answer('V', 1, "");  // answered from within the wait instead
  bool answered = false;
  testhook::SetPumpHook([&] {
    if (answered) return;
    answered = true;
    port_.Send("vna uhf ddsclk1=50.00000 dfr1=00a1b2@");
    SetTickOffset(1000);  // the events took the first byte's 200 ms and more
  });
  GetVersion(1);
  testhook::SetPumpHook(nullptr);
  SetTickOffset(0);
  ASSERT_TRUE(answered);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_present, 1);
  EXPECT_DOUBLE_EQ(freq_offset1, 0xa1b2 * 1e-8);
}

// On a busy machine the query's 1 ms wait can last several, which the port
// counts as empty reads owed before it looks again; the one read the query
// makes after its deadline still looks, and takes the reply waiting there.
TEST_F(VersionQuery, TheReadAfterTheDeadlineLooksAtThePortWhateverEarlierWaitsOwe) {
  port_.Answer('V', 1, "");  // answered from within the wait instead
  static bool busy;
  busy = true;
  SetSerialWaitHook([] {
    if (!busy) return;
    busy = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // the first wait lasts 11 ms
  });
  bool answered = false;
  testhook::SetPumpHook([&] {
    if (answered) return;
    answered = true;
    port_.Send("vna uhf ddsclk1=50.00000 dfr1=00a1b2@");
    SetTickOffset(1000);  // past the first byte's 200 ms
  });
  GetVersion(1);
  testhook::SetPumpHook(nullptr);
  SetSerialWaitHook(nullptr);
  SetTickOffset(0);
  ASSERT_FALSE(busy);
  ASSERT_TRUE(answered);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_present, 1);
  EXPECT_DOUBLE_EQ(freq_offset1, 0xa1b2 * 1e-8);
}

}  // namespace
}  // namespace vna
