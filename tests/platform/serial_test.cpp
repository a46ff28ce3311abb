// The serial layer over a pseudo-terminal: the test holds the master side,
// the layer opens the slave side as COM port 5 through VNA_COM5.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial.h"
#include "support/temp_dir.h"
#include "support/wakeups.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class PtyTest : public ::testing::Test {
 protected:
  void SetUp() override { NewLine(); }
  // A fresh pseudo-terminal as COM port 5: nothing left over from an earlier
  // round on either side.
  void NewLine() {
    if (master >= 0) close(master);
    master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    slave_path = ptsname(master);
    env.reset();  // restores the variable before it is set anew
    env = std::make_unique<ScopedEnv>("VNA_COM5", slave_path);
  }
  void TearDown() override {
    SerialClose(handle);
    close(master);
  }
  void OpenPort(int baud = 57600) {
    handle = SerialOpenPort(5);
    ASSERT_NE(handle, kInvalidPort);
    ASSERT_EQ(SerialSetLine(handle, baud), SerialSetup::kOk);
  }
  // What the instrument side received: up to `expected` bytes, waiting at
  // most wait_ms for them.
  std::string MasterReceived(size_t expected, int wait_ms = 2000) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (got.size() < expected && std::chrono::steady_clock::now() < end) {
      pollfd pfd{master, POLLIN, 0};
      if (poll(&pfd, 1, 50) <= 0) continue;
      char buf[256];
      ssize_t n = read(master, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }
  // A reader's loop: one-byte reads, each telling how many bytes are still
  // wanted, until `want` bytes came or the empty reads reach the limit. A
  // patient reader also tells how many empty reads it would still make.
  std::string ReadLikeAReader(size_t want, int limit, int& empty_reads, bool patient = false) {
    std::string got;
    empty_reads = 0;
    while (got.size() < want && empty_reads < limit) {
      uint8_t b;
      int r = SerialReadByte(handle, b, static_cast<int>(want - got.size()),
                             patient ? limit - empty_reads : 1);
      if (r == 1)
        got += static_cast<char>(b);
      else
        ++empty_reads;
    }
    return got;
  }

  int master = -1;
  std::string slave_path;
  std::unique_ptr<ScopedEnv> env;
  int handle = kInvalidPort;
};

// Also while a whole reply is expected: the wait for its first byte is
// counted in reads of the port's time-out, as every reader's limit assumes.
TEST_F(PtyTest, SilentPortGivesOneEmptyReadOfAboutAMillisecondPerCall) {
  OpenPort();
  constexpr int kReads = 200;
  for (size_t want : {1, 72}) {
    SCOPED_TRACE(want);
    int empty = 0;
    const auto t0 = std::chrono::steady_clock::now();
    ReadLikeAReader(want, kReads, empty);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(empty, kReads);  // every call came back, empty, and counted once
    const double per_read = ms / kReads;
    EXPECT_GT(per_read, 0.5);
    EXPECT_LT(per_read, 5.0);
  }
}

// A reply that crosses the line at its speed (57600 baud: a byte every
// 174 us) is taken in batches as it arrives, and comes whole and in order.
TEST_F(PtyTest, PacedReplyComesWholeAndInOrder) {
  OpenPort();
  std::string reply;
  for (int i = 0; i < 72; ++i) reply += static_cast<char>(255 - i * 3);
  std::thread line([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    for (char c : reply) {
      if (write(master, &c, 1) != 1) return;
      std::this_thread::sleep_for(std::chrono::microseconds(174));
    }
  });
  int empty = 0;
  std::string got;
  uint8_t b;
  while (got.size() < reply.size() && empty < 500) {
    if (SerialReadByte(handle, b, static_cast<int>(reply.size() - got.size())) == 1) {
      got += static_cast<char>(b);
    } else {
      ++empty;
    }
  }
  line.join();
  EXPECT_EQ(got, reply);
  EXPECT_EQ(SerialReadByte(handle, b, 1), 0);
}

