#include "control.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "value_parse.h"

namespace vna::sim {

namespace {

std::vector<std::string> SplitWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

// The rest of the line after its first n words, as typed.
std::string After(const std::string& line, int n) {
  size_t i = 0;
  for (int k = 0; k < n; ++k) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  }
  return Trim(line.substr(i));
}

bool FillAddress(const std::string& path, sockaddr_un& addr, std::string& error) {
  addr = {};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) {
    error = "control path too long: " + path;
    return false;
  }
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

std::string Ok(const std::string& what = "") {
  return what.empty() ? "ok" : "ok " + what;
}

}  // namespace

std::string RunControl(Instrument& inst, const std::string& raw, bool& quit) {
  const std::string line = Trim(raw);
  const std::vector<std::string> w = SplitWords(line);
  if (w.empty()) return "error: empty command";
  const std::string& cmd = w[0];
  std::string error;
  Environment& env = inst.Env();
  std::string answer;
  double value;

  if (cmd == "dut" || cmd == "dut-b") {
    DevicePtr dev = ParseDevice(After(line, 1), error);
    if (!dev) return "error: " + error;
    const bool port_a = cmd == "dut";
    if (port_a ? !dev->HasReflection() : !dev->HasTransmission()) {
      return std::string("error: not a Port ") + (port_a ? "A" : "B") + " device";
    }
    (port_a ? env.port_a : env.port_b) = dev;
    answer = Ok();
  } else if (cmd == "chan") {
    long n;
    if (w.size() < 3 || !ParseInt(w[1], n) || n < 1 || n > 6) {
      return "error: chan N DEVICE, N from 1 to 6";
    }
    if (w[2] == "none") {
      env.chans[n] = nullptr;
    } else {
      DevicePtr dev = ParseDevice(After(line, 2), error);
      if (!dev) return "error: " + error;
      if (!dev->HasTransmission()) return "error: not a Port B device";
      env.chans[n] = dev;
    }
    answer = Ok();
  } else if (cmd == "fault") {
    if (!env.faults.Set(std::vector<std::string>(w.begin() + 1, w.end()), error)) {
      return "error: " + error;
    }
    answer = Ok(env.faults.Describe());
  } else if (cmd == "temp" || cmd == "supply" || cmd == "extport") {
    if (w.size() != 2 || !ParseSi(w[1], value)) return "error: " + cmd + " needs one number";
    (cmd == "temp" ? env.temp_c : cmd == "supply" ? env.supply_v : env.extport_volts) = value;
    answer = Ok();
  } else if (cmd == "tune-error") {
    if (w.size() != 2 || !ParseSi(w[1], value)) return "error: tune-error MHZ";
    env.tune_error = value;
    answer = Ok();
  } else if (cmd == "bridge") {
    Bridge bridge;
    if (w.size() != 2 || !ParseBridge(w[1], bridge)) return "error: bridge ideal|real|varying";
    inst.Front().SetBridge(bridge);
    answer = Ok();
  } else if (cmd == "noise") {
    long seed = 1;
    if (w.size() < 2 || w.size() > 3 || !ParseSi(w[1], value) || value < 0 ||
        (w.size() == 3 && !ParseInt(w[2], seed))) {
      return "error: noise SIGMA [SEED]";
    }
    inst.Front().SetNoise(value, static_cast<uint64_t>(seed));
    answer = Ok();
  } else if (cmd == "power") {
    if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) return "error: power on|off";
    if (w[1] == "on") {
      inst.PowerOn();
    } else {
      inst.PowerOff("control channel");
    }
    answer = Ok();
  } else if (cmd == "mark") {
    answer = Ok();
  } else if (cmd == "status") {
    return Ok(inst.Status());
  } else if (cmd == "quit") {
    quit = true;
    answer = Ok();
  } else {
    return "error: unknown command \"" + cmd + "\"";
  }
  inst.Log().Note(cmd == "mark" ? "mark " + After(line, 1) : "control: " + line);
  return answer;
}

