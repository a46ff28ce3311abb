#include "sim_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vna::test {

namespace {

using Clock = std::chrono::steady_clock;

std::string Decimal(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", n);
  return text;
}

std::vector<uint8_t> HexLine(const std::string& line) {
  std::vector<uint8_t> bytes;
  std::istringstream in(line);
  std::string h;
  while (in >> h) bytes.push_back(static_cast<uint8_t>(std::stoul(h, nullptr, 16)));
  return bytes;
}

}  // namespace

SimRunner::SimRunner(std::vector<std::string> args, int com_port) {
  SimSettings s;
  s.args = std::move(args);
  s.com_port = com_port;
  Start(s);
}

SimRunner::SimRunner(const SimSettings& settings) {
  Start(settings);
}

void SimRunner::Start(const SimSettings& settings) {
  try {
    Launch(settings);
  } catch (...) {
    // No destructor runs for a runner that never finished starting.
    Stop();
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    throw;
  }
}

SimRunner::~SimRunner() {
  Stop();
  if (env_set_) {
    if (env_before_) {
      setenv(env_name_.c_str(), env_before_->c_str(), 1);
    } else {
      unsetenv(env_name_.c_str());
    }
  }
  std::error_code ec;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
}

void SimRunner::Launch(const SimSettings& settings) {
  com_port_ = settings.com_port;
  std::string tmpl = (std::filesystem::temp_directory_path() / "vna-sim-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
  folder_ = tmpl;
  link_ = folder_ + "/tty";
  control_ = folder_ + "/control";
  log_ = folder_ + "/sim.log";

  std::vector<std::string> argv_text = {
      VNA_BINARY_DIR "/bin/vna-sim", "--link", link_, "--control", control_, "--quiet"};
  if (settings.log) {
    argv_text.push_back("--log");
    argv_text.push_back(log_);
  }
  argv_text.insert(argv_text.end(), settings.args.begin(), settings.args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string err_path = folder_ + "/stderr.txt";
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    pid_ = -1;
    throw std::runtime_error(std::string("cannot start vna-sim: ") + std::strerror(rc));
  }
  // The simulator makes its link last, when everything else is ready.
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(link_)) {
    if (!Running()) throw std::runtime_error("vna-sim stopped: " + StderrText());
    if (Clock::now() > deadline) throw std::runtime_error("vna-sim made no link");
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (settings.set_env) {
    env_name_ = "VNA_COM" + Decimal(com_port_);
    if (const char* old = getenv(env_name_.c_str())) env_before_ = old;
    setenv(env_name_.c_str(), link_.c_str(), 1);
    env_set_ = true;
  }
}

bool SimRunner::Running() {
  if (pid_ <= 0) return false;
  int status;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

void SimRunner::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(3);
  int status;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  pid_ = -1;
}

std::string SimControl(const std::string& control_path, const std::string& line) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, control_path.c_str(), sizeof addr.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("cannot reach vna-sim's control channel");
  }
  const std::string text = line + "\n";
  if (send(fd, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size())) {
    close(fd);
    throw std::runtime_error("cannot send to vna-sim");
  }
  std::string answer;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n') answer += c;
  close(fd);
  if (answer.rfind("ok", 0) != 0) throw std::runtime_error("vna-sim: " + line + ": " + answer);
  return answer.size() > 3 ? answer.substr(3) : "";
}

std::string SimStatus(const std::string& control_path, const std::string& key) {
  std::istringstream in(SimControl(control_path, "status"));
  std::string item;
  while (in >> item) {
    if (item.rfind(key + "=", 0) == 0) return item.substr(key.size() + 1);
  }
  throw std::runtime_error("vna-sim status has no " + key);
}

std::string SimRunner::Control(const std::string& line) {
  return SimControl(control_, line);
}

void SimRunner::SetChannel(int n, const std::string& device) {
  Control("chan " + Decimal(n) + " " + device);
}

std::string SimRunner::Status(const std::string& key) {
  return SimStatus(control_, key);
}

std::vector<std::string> SimRunner::LogLines() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::vector<uint8_t>> SimRunner::Commands() const {
  return CommandsSince("");
}

std::vector<std::vector<uint8_t>> SimRunner::CommandsSince(const std::string& mark) const {
  std::vector<std::vector<uint8_t>> commands;
  for (const std::string& line : LogLines()) {
    if (line.rfind("# ", 0) == 0) {
      if (!mark.empty() && line == "# mark " + mark) commands.clear();
      continue;
    }
    commands.push_back(HexLine(line));
  }
  return commands;
}

std::vector<std::vector<uint8_t>> SimRunner::WaitForCommands(size_t count, const std::string& mark,
                                                             int timeout_ms) const {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    auto commands = CommandsSince(mark);
    if (commands.size() >= count || Clock::now() > deadline) return commands;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::vector<std::string> SimRunner::Notes() const {
  std::vector<std::string> notes;
  for (const std::string& line : LogLines()) {
    if (line.rfind("# ", 0) == 0) notes.push_back(line.substr(2));
  }
  return notes;
}

std::string SimRunner::StderrText() const {
  std::ifstream in(folder_ + "/stderr.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace vna::test