// Once replies are seen to trickle in, the first read after a command waits
// in one go until a reply of the expected length can have crossed the line.
// When none came, that wait still counts as the time-outs it lasted: the
// following calls come back empty at once until they are used up.
TEST_F(PtyTest, LongWaitForAReplyCountsAsTheEmptyReadsItLasted) {
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  OpenPort();
  // The layer learns that replies come at the line's pace only when it is
  // already waiting as one arrives. On a machine starved enough to wake the
  // reader after a whole reply came, it cannot learn that, so each try
  // starts over on a fresh line; a layer that never counts the wait fails
  // every try.
  double first_wait = 0, later_reads = 0;
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (attempt > 0) {
      SerialClose(handle);
      OpenPort();
    }
    ASSERT_EQ(SerialWrite(handle, "U", 1), 1);
    // The reply trickles in with a long pause after its first bytes, so the
    // reader sees it arriving at the line's pace.
    std::thread line([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      for (int i = 0; i < 72; ++i) {
        const char c = static_cast<char>(i);
        if (write(master, &c, 1) != 1) return;
        std::this_thread::sleep_for(std::chrono::microseconds(i == 4 ? 60000 : 174));
      }
    });
    int empty = 0;
    EXPECT_EQ(ReadLikeAReader(72, 500, empty).size(), 72u);
    line.join();

    ASSERT_EQ(SerialWrite(handle, "U", 1), 1);  // and no reply this time
    uint8_t b;
    const auto t0 = Clock::now();
    EXPECT_EQ(SerialReadByte(handle, b, 500), 0);
    const auto t1 = Clock::now();
    for (int i = 0; i < 80; ++i) EXPECT_EQ(SerialReadByte(handle, b, 500), 0);
    first_wait = ms(t1 - t0);
    later_reads = ms(Clock::now() - t1);
    if (first_wait >= 500 * 10 / 57.6 && later_reads < 50) break;
  }
  EXPECT_GE(first_wait, 500 * 10 / 57.6);  // 500 bytes at 57600 baud: 87 ms
  EXPECT_LT(later_reads, 50) << "time already waited";
}

// Bytes the port already holds are handed out together in order, as single
// reads would give them, but only after the empty reads a wait for them
// amounted to; none on a closed port.
TEST_F(PtyTest, HeldBytesComeTogetherAfterTheWaitsEmptyReads) {
  OpenPort();
  ASSERT_EQ(SerialWrite(handle, "U", 1), 1);
  std::thread line([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (write(master, "ABCDE", 5) != 5) return;
  });
  uint8_t b = 0, held[8] = {};
  int empty = 0, r = 0;
  while (r == 0 && empty < 200) {
    r = SerialReadByte(handle, b, 5, 100 - empty);
    // The first call waited for the reply and owes the rest of that wait's
    // empty reads: nothing held is handed out before them.
    if (r == 0 && empty++ == 0) {
      EXPECT_EQ(SerialTakeHeld(handle, held, 8), 0);
    }
  }
  line.join();
  ASSERT_EQ(r, 1);
  EXPECT_GE(empty, 20);  // 20 ms of 1 ms reads before the first byte
  EXPECT_EQ(b, 'A');
  EXPECT_EQ(SerialTakeHeld(handle, held, 3), 3);
  EXPECT_EQ(std::string(held, held + 3), "BCD");
  EXPECT_EQ(SerialTakeHeld(handle, held, 8), 1);
  EXPECT_EQ(held[0], 'E');
  EXPECT_EQ(SerialTakeHeld(handle, held, 8), 0);
  const int old = handle;
  SerialClose(handle);
  EXPECT_EQ(SerialTakeHeld(old, held, 8), -1);
}

