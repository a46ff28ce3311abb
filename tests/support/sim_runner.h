// Starts the instrument simulator (vna-sim) for a test: in a temporary folder,
// with its control channel and byte log there, waits for its pseudo-terminal
// link, sets VNA_COM<n> to it, and stops it again on destruction.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vna::test {

struct SimSettings {
  std::vector<std::string> args;  // further vna-sim options: --model, --dut, --fault, ...
  int com_port = 8;               // VNA_COM<n> to set; 8 is the program's default port
  bool set_env = true;
  bool log = true;  // keep the byte log (a long soak may do without)
};

// The control channel of a simulator this runner did not start (one a
// launch script started): one command and the answer after "ok", and one
// value of the status line. Both throw as SimRunner::Control does.
std::string SimControl(const std::string& control_path, const std::string& line);
std::string SimStatus(const std::string& control_path, const std::string& key);

class SimRunner {
 public:
  explicit SimRunner(std::vector<std::string> args = {}, int com_port = 8);
  explicit SimRunner(const SimSettings& settings);
  ~SimRunner();
  SimRunner(const SimRunner&) = delete;
  SimRunner& operator=(const SimRunner&) = delete;

  const std::string& Link() const { return link_; }      // the device path the program opens
  const std::string& Folder() const { return folder_; }  // the temporary folder
  int ComPort() const { return com_port_; }
  pid_t Pid() const { return pid_; }
  bool Running();
  void Stop();

  // Sends one control command and returns the answer after "ok"; throws
  // std::runtime_error when the simulator answers "error: ...".
  std::string Control(const std::string& line);
  void SetDut(const std::string& device) { Control("dut " + device); }
  void SetDutB(const std::string& device) { Control("dut-b " + device); }
  void SetChannel(int n, const std::string& device);
  void Fault(const std::string& kind_and_count) { Control("fault " + kind_and_count); }
  void Mark(const std::string& text) { Control("mark " + text); }
  // One value of the status line ("freq", "relays", "gainB", ...).
  std::string Status(const std::string& key);

  // The byte log: every line; the framed commands (hex lines) as bytes; the notes.
  std::vector<std::string> LogLines() const;
  std::vector<std::vector<uint8_t>> Commands() const;
  // Framed commands after the last "mark text" note.
  std::vector<std::vector<uint8_t>> CommandsSince(const std::string& mark) const;
  std::vector<std::string> Notes() const;
  // The program's bytes reach the simulator a moment after its write returns:
  // waits until at least count framed commands stand in the log (after the
  // mark, when one is given) and returns them; fewer after timeout_ms.
  std::vector<std::vector<uint8_t>> WaitForCommands(size_t count, const std::string& mark = "",
                                                    int timeout_ms = 2000) const;
  // What the simulator printed on stderr (protocol errors among it).
  std::string StderrText() const;

 private:
  void Start(const SimSettings& settings);
  void Launch(const SimSettings& settings);

  std::string folder_, link_, control_, log_;
  int com_port_ = 8;
  pid_t pid_ = -1;
  std::string env_name_;
  std::optional<std::string> env_before_;
  bool env_set_ = false;
};

}  // namespace vna::test
