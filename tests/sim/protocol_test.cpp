// The simulator answers every command of the protocol with exactly its bytes:
// framed by length, checksummed, at the right line speed, in each power state.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "session.h"

namespace vna::test {
namespace {

struct Expect {
  std::string command;
  size_t reply;  // bytes answered
};

// Writes every command in one go and checks the answers' lengths, that the
// log framed each command on its own line, and that nothing was refused.
void CheckBatch(SimSession& s, const std::vector<Expect>& batch, std::vector<uint8_t>& replies) {
  s.sim.Mark("batch");
  std::string all;
  size_t expected = 0;
  for (const Expect& e : batch) {
    all += e.command;
    expected += e.reply;
  }
  s.port.Write(all);
  replies = s.port.Read(expected);
  EXPECT_EQ(replies.size(), expected);
  EXPECT_TRUE(s.port.Drain(80).empty()) << "more bytes than the commands answer";
  const auto framed = s.sim.CommandsSince("batch");
  ASSERT_EQ(framed.size(), batch.size());
  for (size_t i = 0; i < batch.size(); ++i) {
    EXPECT_EQ(std::string(framed[i].begin(), framed[i].end()), batch[i].command) << i;
  }
  EXPECT_EQ(s.sim.Status("protocolerrors"), "0") << s.sim.StderrText();
}

TEST(SimProtocol, VersionTextsParseAsBothModels) {
  struct Case {
    std::vector<std::string> args;
    bool uhf, temp;
  };
  for (const Case& c : std::vector<Case>{{{"--model", "uhf"}, true, true},
                                         {{"--model", "uhf", "--no-temp"}, true, false},
                                         {{"--model", "7306"}, false, true},
                                         {{"--model", "7306", "--no-temp"}, false, false}}) {
    SimSession s(c.args);
    const VersionData& v = s.version;
    SCOPED_TRACE(s.Version());
    EXPECT_TRUE(v.valid);
    EXPECT_EQ(v.uhf, c.uhf);
    EXPECT_EQ(v.model7306, !c.uhf);
    EXPECT_EQ(v.temp, c.temp);
    if (c.uhf) {
      EXPECT_TRUE(v.two_osc);
      EXPECT_DOUBLE_EQ(v.clk1, 50.0);
      EXPECT_GT(v.clk2, 40.0);
      EXPECT_NE(v.clk2, v.clk1);
      EXPECT_GT(v.offset1, 0.0);
      EXPECT_LT(v.offset1, 0.01);
    } else {
      EXPECT_DOUBLE_EQ(v.clk1, 100.0);
    }
  }
}

TEST(SimProtocol, EveryCommandOfTheTwoMultiplierModelIsFramedAndAnswered) {
  SimSession s({"--model", "uhf"});
  const std::string version = s.Version();
  const double off = s.version.offset1;
  // Argument bytes that look like commands: J 'V', L with 'V', hex digits B and E.
  const std::vector<Expect> batch = {
      {Bytes({'K', 43}), 0},
      {Bytes({'K', 171}), 0},
      {"M03FF", 0},
      {Bytes({'A', 8, 0}), 0},
      {Bytes({'A', 4, 30}), 0},
      {Bytes({'J', 'V'}), 0},
      {Bytes({'O', 2}), 0},
      {Bytes({'O', 1}), 0},
      {Bytes({'L', 16, 'V', 1}), 2},
      {"D1", 0},
      {"D0", 0},
      {"ZU", 2},
      {"Z2", 0},
      {"B", 2},
      {Bytes({'Y', 37, 100, 41, 99, 26, 127}), 0},
      {UhfCommand(100, 14, 13, 5, 2, false, off), 72},
      {UhfCommand(500, 14, 13, 2, 2, false, off), 1},
      {UhfCommand(500, 14, 13, 1, 2, true, off), 72},
      {"R", 72},
      {"V", version.size()},
  };
  std::vector<uint8_t> r;
  CheckBatch(s, batch, r);
  ASSERT_EQ(r.size(), 2 + 2 + 2 + 72 + 1 + 72 + 72 + version.size());
  const auto reply_at = [&](size_t at) {
    return std::vector<uint8_t>(r.begin() + at, r.begin() + at + 72);
  };
  const ReplyData first = ParseReply(reply_at(6)), second = ParseReply(reply_at(79));
  const ReplyData resent = ParseReply(reply_at(151));
  for (const ReplyData& d : {first, second, resent}) EXPECT_EQ(d.checksum, d.sum);
  EXPECT_EQ(first.readback, 0x24924925u);  // word 1 of the command
  EXPECT_EQ(reply_at(151), reply_at(79)) << "R resends the last reply";
  EXPECT_EQ(std::string(r.end() - version.size(), r.end()), version);
  EXPECT_EQ(s.sim.Status("relays"), "3");
  EXPECT_EQ(s.sim.Status("mux"), "5");  // 'V' - 1 = 85: channel 5, digital
  EXPECT_EQ(s.sim.Status("loopresets"), "1");
  EXPECT_EQ(s.sim.Status("syncs"), "1");
  EXPECT_EQ(s.sim.Status("avg"), "86");
}

TEST(SimProtocol, EveryCommandOfTheSingleDdsModelIsFramedAndAnswered) {
  SimSession s({"--model", "7306"});
  const std::string version = s.Version();
  const std::vector<Expect> batch = {
      {Bytes({'K', 41}), 0},
      {Bytes({'K', 168}), 0},
      {"M0200", 0},
      {Bytes({'A', 134, 14}), 0},
      {Bytes({'J', 200}), 0},
      {Bytes({'L', 16, 132, 1}), 2},
      {"D0", 0},
      {"ZT", 2},
      {"Z2", 0},
      {"B", 2},
      {Bytes({'Y', 37, 100, 41, 99, 26, 127}), 0},
      {VhfCommand('U', 10), 72},
      {VhfCommand('G', 14.5), 0},
      {VhfCommand('T', 170), 72},
      {"R", 72},
      {"V", version.size()},
  };
  std::vector<uint8_t> r;
  CheckBatch(s, batch, r);
  ASSERT_EQ(r.size(), 6 + 3 * 72 + version.size());
  const ReplyData u = ParseReply({r.begin() + 6, r.begin() + 78});
  EXPECT_EQ(u.checksum, u.sum);
  EXPECT_EQ(u.readback, 0x06666666u);
  // 134 = 64 x SIG-B + 4 x gain 1 + high sensitivity; 14 = 4 x step 3 | high sensitivity.
  EXPECT_EQ(s.sim.Status("gainA"), "1");
  EXPECT_EQ(s.sim.Status("sensA"), "2");
  EXPECT_EQ(s.sim.Status("gainB"), "3");
  EXPECT_EQ(s.sim.Status("sensB"), "2");
  EXPECT_EQ(s.sim.Status("avg"), "256");
}

TEST(SimProtocol, ChecksumsHoldOverManyReplies) {
  SimSession s({"--model", "uhf", "--dut", "series:r=20,l=10n,c=5p", "--noise", "3"});
  s.Setup(1023, 1);
  for (double mhz : {0.05, 1.0, 39.9, 40.0, 307.5, 584.9, 700.0, 1214.0, 1300.0}) {
    const ReplyData d = s.Measure(mhz);
    ASSERT_TRUE(d.complete) << mhz;
    EXPECT_EQ(d.checksum, d.sum) << mhz;
  }
}

TEST(SimProtocol, LineSpeedFollowsTheSpeedCommand) {
  {
    SimSession s;
    s.port.Write(Bytes({'C', 5}));
    EXPECT_TRUE(s.port.Exchange("V", 1, 150).empty()) << "57600 after the switch is garbled";
    s.port.SetBaud(115000);
    EXPECT_EQ(s.Version().back(), '@');
    EXPECT_EQ(s.sim.Status("baud"), "115000");
  }
  {
    SimSession s({"--max-baud", "57600"});
    s.port.Write(Bytes({'C', 5}));
    EXPECT_EQ(s.Version().back(), '@');
    s.port.SetBaud(115000);
    EXPECT_TRUE(s.port.Exchange("V", 1, 150).empty());
  }
}

// A paced line takes 10 bit times per byte each way: the command reaches the
// instrument byte by byte, and the reply leaves byte by byte.
TEST(SimProtocol, PacedLineMovesOneByteEveryTenBitTimes) {
  using Clock = std::chrono::steady_clock;
  SimSession s({"--model", "7306", "--pace"});
  s.Setup(1023, 1);
  for (int baud : {57600, 115000}) {
    SCOPED_TRACE(baud);
    if (baud == 115000) {
      s.port.Write(Bytes({'C', 5}));
      s.port.Drain(50);
      s.port.SetBaud(baud);
    }
    const double byte_ms = 10.0 / baud * 1000;
    const auto t0 = Clock::now();
    s.port.Write(VhfCommand('U', 10));
    const std::vector<uint8_t> first = s.port.Read(1);
    const auto t1 = Clock::now();
    const std::vector<uint8_t> rest = s.port.Read(71);
    const auto t2 = Clock::now();
    ASSERT_EQ(first.size() + rest.size(), 72u);
    const auto ms = [](Clock::duration d) {
      return std::chrono::duration<double, std::milli>(d).count();
    };
    // The 10 command bytes and the first reply byte before anything arrives,
    // the 71 others after it: never sooner (a busy machine only delays).
    EXPECT_GE(ms(t1 - t0), 11 * byte_ms * 0.98);
    EXPECT_GE(ms(t2 - t0), 82 * byte_ms * 0.98);
    EXPECT_LT(ms(t2 - t0), 82 * byte_ms + 100);
  }
  EXPECT_EQ(s.sim.Status("protocolerrors"), "0");
}

// With --settle a measurement waits for the settling time its command asks
// before its samples leave; a repeated reply ("R") does not measure again.
TEST(SimProtocol, SettlingTimeDelaysTheMeasurementOnly) {
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  SimSession s({"--model", "7306", "--pace", "--settle"});
  s.Setup(1023, 1);
  const double byte_ms = 10.0 / 57600 * 1000;
  for (int settle : {0, 25}) {
    SCOPED_TRACE(settle);
    const auto t0 = Clock::now();
    s.port.Write(VhfCommand('U', 10, settle));
    const std::vector<uint8_t> first = s.port.Read(1);
    const auto t1 = Clock::now();
    const std::vector<uint8_t> rest = s.port.Read(71);
    ASSERT_EQ(first.size() + rest.size(), 72u);
    EXPECT_GE(ms(t1 - t0), 11 * byte_ms * 0.98 + settle);
  }
  s.port.Write("R");
  EXPECT_EQ(s.port.Read(72).size(), 72u);
  EXPECT_EQ(s.sim.Status("protocolerrors"), "0");
}

TEST(SimProtocol, PowerOffAndLogicTestLeaveTheInstrumentMute) {
  SimSession s;
  const int versions = std::stoi(s.sim.Status("versions"));
  for (const std::string& off : {Bytes({'Q', 97, 229}), std::string("Q"), std::string("ZD")}) {
    s.port.Write(off);
    EXPECT_TRUE(s.port.Exchange("V", 1, 150).empty()) << off;
    EXPECT_NE(s.sim.Status("power"), "on");
    s.sim.Control("power on");
    EXPECT_EQ(s.Version().back(), '@');
  }
  // The status counts the version replies sent, not the queries a mute
  // instrument ignored.
  EXPECT_EQ(std::stoi(s.sim.Status("versions")), versions + 3);
  const auto framed = s.sim.Commands();
  // The lone "Q" was framed alone, the confirmed one with its two bytes.
  EXPECT_NE(std::find(framed.begin(), framed.end(), std::vector<uint8_t>{'Q'}), framed.end());
  EXPECT_NE(std::find(framed.begin(), framed.end(), std::vector<uint8_t>{'Q', 97, 229}),
            framed.end());
}

TEST(SimProtocol, AutoPowerDownSwitchesOffWhenIdle) {
  SimSession s({"--autopoweroff", "0.2"});
  s.port.Write("D1");
  EXPECT_EQ(s.Version().back(), '@');
  EXPECT_TRUE(s.port.Drain(400).empty());
  EXPECT_EQ(s.sim.Status("power"), "off");
}

TEST(SimProtocol, HousekeepingRepliesCarryTheSetValues) {
  auto raw = [](const std::vector<uint8_t>& b) { return b.size() == 2 ? b[0] * 256 + b[1] : -1; };
  {
    SimSession s({"--model", "uhf", "--temp", "31.25", "--supply", "12.357"});
    // Two-multiplier sensor: C = (V / 1.181 - 0.349) x 100, V = raw x 3.2 / 4096.
    const double volts = raw(s.port.Exchange("ZU", 2)) * 3.2 / 4096;
    EXPECT_NEAR((volts / 1.181 - 0.349) * 100, 31.25, 0.05);
    EXPECT_NEAR(raw(s.port.Exchange("B", 2)) / 215.0 + 0.45, 12.357, 0.005);
    s.sim.Control("temp 40");
    const double volts40 = raw(s.port.Exchange("ZU", 2)) * 3.2 / 4096;
    EXPECT_NEAR((volts40 / 1.181 - 0.349) * 100, 40, 0.05);
    // The other model's command and no sensor: silence.
    EXPECT_TRUE(s.port.Exchange("ZT", 1, 150).empty());
    s.sim.Control("extport 1.649");
    EXPECT_NEAR(raw(s.port.Exchange(Bytes({'L', 16, 132, 1}), 2)) * 3.3 / 4096, 1.649, 0.001);
  }
  {
    SimSession s({"--model", "7306", "--temp", "-57.7", "--extport-digital", "2047"});
    const double volts = raw(s.port.Exchange("ZT", 2)) * 3.2 / 4096;
    EXPECT_NEAR((volts - 0.986) / 0.00355, -57.7, 0.3);
    EXPECT_EQ(raw(s.port.Exchange(Bytes({'L', 16, 4, 1}), 2)), 2047);
    EXPECT_EQ(s.sim.Status("mux"), "3");
  }
  {
    SimSession s({"--no-temp"});
    EXPECT_TRUE(s.port.Exchange("ZU", 1, 150).empty());
  }
}

TEST(SimProtocol, BandScanStreamsOneLevelPerStepThenTheEndMark) {
  SimSession s({"--model", "7306", "--dut", "short"});
  s.Setup(1023, 1);
  auto word = [](double mhz) {
    return Hex8(static_cast<uint32_t>(mhz / 400 * 4294967296.0 + 0.5));
  };
  s.port.Write("N" + word(1.0));
  s.port.Write(word(1.0199));
  s.port.Write(word(0.001));
  std::vector<int> levels;
  for (int i = 0; i < 40; ++i) {
    const auto b = s.port.Read(2);
    ASSERT_EQ(b.size(), 2u);
    levels.push_back(b[0] * 256 + b[1]);
    if (levels.back() == 30117) break;
    s.port.Write(Bytes({1}));
  }
  ASSERT_EQ(levels.size(), 21u);  // 1.000 .. 1.019, then the end mark
  EXPECT_EQ(levels.back(), 30117);
  EXPECT_GT(levels.front(), 100);  // a short at Port A gives a strong load signal
  s.port.Write(Bytes({1, 2, 2, 2}));
  EXPECT_TRUE(s.port.Drain(60).empty());
  // Stopping early: byte 2 ends the stream at once.
  s.sim.SetDut("open");
  s.port.Write("N" + word(1.0) + word(2.0) + word(0.001));
  const auto first = s.port.Read(2);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_LT(first[0] * 256 + first[1], 20);  // an open gives almost nothing back
  s.port.Write(Bytes({2}));
  EXPECT_TRUE(s.port.Drain(60).empty());
  EXPECT_EQ(s.Version().back(), '@');
  EXPECT_EQ(s.sim.Status("protocolerrors"), "0");
}

TEST(SimProtocol, MultipliersChangeOnlyWithTheChangeFlag) {
  SimSession s({"--model", "uhf"});
  const double off = s.version.offset1;
  s.port.Exchange(UhfCommand(100, 14, 13, 5, 2, false, off), 72);
  EXPECT_EQ(s.sim.Status("mults"), "14,13");
  s.port.Exchange(UhfCommand(600, 10, 9, 1, 2, false, off), 72);
  EXPECT_EQ(s.sim.Status("mults"), "14,13");
  bool flagged = false;
  for (const std::string& note : s.sim.Notes()) {
    flagged = flagged || note.find("without the change flag") != std::string::npos;
  }
  EXPECT_TRUE(flagged);
  s.port.Exchange(UhfCommand(600, 10, 9, 5, 22, false, off), 72);
  EXPECT_EQ(s.sim.Status("mults"), "10,9");
  EXPECT_NEAR(std::atof(s.sim.Status("freq").c_str()), 600, 1e-6);
  EXPECT_EQ(s.sim.Status("settle"), "23");
}

TEST(SimProtocol, LogHoldsEveryByteAndStrayBytesAreFlagged) {
  SimSession s;
  s.port.Write(Bytes({'K', 43, 1, 2, 'X', 'K'}));
  EXPECT_TRUE(s.port.Drain(60).empty());
  s.port.Write(Bytes({41}));
  const auto framed = s.sim.WaitForCommands(6);
  std::vector<uint8_t> all;
  for (const auto& c : framed) all.insert(all.end(), c.begin(), c.end());
  EXPECT_EQ(all, (std::vector<uint8_t>{'V', 'K', 43, 1, 2, 'X', 'K', 41}));
  EXPECT_EQ(framed.size(), 6u);
  EXPECT_EQ(s.sim.Status("protocolerrors"), "1");  // 'X'; stray 1 and 2 are the band scan's
  EXPECT_EQ(s.sim.Status("relays"), "1");
}

TEST(SimProtocol, BadDevicesAreRefused) {
  SimSession s;
  const std::string one_port = "dut-b s1p:" VNA_SHARED_DATA_DIR "/touchstone/t130-2.s1p";
  for (const std::string& bad :
       {std::string("dut thru"), std::string("dut r=abc"), std::string("dut series:q=1"), one_port,
        std::string("chan 7 thru"), std::string("dut crystal:fs=10M,r=5"),
        std::string("dut s1p:/nonexistent.s1p"), std::string("fault sideways"),
        std::string("bridge perfect")}) {
    EXPECT_THROW(s.sim.Control(bad), std::runtime_error) << bad;
  }
  const std::string sim = VNA_BINARY_DIR "/bin/vna-sim";
  for (const char* args : {"--dut nothing", "--model 9999", "--chan 3", "--frobnicate"}) {
    const int rc = std::system((sim + " --quiet " + args + " 2>/dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 2) << args;
  }
}

// Output of a shell command.
std::string Shell(const std::string& command) {
  std::string out;
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(SimProtocol, ControlChannelTakesSendAndFifo) {
  {
    SimSession s;
    const std::string sim = VNA_BINARY_DIR "/bin/vna-sim --control " + s.sim.Folder() + "/control";
    EXPECT_EQ(Shell(sim + " --send 'dut short'"), "ok\n");
    EXPECT_EQ(Shell(sim + " --send 'dut nonsense' 2>&1").rfind("error: unknown device", 0), 0u);
    EXPECT_EQ(Shell(sim + " --send status").rfind("ok model=uhf power=on", 0), 0u);
  }
  {
    SimRunner probe;  // for a temporary folder
    const std::string fifo = probe.Folder() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    SimRunner sim({"--control", fifo});
    std::FILE* f = std::fopen(fifo.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("dut short\nfault checksum 2\n", f);
    std::fclose(f);
    SimPort port(sim.Link());
    port.Write("V");
    port.ReadUntil('@');  // the FIFO's lines were read before this reply went out
    const auto notes = sim.Notes();
    EXPECT_NE(std::find(notes.begin(), notes.end(), "control: dut short"), notes.end());
    EXPECT_NE(std::find(notes.begin(), notes.end(), "control: fault checksum 2"), notes.end());
  }
}

TEST(SimProtocol, HelpDocumentsEveryOption) {
  const std::string help = Shell(VNA_BINARY_DIR "/bin/vna-sim --help");
  for (const char* option : {"--link",
                             "--model",
                             "--no-temp",
                             "--max-baud",
                             "--ignore-baud",
                             "--clock-ppm",
                             "--dfr1",
                             "--dfr2",
                             "--tune-error",
                             "--pace",
                             "clip",
                             "tune-error MHZ",
                             "--dut",
                             "--dut-b",
                             "--chan",
                             "--bridge",
                             "--noise",
                             "--seed",
                             "--temp",
                             "--supply",
                             "--extport-volts",
                             "--extport-digital",
                             "--autopoweroff",
                             "--fault",
                             "--control",
                             "--log",
                             "--send",
                             "--quiet",
                             "--help",
                             "crystal:",
                             "line:",
                             "s1p:",
                             "s2p:",
                             "atten:",
                             "delay:"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace vna::test
