// Read accounting. Every reader times its waits by counting the empty reads
// SerialReadByte returns, each standing for one read time-out (1 ms). The port
// waits in fewer, longer pieces than that, and keeps the count true:
// - What an empty read counts: one time-out of waiting, never less. A call that
//   waited longer (one wait spanning the reader's patience, a sleep to a paced
//   reply's end that found nothing, a 1 ms poll a busy machine stretched)
//   lasted the whole time-outs from its start to the end of its wait, at least
//   one: it returns the first and owes the rest, which the next calls return at
//   once. A wait that ends with bytes counts the whole time-outs before the
//   first of them, at most the patience less one, so the reader always has a
//   read left to take them; the bytes come after those empty reads. Sleeping
//   for bytes known to be on their way (the rest of a flowing reply, or a paced
//   reply that is there when the sleep ends) is reading, and counts nothing. A
//   write starts a new exchange and drops what is owed.
// - When the device is looked at: by a call that owes nothing and holds no byte
//   (held bytes go first); never by a call that returns an owed read, and bytes
//   held wait behind owed reads (SerialTakeHeld hands none out then either).
//   The reader's last read (patience 1) drops what is owed, since the reader
//   counts no further, and goes on as a call that owes nothing: a reply that
//   came while a wait overran is taken, not lost.
// - When a deadline ends a wait: a call with nothing to hand out waits for the
//   first byte until `patience` time-outs after it began (one when the reader
//   does not say), until bytes come, or until the device is found gone. The
//   deadline is judged after each wait on the device, so bytes that come after
//   it are left for the next call. The port never gives up for the reader: the
//   reader's own count does.
// - Paced and prompt ends: once a reply is seen arriving in pieces while a read
//   waits for it, replies come at the line's speed (paced). On such a line the
//   first read after a command, waiting for more than one byte, sleeps until
//   the command and a reply of the expected length can have crossed it (the
//   reply's end), then looks, provided the far end answered within that time
//   last (prompt). A sleep that finds nothing marks the far end not prompt; a
//   first byte that comes by the reply's end marks it prompt again. Not prompt,
//   the read waits for the first byte straight away.
// The table test ReadAccountingTable (tests/platform/serial_test.cpp) walks
// these cases.
#include "platform/serial.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "platform/serial_rate.h"

namespace vna {

namespace {

using Clock = std::chrono::steady_clock;

struct Port {
  int fd = -1;
  std::string device;
  // Reading in batches (see SerialReadByte).
  int baud = 0;                    // as last set: a byte takes 10 bit times on the line
  std::array<uint8_t, 512> buf{};  // taken from the device, not yet handed out: [head, tail)
  size_t head = 0, tail = 0;
  Clock::time_point line_free{};  // when the bytes last written have crossed the line
  bool reply_due = false;         // nothing was read since the last write
  bool awaiting = false;          // no byte came since the last write
  bool paced = false;             // replies were seen trickling in at the line's speed
  bool prompt = true;             // the last reply began within the line's time for it
  int empty_owed = 0;             // empty reads a long wait already lasted
  bool gone = false;              // a read found the device gone (reported by SerialReadByte)
  bool lost = false;              // the device went away: nothing more is read or written
};

// Handles are our own numbers, never reused, so a stale handle can never
// reach a descriptor that was handed out again to some other file.
std::map<int, Port>& Ports() {
  static std::map<int, Port> ports;
  return ports;
}
int next_handle = 1;

// The port last found: a reply is handed out a byte at a time, each byte a
// lookup of the same handle. Closing a port forgets it.
int found_handle = 0;
Port* found_port = nullptr;

Port* Find(int handle) {
  if (found_port && handle == found_handle) return found_port;
  auto it = Ports().find(handle);
  if (it == Ports().end()) return nullptr;
  found_handle = handle;
  found_port = &it->second;
  return found_port;
}

SerialLostHandler lost_handler = nullptr;

// Errors of a device that is gone, as opposed to one that is only quiet.
bool DeviceGone(int err) {
  return err == EIO || err == ENXIO || err == ENODEV || err == EPIPE;
}

// Marks the port lost and says so once; returns what a failed call returns.
int Lost(int handle) {
  Port* p = Find(handle);
  if (!p || p->lost) return -1;
  p->lost = true;
  if (lost_handler) lost_handler(handle);  // may close the port: p is not used after
  return -1;
}

speed_t StandardSpeed(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    case 460800:
      return B460800;
    case 921600:
      return B921600;
    default:
      return B0;
  }
}

bool Apply(int fd, const termios& t, int baud) {
  bool ok = tcsetattr(fd, TCSANOW, &t) == 0;
  if (StandardSpeed(baud) == B0) ok = serial_rate::SetCustom(fd, baud) && ok;
  return ok;
}

// "ttyUSB12" with prefix "ttyUSB" gives 12; -1 when the rest is not a number.
long DeviceNumber(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  long n = 0;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > 1000000) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

}  // namespace