// A reader that says how long it would wait is woken about once per burst of
// bytes, never once per empty read, and still counts every read time-out it
// waited: silence, a slow first byte, a gap inside the reply and a reply cut
// half-way all end as a reader polling every millisecond would end them.
TEST_F(PtyTest, PatientReaderWakesPerBurstAndCountsTheWait) {
  struct Burst {
    int pause_ms;  // quiet before the burst
    int bytes;
  };
  struct Case {
    const char* what;
    std::vector<Burst> bursts;
    size_t bytes_read;
    bool gives_up;  // the empty reads reach the limit
  };
  const Case cases[] = {
      {"silence", {}, 0, true},
      {"slow first byte", {{40, 72}}, 72, false},
      {"gap inside the reply", {{5, 30}, {60, 42}}, 72, false},
      {"cut half-way", {{5, 36}}, 36, true},
  };
  constexpr int kLimit = 300;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenPort();
    ASSERT_EQ(SerialWrite(handle, "U", 1), 1);  // a command, so a reply is due
    // Bytes leave at the line's pace, 174 us apart at 57600 baud, each on its
    // own schedule so that a late wake-up of this thread does not slow the line.
    std::thread line([&] {
      char k = 0;
      auto at = std::chrono::steady_clock::now();
      for (const Burst& b : c.bursts) {
        at += std::chrono::milliseconds(b.pause_ms);
        for (int i = 0; i < b.bytes; ++i, ++k) {
          std::this_thread::sleep_until(at);
          if (write(master, &k, 1) != 1) return;
          at += std::chrono::microseconds(174);
        }
      }
    });
    int empty = 0;
    const long w0 = test::ThreadWakeups();
    const std::string got = ReadLikeAReader(72, kLimit, empty, true);
    const long wakeups = test::ThreadWakeups() - w0;
    line.join();
    std::string sent;
    for (size_t i = 0; i < c.bytes_read; ++i) sent += static_cast<char>(i);
    EXPECT_EQ(got, sent);
    if (c.gives_up) {
      EXPECT_EQ(empty, kLimit);
    } else {
      EXPECT_GT(empty, 0);  // the quiet before a burst is counted
      EXPECT_LT(empty, kLimit);
    }
    // A reader woken every millisecond would have been woken hundreds of
    // times; one wait per burst and one sleep for its bytes is the most.
    EXPECT_LE(wakeups, 2 * static_cast<long>(c.bursts.size()) + 3);
    SerialClose(handle);
    handle = kInvalidPort;
  }
}

// The far end of the read-accounting table. Bytes "at once" are there before
// the reader looks; the "later" bytes go out as one write `later_ms` after
// the reader is seen blocked in its wait for them (every earlier byte taken),
// and at the end of that wait at the latest: the wait hook sends them if the
// far end has not, before the layer judges the wait's deadline. So a far end
// thread that runs late stretches the wait but never moves a byte past the
// reader's patience: the figures the table expects hold however late either
// thread runs.
class FarEnd {
 public:
  FarEnd(int master, int at_once, int later, int later_ms, int stall_ms)
      : master_(master),
        at_once_(at_once),
        later_(later),
        later_ms_(later_ms),
        stall_ms_(stall_ms),
        reader_(syscall(SYS_gettid)) {
    Send(0, at_once_);
    if (later_ > 0 && later_ms_ > 0) thread_ = std::thread([this] { Answer(); });
  }
  ~FarEnd() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  void Took() { ++taken_; }
  // From the wait hook: the end of one wait on the port.
  void WaitEnded() {
    ++waits_;
    if (later_ > 0 && taken_ == at_once_) SendLater();
    if (waits_ == 1 && stall_ms_ > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(stall_ms_));
    }
  }
  int Waits() const { return waits_; }

 private:
  void Send(int first, int n) {
    if (n <= 0) return;
    std::vector<char> bytes(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(first + i);
    EXPECT_EQ(write(master_, bytes.data(), bytes.size()), n);
  }
  void SendLater() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (later_sent_) return;
    later_sent_ = true;
    Send(at_once_, later_);
  }
  // The reader blocked in its wait for bytes (poll): the layer makes no
  // other call that blocks while it reads.
  bool ReaderWaiting() const {
    std::ifstream f("/proc/self/task/" + std::to_string(reader_) + "/syscall");
    long call = -1;
    return (f >> call) && (call == SYS_poll || call == SYS_ppoll);
  }
  void Answer() {
    while (!stop_ && !later_sent_ && !(taken_ == at_once_ && ReaderWaiting())) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (stop_ || later_sent_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(later_ms_));
    SendLater();
  }

  const int master_, at_once_, later_, later_ms_, stall_ms_;
  const long reader_;
  std::atomic<int> taken_{0};
  int waits_ = 0;  // the reader's thread only
  std::mutex mutex_;
  std::atomic<bool> later_sent_{false}, stop_{false};
  std::thread thread_;
};

FarEnd* far_end = nullptr;

