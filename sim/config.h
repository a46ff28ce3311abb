// Command-line options of vna-sim and its help text.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "front_end.h"
#include "protocol_constants.h"

namespace vna::sim {

struct SimConfig {
  Model model = Model::kUhf;
  bool has_temp = true;
  std::string link;     // symlink to the pseudo-terminal
  std::string control;  // control channel: a Unix socket, or an existing FIFO
  std::string log;      // byte log
  std::string dut_a = "load";
  std::string dut_b = "thru";
  std::vector<std::pair<int, std::string>> chans;  // multiplexer channel 1..6 -> device
  Bridge bridge = Bridge::kReal;
  double noise = 0;
  uint64_t seed = 1;
  std::vector<std::string> faults;  // "kind[:count[:bytes]]"
  double temp_c = 25;
  double supply_v = 13.8;
  double extport_volts = 1.65;
  int extport_digital = 0;
  int max_baud = 115000;
  bool baud_check = true;
  double clock_ppm = 0;
  uint32_t dfr1 = kOffset1, dfr2 = kOffset2;  // offsets of the second DDS, 1e-8 MHz
  double tune_error = 0;                      // MHz the DDS runs from the commanded frequency
  bool pace = false;                          // bytes cross the line at its speed
  bool settle = false;  // a measurement waits for the settling time its command asks
  double autopoweroff_s = 600;
  bool quiet = false;
  std::string send;  // client mode: the line to send to --control
  bool help = false;
};

// Parses argv; false with a message for a bad option.
bool ParseArgs(int argc, char** argv, SimConfig& config, std::string& error);

std::string HelpText();

}  // namespace vna::sim