std::vector<std::string> SerialAdapters(const std::string& dev_dir) {
  std::vector<std::pair<long, std::string>> usb, acm;
  if (DIR* d = opendir(dev_dir.c_str())) {
    while (const dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (long n = DeviceNumber(name, "ttyUSB"); n >= 0) usb.emplace_back(n, name);
      if (long n = DeviceNumber(name, "ttyACM"); n >= 0) acm.emplace_back(n, name);
    }
    closedir(d);
  }
  std::sort(usb.begin(), usb.end());
  std::sort(acm.begin(), acm.end());
  std::vector<std::string> out;
  for (const auto* list : {&usb, &acm}) {
    for (const auto& [n, name] : *list) out.push_back(dev_dir + "/" + name);
  }
  return out;
}

std::string ComPortDevice(int port, const std::string& dev_dir) {
  const std::string var = "VNA_COM" + std::to_string(port);
  if (const char* v = std::getenv(var.c_str()); v && *v) return v;
  std::vector<std::string> adapters = SerialAdapters(dev_dir);
  if (adapters.empty()) return "";
  if (port >= 1 && static_cast<size_t>(port) <= adapters.size()) return adapters[port - 1];
  return adapters.front();
}

namespace {
bool last_open_busy = false;
}  // namespace

bool SerialLastOpenBusy() {
  return last_open_busy;
}

int SerialOpen(const std::string& device) {
  last_open_busy = false;
  if (device.empty()) return kInvalidPort;
  // Non-blocking open: a real port without carrier would otherwise block here.
  int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    last_open_busy = errno == EBUSY;  // held with TIOCEXCL by another program
    return kInvalidPort;
  }
  if (!isatty(fd)) {
    close(fd);
    return kInvalidPort;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    last_open_busy = errno == EWOULDBLOCK;  // locked by another program
    close(fd);
    return kInvalidPort;
  }
  ioctl(fd, TIOCEXCL);  // keeps other programs out too; root passes it, hence the lock
  const int handle = next_handle++;
  Ports()[handle] = Port{fd, device};
  return handle;
}

int SerialOpenPort(int port) {
  return SerialOpen(ComPortDevice(port));
}

SerialSetup SerialSetLine(int handle, int baud) {
  Port* p = Find(handle);
  termios t{};
  if (!p || tcgetattr(p->fd, &t) != 0) return SerialSetup::kUnreadable;
  cfmakeraw(&t);
  t.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (speed_t s = StandardSpeed(baud); s != B0) {
    cfsetispeed(&t, s);
    cfsetospeed(&t, s);
  }
  Apply(p->fd, t, baud);
  p->baud = baud;
  return Apply(p->fd, t, baud) ? SerialSetup::kOk : SerialSetup::kSecondApplyFailed;
}

int SerialBaud(int handle) {
  Port* p = Find(handle);
  return p ? serial_rate::Read(p->fd) : 0;
}

