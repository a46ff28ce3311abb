// vna-sim: a virtual instrument on a pseudo-terminal, for the tests and for
// trying the program without hardware. See --help.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config.h"
#include "control.h"
#include "device.h"
#include "event_log.h"
#include "instrument.h"
#include "line_pacer.h"
#include "pty_link.h"
#include "value_parse.h"

namespace vna::sim {

namespace {

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) {
  g_stop = 1;
}

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool BuildEnvironment(const SimConfig& config, Environment& env, std::string& error) {
  env.port_a = ParseDevice(config.dut_a, error);
  if (!env.port_a) return error = "--dut: " + error, false;
  if (!env.port_a->HasReflection()) return error = "--dut: not a Port A device", false;
  env.port_b = ParseDevice(config.dut_b, error);
  if (!env.port_b) return error = "--dut-b: " + error, false;
  if (!env.port_b->HasTransmission()) return error = "--dut-b: not a Port B device", false;
  for (const auto& [n, device] : config.chans) {
    env.chans[n] = ParseDevice(device, error);
    if (!env.chans[n]) return error = "--chan: " + error, false;
    if (!env.chans[n]->HasTransmission()) return error = "--chan: not a Port B device", false;
  }
  for (const std::string& f : config.faults) {
    if (!env.faults.Set(Split(f, ':'), error)) return error = "--fault: " + error, false;
  }
  env.temp_c = config.temp_c;
  env.supply_v = config.supply_v;
  env.extport_volts = config.extport_volts;
  env.extport_digital = config.extport_digital;
  env.tune_error = config.tune_error;
  return true;
}

// Writes what the line will take now; the rest waits for the next poll.
void Flush(int fd, std::string& out) {
  while (!out.empty()) {
    const ssize_t n = write(fd, out.data(), out.size());
    if (n <= 0) return;
    out.erase(0, static_cast<size_t>(n));
  }
}

int Run(const SimConfig& config) {
  std::string error;
  Environment env;
  if (!BuildEnvironment(config, env, error)) {
    std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
    return 2;
  }
  EventLog log;
  if (!config.log.empty() && !log.Open(config.log, error)) {
    std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
    return 2;
  }
  Instrument instrument(config, std::move(env), log);
  ControlServer control;
  if (!config.control.empty() && !control.Open(config.control, error)) {
    std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
    return 2;
  }
  // The link comes last: whoever waits for it finds everything else ready.
  PtyLink pty;
  if (!pty.Open(config.link, error)) {
    std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
    return 2;
  }
  if (!config.quiet) {
    std::fprintf(stderr, "vna-sim: %s model on %s%s%s\n",
                 config.model == Model::kUhf ? "two-multiplier (uhf)" : "single-DDS (7306)",
                 pty.DeviceName().c_str(), config.link.empty() ? "" : " linked as ",
                 config.link.c_str());
  }

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string out;
  bool quit = false;
  auto run_control = [&](const std::string& line) { return RunControl(instrument, line, quit); };
  LinePacer pacer;
  std::vector<uint8_t> buf(4096);
  std::vector<pollfd> fds;
  while (!g_stop && !quit && !instrument.HungUp()) {
    const bool settling = Now() < instrument.HoldUntil();
    const bool writable = !out.empty() && !config.pace && !settling;
    fds.clear();
    fds.push_back({pty.Master(), static_cast<short>(POLLIN | (writable ? POLLOUT : 0)), 0});
    control.AddPollFds(fds);
    // Woken at least every 20 ms to clear the line's exclusive flag (see
    // PtyLink), and in time for the next byte of a paced line.
    double next = instrument.NextDeadline();
    if (config.pace) next = std::min(next, pacer.NextEvent());
    if (settling) next = std::min(next, instrument.HoldUntil());
    const double wait = std::isinf(next) ? 0.02 : std::clamp(next - Now(), 0.0, 0.02);
    timespec timeout{0, static_cast<long>(wait * 1e9)};
    const int ready = ppoll(fds.data(), fds.size(), &timeout, nullptr);
    if (ready < 0 && errno != EINTR) {
      std::fprintf(stderr, "vna-sim: poll: %s\n", std::strerror(errno));
      return 1;
    }
    if (ready > 0 && (fds[0].revents & POLLIN)) {
      ssize_t n;
      while ((n = read(pty.Master(), buf.data(), buf.size())) > 0) {
        const int line = pty.LineBaud();
        if (config.baud_check && line != instrument.Baud()) {
          log.Note(Format("%zd bytes garbled: the line runs at %d baud, the instrument at %d", n,
                          line, instrument.Baud()));
          continue;
        }
        if (config.pace) {
          pacer.Incoming(buf.data(), static_cast<size_t>(n), Now(), instrument.Baud());
        } else {
          instrument.Receive(buf.data(), static_cast<size_t>(n), Now(), out);
        }
      }
    }
    if (config.pace) {
      const std::vector<uint8_t> arrived = pacer.Arrived(Now());
      instrument.Receive(arrived.data(), arrived.size(), Now(), out);
    }
    pty.ReleaseExclusive();
    if (ready > 0) control.Service(fds, 1, run_control);
    instrument.Tick(Now(), out);
    if (Now() < instrument.HoldUntil()) {
      // The reply is still being measured.
    } else if (config.pace) {
      pacer.Send(pty.Master(), out, Now(), instrument.Baud());
    } else {
      Flush(pty.Master(), out);
    }
  }
  return 0;
}

}  // namespace

}  // namespace vna::sim

int main(int argc, char** argv) {
  using namespace vna::sim;
  SimConfig config;
  std::string error;
  if (!ParseArgs(argc, argv, config, error)) {
    std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
    return 2;
  }
  if (config.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (!config.send.empty()) {
    std::string answer;
    if (config.control.empty()) {
      std::fprintf(stderr, "vna-sim: --send needs --control PATH\n");
      return 2;
    }
    if (!SendControl(config.control, config.send, answer, error)) {
      std::fprintf(stderr, "vna-sim: %s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", answer.c_str());
    return answer.rfind("ok", 0) == 0 ? 0 : 1;
  }
  return Run(config);
}
