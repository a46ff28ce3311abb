// The byte log: every byte received from the program, framed as the
// instrument framed it, one command per line in upper-case hexadecimal
// ("4B 2B"), so a test can assert the exact bytes sent. Joined in order, the
// hex lines give back the whole stream. Lines starting with "# " are the
// simulator's own notes (faults, protocol errors, control commands).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vna::sim {

class EventLog {
 public:
  EventLog() = default;
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  bool Open(const std::string& path, std::string& error);
  void Bytes(const uint8_t* data, size_t n);
  void Note(const std::string& text);
  // Protocol errors are also echoed to stderr: they mean the program sent
  // something the instrument would not take.
  void ProtocolError(const std::string& text);
  long ProtocolErrors() const { return protocol_errors_; }

 private:
  std::FILE* file_ = nullptr;
  long protocol_errors_ = 0;
};

}  // namespace vna::sim
