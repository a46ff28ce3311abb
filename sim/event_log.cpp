#include "event_log.h"

#include <cerrno>
#include <cstring>

namespace vna::sim {

EventLog::~EventLog() {
  if (file_) std::fclose(file_);
}

bool EventLog::Open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    error = "cannot write the log " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void EventLog::Bytes(const uint8_t* data, size_t n) {
  if (!file_ || n == 0) return;
  for (size_t i = 0; i < n; ++i) std::fprintf(file_, i ? " %02X" : "%02X", data[i]);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void EventLog::Note(const std::string& text) {
  if (!file_) return;
  std::fprintf(file_, "# %s\n", text.c_str());
  std::fflush(file_);
}

void EventLog::ProtocolError(const std::string& text) {
  ++protocol_errors_;
  Note("protocol error: " + text);
  std::fprintf(stderr, "vna-sim: protocol error: %s\n", text.c_str());
}

}  // namespace vna::sim