bool SerialRaiseRts(int handle) {
  Port* p = Find(handle);
  if (!p) return false;
  int bits = TIOCM_RTS;
  if (ioctl(p->fd, TIOCMBIS, &bits) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

int SerialWrite(int handle, const char* data, int n) {
  Port* p = Find(handle);
  if (!p || p->lost || n < 0) return -1;
  int done = 0;
  while (done < n) {
    ssize_t w = write(p->fd, data + done, static_cast<size_t>(n - done));
    if (w > 0) {
      done += static_cast<int>(w);
    } else if (w < 0 && errno == EINTR) {
      continue;
    } else if (w < 0 && errno == EAGAIN) {
      pollfd pfd{p->fd, POLLOUT, 0};
      if (poll(&pfd, 1, 1000) <= 0) break;
    } else {
      if (w < 0 && DeviceGone(errno)) return Lost(handle);
      break;
    }
  }
  p->empty_owed = 0;  // a new exchange: time waited for the last one is no part of it
  if (done > 0 && p->baud > 0) {
    const auto now = Clock::now();
    p->line_free =
        std::max(p->line_free, now) + std::chrono::microseconds(done * 10'000'000L / p->baud);
    p->reply_due = p->awaiting = true;
  }
  return done;
}

int SerialWrite(int handle, const std::string& text, int n) {
  return SerialWrite(handle, text.data(), std::min(n, static_cast<int>(text.size())));
}

namespace {

constexpr auto kReadTimeout = std::chrono::milliseconds(1);

std::chrono::microseconds LineTime(const Port& p, long bytes) {
  return std::chrono::microseconds(bytes * 10'000'000L / p.baud);
}

// Takes whatever the device holds into the port's buffer. The number of bytes taken.
size_t Drain(Port& p) {
  if (p.head == p.tail) p.head = p.tail = 0;
  size_t taken = 0;
  for (;;) {
    const size_t room = p.buf.size() - p.tail;
    const ssize_t n = room > 0 ? read(p.fd, p.buf.data() + p.tail, room) : 0;
    if (n < 0 && DeviceGone(errno)) p.gone = true;
    if (n <= 0) return taken;
    p.tail += static_cast<size_t>(n);
    taken += static_cast<size_t>(n);
    if (static_cast<size_t>(n) < room) return taken;  // all there was
  }
}

size_t Held(const Port& p) {
  return p.tail - p.head;
}

void (*wait_hook)() = nullptr;

// Read time-outs in `d`, whole ones only: what that much waiting counts as.
int ReadsIn(Clock::duration d) {
  return static_cast<int>(d / kReadTimeout);
}

// Waits until bytes come (true, with them taken into the buffer), the device
// is found gone, or give_up. A signal does not end the wait early, and a
// device that says it has bytes but gives none is looked at again only after
// a read time-out, so the wait never spins.
bool WaitForBytes(Port& p, Clock::time_point give_up) {
  for (;;) {
    const auto now = Clock::now();
    if (now >= give_up) return false;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(give_up - now);
    pollfd pfd{p.fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, static_cast<int>(wait.count()));
    if (wait_hook) wait_hook();
    if (ready > 0 && (pfd.revents & POLLIN) && Drain(p) > 0) return true;
    // Hung up with nothing left to read: the device is gone.
    if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))) p.gone = true;
    if (p.gone) return false;
    if (ready != 0 && !(ready < 0 && errno == EINTR)) {
      std::this_thread::sleep_until(std::min(give_up, now + kReadTimeout));
    }
  }
}