// Read accounting, case by case (the rule stands at the top of serial.cpp):
// what the reader is handed, how many empty reads it counts, and how often
// the port waited on the device. A patient reader says the empty reads it
// would still make; a polling one waits 1 ms a read (patience 0) and says
// only its last read (patience 1).
TEST_F(PtyTest, ReadAccountingTable) {
  struct Case {
    const char* what;
    bool polling;
    int limit;                 // empty reads the reader makes before it gives up
    int at_once;               // reply bytes there before the reader looks
    int later;                 // reply bytes that come after a wait ...
    int later_ms;              // ... this long (0: as the first wait ends)
    int stall_ms;              // the first wait lasts this much longer: a busy machine
    int got;                   // bytes the reader is handed
    int min_empty, max_empty;  // empty reads it counts
    int waits;                 // waits on the device
  };
  const Case cases[] = {
      // One wait for the whole patience, then the last read's own look.
      {"silence", false, 300, 0, 0, 0, 0, 0, 300, 300, 2},
      // The quiet before the first byte is counted, and never the whole
      // patience: the reader is left a read to take the reply with.
      {"slow first byte", false, 300, 0, 72, 40, 0, 72, 40, 299, 1},
      {"gap inside the reply", false, 300, 30, 42, 60, 0, 72, 60, 299, 1},
      // The reader gives up after its last look; the half it had stays.
      {"reply cut half-way", false, 300, 36, 0, 0, 0, 36, 300, 300, 2},
      // The reply comes while a wait lasts 10 ms longer than it should: the
      // reads it owes come first, and the last read still looks and takes it.
      {"busy machine, polling reader", true, 4, 0, 72, 0, 10, 72, 3, 3, 1},
      {"busy machine, patient reader", false, 4, 0, 72, 0, 10, 72, 3, 3, 1},
  };
  SetSerialWaitHook([] {
    if (far_end) far_end->WaitEnded();
  });
  struct Unhook {
    ~Unhook() {
      SetSerialWaitHook(nullptr);
      far_end = nullptr;
    }
  } unhook;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NewLine();
    OpenPort();
    ASSERT_EQ(SerialWrite(handle, "U", 1), 1);  // a command, so a reply is due
    FarEnd end(master, c.at_once, c.later, c.later_ms, c.stall_ms);
    far_end = &end;
    std::string got;
    int empty = 0;
    constexpr int want = 72;  // the reply the reader waits for
    while (static_cast<int>(got.size()) < want && empty < c.limit) {
      const int left = c.limit - empty;
      const int patience = c.polling ? (left == 1 ? 1 : 0) : left;
      uint8_t b = 0;
      const int r = SerialReadByte(handle, b, want - static_cast<int>(got.size()), patience);
      if (r < 0) {
        ADD_FAILURE() << "the port failed";
        break;
      }
      if (r == 1) {
        got += static_cast<char>(b);
        end.Took();
      } else {
        ++empty;
      }
    }
    far_end = nullptr;
    std::string sent;
    for (int i = 0; i < c.got; ++i) sent += static_cast<char>(i);
    EXPECT_EQ(got, sent);
    EXPECT_GE(empty, c.min_empty);
    EXPECT_LE(empty, c.max_empty);
    EXPECT_EQ(end.Waits(), c.waits);
    SerialClose(handle);
    handle = kInvalidPort;
  }
}

// A far end that lets each command settle before it answers: once a reply
// is seen to come later than the line alone would bring it, the reader no
// longer sleeps to the line's end first (a wake-up that finds nothing) but
// waits for the first byte straight away.
TEST_F(PtyTest, SlowAnswersAreWaitedForWithoutAFruitlessSleep) {
  OpenPort();
  std::string reply;
  for (int i = 0; i < 72; ++i) reply += static_cast<char>(i + 1);
  // The first reply trickles in, so the port learns that the line is paced.
  ASSERT_EQ(SerialWrite(handle, "U", 1), 1);
  std::thread trickle([&] {
    auto at = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
    for (char c : reply) {
      std::this_thread::sleep_until(at);
      if (write(master, &c, 1) != 1) return;
      at += std::chrono::microseconds(174);
    }
  });
  int empty = 0;
  ASSERT_EQ(ReadLikeAReader(72, 500, empty, true), reply);
  trickle.join();
  // Then replies 40 ms after each command, well after the 13 ms that the
  // command and reply need at 57600 baud; each arrives in one piece, so a
  // reader woken by its first byte finds it whole.
  constexpr int kReplies = 6;
  long wakeups = 0;
  for (int r = 0; r < kReplies; ++r) {
    ASSERT_EQ(SerialWrite(handle, "U", 1), 1);
    std::thread slow([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      if (write(master, reply.data(), reply.size()) != 72) return;
    });
    const long w0 = test::ThreadWakeups();
    EXPECT_EQ(ReadLikeAReader(72, 500, empty, true), reply);
    wakeups += test::ThreadWakeups() - w0;
    EXPECT_GT(empty, 30);  // the wait is still counted
    slow.join();
  }
  // Two for the first slow reply (the sleep, then the wait), one for each
  // after it; a reader that kept sleeping to the line's end first takes two
  // every time.
  EXPECT_LE(wakeups, kReplies + 3);
}