ControlServer::~ControlServer() {
  for (const Client& c : clients_) close(c.fd);
  if (fifo_fd_ >= 0) close(fifo_fd_);
  if (fifo_keep_ >= 0) close(fifo_keep_);
  if (listen_fd_ >= 0) {
    close(listen_fd_);
    unlink(path_.c_str());
  }
}

bool ControlServer::Open(const std::string& path, std::string& error) {
  path_ = path;
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
    fifo_ = true;
    fifo_fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    fifo_keep_ = open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fifo_fd_ < 0 || fifo_keep_ < 0) {
      error = "cannot open the FIFO " + path + ": " + std::strerror(errno);
      return false;
    }
    return true;
  }
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) {
      error = path + " exists and is neither a socket nor a FIFO";
      return false;
    }
    unlink(path.c_str());  // left behind by an earlier run
  }
  sockaddr_un addr;
  if (!FillAddress(path, addr, error)) return false;
  listen_fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listen_fd_, 8) != 0) {
    error = "cannot make the control socket " + path + ": " + std::strerror(errno);
    if (listen_fd_ >= 0) close(listen_fd_);
    listen_fd_ = -1;
    return false;
  }
  return true;
}

void ControlServer::AddPollFds(std::vector<pollfd>& fds) const {
  if (fifo_fd_ >= 0) fds.push_back({fifo_fd_, POLLIN, 0});
  if (listen_fd_ >= 0) fds.push_back({listen_fd_, POLLIN, 0});
  for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
}

void ControlServer::Lines(std::string& pending, int reply_fd,
                          const std::function<std::string(const std::string&)>& run) {
  size_t nl;
  while ((nl = pending.find('\n')) != std::string::npos) {
    const std::string line = pending.substr(0, nl);
    pending.erase(0, nl + 1);
    if (Trim(line).empty()) continue;
    const std::string answer = run(line) + "\n";
    if (reply_fd >= 0) {
      // Answers are short; a client that does not read them loses them.
      [[maybe_unused]] ssize_t n = send(reply_fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    } else if (answer.rfind("error", 0) == 0) {
      std::fprintf(stderr, "vna-sim: %s", answer.c_str());
    }
  }
}

void ControlServer::Service(const std::vector<pollfd>& fds, size_t first,
                            const std::function<std::string(const std::string&)>& run) {
  size_t i = first;
  char buf[4096];
  if (fifo_fd_ >= 0) {
    if (fds[i].revents & POLLIN) {
      ssize_t n;
      while ((n = read(fifo_fd_, buf, sizeof buf)) > 0) fifo_pending_.append(buf, size_t(n));
      Lines(fifo_pending_, -1, run);
    }
    ++i;
  }
  std::vector<Client> accepted;
  if (listen_fd_ >= 0) {
    if (fds[i].revents & POLLIN) {
      int fd;
      while ((fd = accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
        accepted.push_back({fd, ""});
      }
    }
    ++i;
  }
  // Clients polled this round are the first clients_.size() entries after the listener.
  std::vector<Client> kept;
  for (Client& c : clients_) {
    bool alive = true;
    if (i < fds.size() && fds[i].fd == c.fd && fds[i].revents) {
      ssize_t n;
      while ((n = read(c.fd, buf, sizeof buf)) > 0) c.pending.append(buf, size_t(n));
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) alive = false;
      Lines(c.pending, c.fd, run);
    }
    ++i;
    if (alive) {
      kept.push_back(c);
    } else {
      close(c.fd);
    }
  }
  for (Client& c : accepted) kept.push_back(c);
  clients_ = std::move(kept);
}

bool SendControl(const std::string& path, const std::string& line, std::string& answer,
                 std::string& error) {
  sockaddr_un addr;
  if (!FillAddress(path, addr, error)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    error = "cannot reach the simulator at " + path + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  const std::string text = line + "\n";
  if (send(fd, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size())) {
    error = "cannot send to the simulator";
    close(fd);
    return false;
  }
  answer.clear();
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n') answer += c;
  close(fd);
  return true;
}

}  // namespace vna::sim
