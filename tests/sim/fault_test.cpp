// Injected faults produce exactly the fault named, for exactly as many
// replies as asked, and the instrument is well again afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "session.h"

namespace vna::test {
namespace {

TEST(SimFaults, SilenceWithholdsReplies) {
  SimSession s;
  const std::string version = s.Version();
  s.sim.Fault("silence 2");
  EXPECT_TRUE(s.port.Exchange("V", 1, 120).empty());
  EXPECT_TRUE(s.port.Exchange("B", 1, 120).empty());
  EXPECT_EQ(s.Version(), version);
  s.sim.Fault("silence");  // until cleared
  EXPECT_TRUE(s.port.Exchange("V", 1, 120).empty());
  s.sim.Fault("none");
  EXPECT_EQ(s.Version(), version);
  // From the command line, silent from the start.
  SimRunner quiet({"--fault", "silence"});
  SimPort port(quiet.Link());
  EXPECT_TRUE(port.Exchange("V", 1, 120).empty());
}

TEST(SimFaults, ChecksumFaultDamagesTheNextReplies) {
  SimSession s;
  s.Setup(1023, 1);
  s.sim.Fault("checksum 2");
  const auto first = s.MeasureBytes(10);
  const auto resent = s.port.Exchange("R", 72);
  const auto good = s.port.Exchange("R", 72);
  for (const auto* r : {&first, &resent, &good}) ASSERT_EQ(r->size(), 72u);
  const ReplyData a = ParseReply(first), b = ParseReply(resent), c = ParseReply(good);
  EXPECT_NE(a.checksum, a.sum);
  EXPECT_NE(b.checksum, b.sum);
  EXPECT_EQ(c.checksum, c.sum);
  // Only the checksum is damaged: the data is the same measurement each time.
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + 70, good.begin()));
  EXPECT_EQ(ParseReply(s.MeasureBytes(10)).checksum, ParseReply(good).sum);
}

TEST(SimFaults, OverloadPutsTheLoadSamplesAtFullScale) {
  SimSession s({"--model", "7306"});
  s.Setup(1023, 1);
  s.sim.Fault("overload 1");
  const ReplyData over = s.Measure(10);
  const ReplyData normal = s.Measure(10);
  const int top = *std::max_element(over.words.begin(), over.words.begin() + 16);
  EXPECT_GT(top * 16, 65500) << "the program's overload test fires at the lowest gain";
  EXPECT_EQ(*std::min_element(over.words.begin(), over.words.begin() + 16), 0);
  EXPECT_LT(*std::max_element(normal.words.begin(), normal.words.begin() + 16) * 16, 65500);
  EXPECT_NEAR(FitSine(&over.words[16]).mag, FitSine(&normal.words[16]).mag, 1.0);
  EXPECT_EQ(over.checksum, over.sum);
}

TEST(SimFaults, ClipOverloadsTheTopAndKeepsEveryWordOffTheFloor) {
  SimSession s({"--model", "uhf"});
  s.Setup(1023, 1);
  s.sim.Fault("clip 1");
  const ReplyData over = s.Measure(14);
  const ReplyData normal = s.Measure(14);
  const int top = *std::max_element(over.words.begin(), over.words.begin() + 16);
  const int bottom = *std::min_element(over.words.begin(), over.words.begin() + 16);
  EXPECT_GT(top * 16, 65500) << "the program's overload test fires at the lowest gain";
  EXPECT_GT(bottom * 16, 1000) << "no word near the floor, word 1 included";
  EXPECT_LT(*std::max_element(normal.words.begin(), normal.words.begin() + 16) * 16, 65500);
  EXPECT_NEAR(FitSine(&over.words[16]).mag, FitSine(&normal.words[16]).mag, 1.0);
  EXPECT_EQ(over.checksum, over.sum);
}

// The DDS runs off the commanded frequency by the tuning error, and the
// reply's read-back word is the word it really set.
TEST(SimFaults, TuningErrorShowsInTheReadBackWord) {
  for (const char* model : {"7306", "uhf"}) {
    SCOPED_TRACE(model);
    SimSession s({"--model", model});
    s.Setup(1023, 1);
    const double clock = s.Uhf() ? 50.0 * 14 : 400.0;  // the first DDS's clock at 14 MHz
    EXPECT_NEAR(s.Measure(14).readback * clock / 4294967296.0, 14, 1e-6);
    s.sim.Control("tune-error 0.004");
    EXPECT_NEAR(s.Measure(14).readback * clock / 4294967296.0, 14.004, 1e-6);
    EXPECT_NEAR(std::stod(s.sim.Status("freq")), 14.004, 1e-6);
    s.sim.Control("tune-error -0.006");
    EXPECT_NEAR(s.Measure(14).readback * clock / 4294967296.0, 13.994, 1e-6);
    EXPECT_EQ(s.sim.Status("protocolerrors"), "0");
  }
}

