// The instrument's side of the serial protocol: frames the command bytes by
// their lengths (argument bytes may look like letters), keeps the state the
// commands set, and answers with exactly the bytes the protocol gives.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config.h"
#include "device.h"
#include "event_log.h"
#include "front_end.h"

namespace vna::sim {

// Injected faults; each counts the replies it still affects (-1: until cleared).
struct Faults {
  int silence = 0;    // replies withheld
  int checksum = 0;   // measurement replies (also resends) with a damaged checksum
  int overload = 0;   // measurements with the load signal far beyond both ends of the range
  int clip = 0;       // measurements with the load signal beyond the top of the range only
  int noref = 0;      // measurements without a reference signal
  int nosignal = 0;   // measurements whose words are all zero
  int gainstuck = 0;  // measurements with the Port A gain step stuck at 1x
  int short_reply = 0;
  int short_bytes = 40;  // length of a short measurement reply
  int hangup = 0;        // the link closes instead of the reply (a cable pulled mid-exchange)

  // Faults waiting for their reading: each starts when `readings` more
  // readings (measurement replies, band-scan levels) have been taken, so a
  // cable can come loose at the Nth point of a measurement.
  struct Waiting {
    long readings;
    std::vector<std::string> words;
  };
  std::vector<Waiting> waiting;

  // words: kind [count [bytes]] [after N]; kind "none" clears everything.
  bool Set(const std::vector<std::string>& words, std::string& error);
  // A reading begins: the waiting faults whose turn it is start now.
  void ReadingBegins();
  std::string Describe() const;
};

// What the outside world sets: devices, housekeeping values, faults.
struct Environment {
  DevicePtr port_a, port_b;
  std::array<DevicePtr, 7> chans{};  // multiplexer channels 1..6; null = the Port B device
  double temp_c = 25;
  double supply_v = 13.8;
  double extport_volts = 1.65;
  int extport_digital = 0;
  // MHz by which the DDS runs away from the frequency commanded; the
  // read-back word of the reply tells the word it really set.
  double tune_error = 0;
  Faults faults;
};

class Instrument {
 public:
  Instrument(const SimConfig& config, Environment env, EventLog& log);

  // Bytes from the line at time now (seconds); reply bytes are appended to out.
  void Receive(const uint8_t* data, size_t n, double now, std::string& out);
  // Time-outs: a lone "Q", a command that never completes, the auto power-down.
  void Tick(double now, std::string& out);
  double NextDeadline() const;

  // The line speed the instrument runs at; bytes sent at another speed are garbled.
  int Baud() const { return baud_; }

  void PowerOn();
  void PowerOff(const std::string& why);
  bool PoweredOn() const { return power_ == Power::kOn; }
  // A hangup fault withheld a reply: the link must close now.
  bool HungUp() const { return hung_up_; }
  // Until then nothing leaves: a measurement still settling (--settle).
  double HoldUntil() const { return hold_until_; }

  Environment& Env() { return env_; }
  FrontEnd& Front() { return front_; }
  EventLog& Log() { return log_; }
  std::string Status() const;

 private:
  enum class Power { kOn, kOff, kLogicTest };

  struct BandScan {
    bool active = false;
    double next = 0, end = 0, step = 0;  // MHz, nominal
    long sent = 0;
  };

  int FrameLength(double now) const;
  void Process(double now, std::string& out);
  void Execute(const std::vector<uint8_t>& cmd, double now, std::string& out);
  void StreamByte(uint8_t b, std::string& out);
  void SendLevel(std::string& out);

  void Send(const std::string& bytes, std::string& out);
  void SendMeasurement(const Reply& reply, std::string& out);
  // One measurement at the frequency the DDS really runs at; its word on
  // `clock` goes back as the read-back word.
  void Measure(double mhz, double clock, std::string& out);

  void Gains(uint8_t a, uint8_t b);
  void Averaging(uint8_t code);
  void ExternalPort(const std::vector<uint8_t>& cmd, std::string& out);
  void Temperature(uint8_t which, std::string& out);
  void TwoMultiplier(const std::vector<uint8_t>& cmd, std::string& out);
  void SingleDds(const std::vector<uint8_t>& cmd, std::string& out);
  void StartBandScan(const std::vector<uint8_t>& cmd, std::string& out);

  double Clock() const;  // nominal DDS clock of the oscillator in use, MHz
  double TrueMhz(double nominal) const { return nominal * (1 + clock_ppm_ * 1e-6); }
  const Device& PortBDevice() const;
  std::string VersionText() const;

  Model model_;
  bool has_temp_;
  int max_baud_;
  double clock_ppm_;
  uint32_t dfr1_, dfr2_;  // second-DDS offsets of oscillators 1 and 2, 1e-8 MHz
  double autopoweroff_s_;
  Environment env_;
  EventLog& log_;
  FrontEnd front_;

  // Line framing.
  std::vector<uint8_t> inbuf_;
  double pending_since_ = 0;
  double last_activity_ = 0;

  // State the commands set.
  Power power_ = Power::kOn;
  int baud_ = 57600;
  PathState path_;
  int sig_select_ = 2;
  int osc_ = 1;
  int mult1_ = 14, mult2_ = 13;
  int settle_ = 0;
  bool honour_settle_ = false;
  double hold_until_ = 0;
  bool auto_power_down_ = false;
  bool hung_up_ = false;
  int mux_ = 0;
  double freq_mhz_ = 0;  // nominal programmed frequency
  Reply last_reply_{};
  BandScan scan_;

  // Counters for the status line.
  long measurements_ = 0, loop_resets_ = 0, syncs_ = 0;
  long levels_ = 0;    // band-scan levels sent
  long versions_ = 0;  // version replies sent: a test sees the program's link check answered
};

}  // namespace vna::sim