void IgnoreSignal(int) {}

// A signal that interrupts a long wait (a child process of the program
// ending, say) does not end it: the reply that comes afterwards is read.
TEST_F(PtyTest, SignalDuringAWaitDoesNotLoseTheReply) {
  struct sigaction sa {
  }, before{};
  sa.sa_handler = IgnoreSignal;  // no SA_RESTART: the wait is interrupted
  ASSERT_EQ(sigaction(SIGUSR1, &sa, &before), 0);
  OpenPort();
  const pthread_t reader = pthread_self();
  std::thread far_end([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    pthread_kill(reader, SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (write(master, "\x01\x02", 2) != 2) return;
  });
  int empty = 0;
  EXPECT_EQ(ReadLikeAReader(2, 300, empty, true), "\x01\x02");
  far_end.join();
  sigaction(SIGUSR1, &before, nullptr);
}

TEST_F(PtyTest, BytesWrittenArriveExactlyZeroBytesIncluded) {
  OpenPort();
  const std::string cmd("A\x05\x00", 3);  // a gain command whose last byte is 0
  EXPECT_EQ(SerialWrite(handle, cmd, 3), 3);
  const std::string all("\x00\x0a\x0d\x11\x13\x7f\xff", 7);  // nothing translated
  EXPECT_EQ(SerialWrite(handle, all.data(), 7), 7);
  EXPECT_EQ(MasterReceived(10), cmd + all);
  EXPECT_EQ(SerialWrite(handle, "VXYZ", 1), 1);  // only the first n bytes
  EXPECT_EQ(SerialWrite(handle, "", 0), 0);
  EXPECT_EQ(MasterReceived(2, 200), "V");
}

TEST_F(PtyTest, ReplyBytesArriveOneByOne) {
  OpenPort();
  std::string reply;
  for (int i = 0; i < 72; ++i) reply += static_cast<char>(i * 7);
  ASSERT_EQ(write(master, reply.data(), reply.size()), 72);
  int empty = 0;
  EXPECT_EQ(ReadLikeAReader(72, 501, empty), reply);
  EXPECT_LT(empty, 501);
  uint8_t b;
  EXPECT_EQ(SerialReadByte(handle, b), 0);  // and nothing more
}

TEST_F(PtyTest, ExclusiveOpen) {
  OpenPort();
  EXPECT_EQ(SerialOpen(slave_path), kInvalidPort);
  EXPECT_TRUE(SerialLastOpenBusy());
  SerialClose(handle);
  handle = SerialOpen(slave_path);
  EXPECT_NE(handle, kInvalidPort);
  EXPECT_FALSE(SerialLastOpenBusy());
}

TEST_F(PtyTest, InstrumentRatesIncludingExactly115000) {
  OpenPort(57600);
  EXPECT_EQ(SerialBaud(handle), 57600);
  EXPECT_EQ(SerialSetLine(handle, 115000), SerialSetup::kOk);
  EXPECT_EQ(SerialBaud(handle), 115000);
  EXPECT_TRUE(SerialRaiseRts(handle));  // a pseudo-terminal has no RTS: tolerated
  EXPECT_EQ(SerialWrite(handle, "C\x05", 2), 2);
  EXPECT_EQ(MasterReceived(2), "C\x05");
}

TEST_F(PtyTest, ClosedAndInvalidHandlesAreHarmless) {
  OpenPort();
  const int old = handle;
  SerialClose(handle);
  SerialClose(handle);
  SerialClose(kInvalidPort);
  SerialClose(12345);
  EXPECT_FALSE(SerialIsOpen(old));
  EXPECT_EQ(SerialWrite(old, "V", 1), -1);
  EXPECT_EQ(MasterReceived(1, 200), "");
  uint8_t b;
  EXPECT_EQ(SerialReadByte(old, b), -1);
  EXPECT_EQ(SerialReadByte(kInvalidPort, b), -1);
  EXPECT_EQ(SerialSetLine(old, 57600), SerialSetup::kUnreadable);
  EXPECT_FALSE(SerialRaiseRts(old));
  handle = SerialOpenPort(5);  // a new open gets a new handle
  EXPECT_NE(handle, old);
  EXPECT_NE(handle, kInvalidPort);
}

std::vector<int> lost_reports;
void RecordLoss(int handle) {
  lost_reports.push_back(handle);
}

// The far end gone (the instrument unplugged, the simulator ended): the read
// or write that finds it reports the port lost, once; from then on every call
// fails at once, so no reader waits out its empty reads on a dead line.
TEST_F(PtyTest, HungUpPortIsLostAndSaidOnce) {
  SetSerialLostHandler(RecordLoss);
  for (bool by_write : {false, true}) {
    SCOPED_TRACE(by_write ? "found by a write" : "found by a read");
    lost_reports.clear();
    OpenPort();
    EXPECT_FALSE(SerialLost(handle));
    uint8_t b;
    EXPECT_EQ(SerialReadByte(handle, b), 0);  // quiet is not lost
    EXPECT_TRUE(lost_reports.empty());
    close(master);
    if (by_write) {
      EXPECT_EQ(SerialWrite(handle, "V", 1), -1);
    } else {
      // The quiet read above may have lasted several reads' time on a busy
      // machine; those owed empty reads come first, then the loss.
      int r = 0;
      for (int k = 0; k < 1000 && r == 0; ++k) r = SerialReadByte(handle, b);
      EXPECT_EQ(r, -1);
    }
    EXPECT_EQ(lost_reports, std::vector<int>{handle});
    EXPECT_TRUE(SerialLost(handle));
    EXPECT_TRUE(SerialIsOpen(handle));  // until the program closes it
    int empty = 0;
    const auto t0 = std::chrono::steady_clock::now();
    ReadLikeAReader(1, 5000, empty);
    EXPECT_EQ(SerialWrite(handle, "V", 1), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_EQ(lost_reports.size(), 1u);
    SerialClose(handle);
    EXPECT_FALSE(SerialLost(handle));
    // A new instrument side for the next round.
    master = -1;  // closed above
    NewLine();
  }
  SetSerialLostHandler(nullptr);
}

TEST(ComPortRule, EnvironmentNamesTheDevice) {
  ScopedEnv com12("VNA_COM12", "/dev/pts/77");
  EXPECT_EQ(ComPortDevice(12), "/dev/pts/77");
  ScopedEnv empty("VNA_COM12", "");
  TempDir dev;
  EXPECT_EQ(ComPortDevice(12, dev.path()), "");  // an empty variable counts as unset
}

TEST(ComPortRule, AdaptersInNumericOrderUsbBeforeAcm) {
  TempDir dev;
  for (const char* name : {"ttyUSB10", "ttyACM0", "ttyUSB2", "ttyS0", "ttyUSB", "tty", "ttyACM1"}) {
    dev.Write(name, "");
  }
  ScopedEnv none1("VNA_COM1", nullptr);
  ScopedEnv none3("VNA_COM3", nullptr);
  ScopedEnv none8("VNA_COM8", nullptr);
  const std::vector<std::string> expected = {dev / "ttyUSB2", dev / "ttyUSB10", dev / "ttyACM0",
                                             dev / "ttyACM1"};
  EXPECT_EQ(SerialAdapters(dev.path()), expected);
  EXPECT_EQ(ComPortDevice(1, dev.path()), dev / "ttyUSB2");
  EXPECT_EQ(ComPortDevice(3, dev.path()), dev / "ttyACM0");
  EXPECT_EQ(ComPortDevice(8, dev.path()), dev / "ttyUSB2");  // fewer than 8: the first
  TempDir no_adapters;
  EXPECT_EQ(ComPortDevice(8, no_adapters.path()), "");
}

TEST(SerialOpen, MissingDeviceOrNoTerminalFails) {
  TempDir dir;
  EXPECT_EQ(SerialOpen(dir / "nothing"), kInvalidPort);
  EXPECT_FALSE(SerialLastOpenBusy());  // missing is not busy
  EXPECT_EQ(SerialOpen(dir.Write("plain", "x")), kInvalidPort);
  EXPECT_FALSE(SerialLastOpenBusy());
  EXPECT_EQ(SerialOpen(""), kInvalidPort);
}

}  // namespace
}  // namespace vna