// Fills the empty buffer with up to `expected` bytes, waking as seldom as the
// line allows: every wake-up costs far more processor time than the bytes.
// - The first read after a command, on a line whose replies trickle in at
//   its speed, sleeps until the whole reply can be there: the command's own
//   bytes and the reply's, 10 bit times each. Not while the far end is seen
//   to take longer than that to answer (an instrument that lets its
//   synthesizer settle first): a sleep that finds nothing is a wake-up lost.
// - Otherwise, or when nothing came by then, one wait for the first byte, as
//   long as `patience` read time-outs (at least one) allow.
// - Once bytes flow, it sleeps for the time the rest needs on the line and
//   takes them in one go.
// Returns the number of empty reads the waiting amounts to: with no byte, at
// least one; with bytes, the whole time-outs that passed before the first of
// them (the reader counts these first, as if it had read in between).
int Fill(Port& p, int expected, int patience) {
  const auto start = Clock::now();
  const auto give_up = start + std::max(1, patience) * kReadTimeout;
  const bool reply_due = p.reply_due;
  p.reply_due = false;
  bool slept = false;
  const bool paced_reply = reply_due && p.paced && expected > 1 && p.baud > 0;
  // Nothing to look at before the command and the reply can have crossed the
  // line (two byte times to spare for the far end's own pace).
  const auto reply_end =
      paced_reply ? std::max(start, p.line_free) + LineTime(p, expected + 2) : start;
  if (paced_reply && p.prompt && reply_end - start > kReadTimeout) {
    std::this_thread::sleep_until(reply_end);
    slept = true;
  }
  int empty = 0;
  if (Drain(p) == 0) {
    // Still nothing: the far end is slow, silent or gone.
    if (slept) p.prompt = false;
    if (!WaitForBytes(p, give_up)) {
      return p.gone ? 1 : std::max(1, ReadsIn(Clock::now() - start));
    }
    const auto first_byte = Clock::now();
    empty = std::min(ReadsIn(first_byte - start), std::max(1, patience) - 1);
    // Woken by the reply's first byte: had it come by then, sleeping to the
    // reply's end would have found it.
    if (paced_reply && !slept) p.prompt = first_byte <= reply_end;
    // A reply that is still arriving when its first byte wakes us comes at
    // the line's pace; one that came whole came faster than any line.
    if (p.awaiting && expected > 1 && Held(p) < static_cast<size_t>(expected)) p.paced = true;
  }
  p.awaiting = false;
  const long missing = expected - static_cast<long>(Held(p));
  if (missing > 0 && p.baud > 0) {
    std::this_thread::sleep_for(LineTime(p, missing + 1));
    Drain(p);
  }
  return empty;
}

}  // namespace

int SerialReadByte(int handle, uint8_t& byte, int expected, int patience) {
  Port* p = Find(handle);
  if (!p || p->lost) return -1;
  // Time already spent in an earlier wait comes first, bytes held or not:
  // the reader counts it as it would have counted reads made meanwhile. Not
  // at the reader's last read, which would otherwise give up without a look
  // at what came during that time.
  if (p->empty_owed > 0) {
    if (patience != 1) {
      --p->empty_owed;
      return 0;
    }
    p->empty_owed = 0;
  }
  if (p->head == p->tail) {
    const int empty = Fill(*p, expected, patience);
    if (p->head == p->tail && p->gone) return Lost(handle);
    if (empty > 0) {
      p->empty_owed = empty - 1;
      return 0;
    }
  }
  byte = p->buf[p->head++];
  return 1;
}

void SetSerialWaitHook(void (*hook)()) {
  wait_hook = hook;
}

int SerialTakeHeld(int handle, uint8_t* bytes, int max) {
  Port* p = Find(handle);
  if (!p || p->lost) return -1;
  if (p->empty_owed > 0 || max <= 0) return 0;
  const size_t n = std::min(Held(*p), static_cast<size_t>(max));
  std::copy_n(p->buf.data() + p->head, n, bytes);
  p->head += n;
  return static_cast<int>(n);
}

void SerialClose(int handle) {
  auto it = Ports().find(handle);
  if (it == Ports().end()) return;
  close(it->second.fd);
  if (found_port == &it->second) found_port = nullptr;
  Ports().erase(it);
}

bool SerialIsOpen(int handle) {
  return Find(handle) != nullptr;
}

void SetSerialLostHandler(SerialLostHandler handler) {
  lost_handler = handler;
}

bool SerialLost(int handle) {
  const Port* p = Find(handle);
  return p && p->lost;
}

}  // namespace vna