TEST(SimFaults, MissingReferenceAndMissingSignal) {
  SimSession s({"--model", "uhf"});
  s.Setup(1023, 1);
  s.sim.Fault("noref 1");
  const ReplyData noref = s.Measure(20);
  EXPECT_LT(FitSine(&noref.words[16]).mag * 16, 50) << "below the program's reference limit";
  EXPECT_GT(FitSine(&noref.words[0]).mag * 16, 1000) << "the load channel still works";
  s.sim.Fault("nosignal 1");
  const ReplyData none = s.Measure(20);
  EXPECT_TRUE(std::all_of(none.words.begin(), none.words.end(), [](int w) { return w == 0; }));
  EXPECT_EQ(none.checksum, none.sum);
  EXPECT_GT(FitSine(&s.Measure(20).words[16]).mag * 16, 1000) << "well again";
}

// A Port A gain step stuck at 1x: the high gain raises neither channel.
TEST(SimFaults, StuckPortAGain) {
  SimSession s({"--model", "uhf"});
  s.Setup(200, 1);
  s.Gains(false, 1);
  const double low = FitSine(&s.Measure(1).words[16]).mag;
  s.Gains(true, 1);
  EXPECT_NEAR(FitSine(&s.Measure(1).words[16]).mag / low, 5.02, 0.05);
  s.sim.Fault("gainstuck 1");
  EXPECT_NEAR(FitSine(&s.Measure(1).words[16]).mag / low, 1, 0.01);
  EXPECT_NEAR(FitSine(&s.Measure(1).words[16]).mag / low, 5.02, 0.05) << "one reply only";
}

TEST(SimFaults, ShortReplyStopsEarly) {
  SimSession s;
  s.Setup(1023, 1);
  s.sim.Fault("short 1 30");
  s.port.Write(UhfCommand(10, 14, 13, 5, 2, false, s.version.offset1));
  EXPECT_EQ(s.port.Drain(80).size(), 30u);
  EXPECT_EQ(s.MeasureBytes(10).size(), 72u);
  // From the command line, with the default length.
  SimSession c({"--fault", "short"});
  c.port.Write(UhfCommand(10, 14, 13, 5, 2, false, c.version.offset1));
  EXPECT_EQ(c.port.Drain(80).size(), 40u);
}

TEST(SimFaults, FaultsAreLoggedAndShownInTheStatus) {
  SimSession s;
  s.sim.Fault("checksum 3");
  s.sim.Fault("overload");
  EXPECT_EQ(s.sim.Status("faults"), "checksum=3,overload=-1");
  s.MeasureBytes(10);
  EXPECT_EQ(s.sim.Status("faults"), "checksum=2,overload=-1");
  const auto notes = s.sim.Notes();
  EXPECT_NE(std::find(notes.begin(), notes.end(), "fault: damaged checksum"), notes.end());
  EXPECT_NE(std::find(notes.begin(), notes.end(), "fault: overload"), notes.end());
}

// A fault held back for its reading starts exactly there, and one that
// names no count of readings is refused. (The measuring table runs it at
// the first, a middle and the last reading of every path.)
TEST(SimFaults, AFaultWaitsForItsReading) {
  SimSession s;
  EXPECT_THROW(s.sim.Fault("noref after"), std::runtime_error);
  EXPECT_THROW(s.sim.Fault("noref after -1"), std::runtime_error);
  EXPECT_THROW(s.sim.Fault("nothing after 2"), std::runtime_error);
  s.sim.Fault("checksum 1 after 2");
  EXPECT_EQ(s.sim.Status("faults"), "checksum@2");
  const long before = std::stol(s.sim.Status("readings"));
  s.MeasureBytes(10);
  s.MeasureBytes(10);
  EXPECT_EQ(s.sim.Status("faults"), "checksum@0");
  s.MeasureBytes(10);  // the third reading: damaged, and the fault is spent
  EXPECT_EQ(s.sim.Status("faults"), "none");
  EXPECT_EQ(std::stol(s.sim.Status("readings")) - before, 3);
  const auto notes = s.sim.Notes();
  EXPECT_EQ(std::count(notes.begin(), notes.end(), "fault: damaged checksum"), 1);
}

}  // namespace
}  // namespace vna::test
