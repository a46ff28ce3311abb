// The program's own serial layer reaches the simulator the way the program
// will: through VNA_COM<n>, at 57600 baud, and at 115000 after "C" 5, with
// the port closed and opened again in between.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/serial.h"
#include "session.h"

namespace vna::test {
namespace {

// Reads single bytes, as the program's readers do, until "@" or about a second of empty reads.
std::string ReadVersion(int handle) {
  std::string text;
  int empty = 0;
  uint8_t b;
  while (empty < 1000 && (text.empty() || text.back() != '@')) {
    if (SerialReadByte(handle, b) == 1) {
      text += static_cast<char>(b);
    } else {
      ++empty;
    }
  }
  return text;
}

TEST(SimPlatformLink, ProgramSerialLayerTalksToTheSimulator) {
  SimRunner sim({"--model", "7306"}, 8);
  ASSERT_EQ(ComPortDevice(8), sim.Link());
  int h = SerialOpenPort(8);
  ASSERT_NE(h, kInvalidPort);
  EXPECT_EQ(SerialSetLine(h, 57600), SerialSetup::kOk);
  EXPECT_TRUE(SerialRaiseRts(h));
  ASSERT_EQ(SerialWrite(h, "V", 1), 1);
  const std::string version = ReadVersion(h);
  EXPECT_TRUE(ParseVersion(version).model7306) << version;

  // The link test's high-speed attempt: switch, reopen at exactly 115000, ask again.
  // The bytes are judged at the speed the line has when they are read, so the
  // program's 30 ms pause before it reopens matters.
  ASSERT_EQ(SerialWrite(h, std::string("C\x05", 2), 2), 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  // On a loaded machine the simulator may not have taken the switch yet; the
  // program's pause assumes an instrument that keeps up.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (sim.Status("baud") != "115000" && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  SerialClose(h);
  h = SerialOpenPort(8);
  ASSERT_NE(h, kInvalidPort) << "the port opens again after an exclusive open";
  EXPECT_EQ(SerialSetLine(h, 115000), SerialSetup::kOk);
  EXPECT_EQ(SerialBaud(h), 115000);
  ASSERT_EQ(SerialWrite(h, "V", 1), 1);
  EXPECT_EQ(ReadVersion(h), version);
  SerialClose(h);
  EXPECT_EQ(sim.Status("baud"), "115000");
  EXPECT_EQ(sim.Status("protocolerrors"), "0");
}

}  // namespace
}  // namespace vna::test
