// The init file of a program that ran before, for the tests that start the
// whole program: data/init_defaults.ini of the files tests (the defaults as
// the program writes them) with what that file leaves to the machine filled
// in, so start-up reads it without a box of its own to show.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace vna::testing {

inline std::string InstalledInitFile(const std::string& program_folder, int width = 1000,
                                     int height = 700) {
  std::ifstream in(std::string(VNA_SOURCE_DIR) + "/tests/files/data/init_defaults.ini",
                   std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), {});
  const std::pair<std::string, std::string> fills[] = {
      {"@PROGRAM_FOLDER@", program_folder},
      {"@WIN_WIDTH@", " " + std::to_string(width)},
      {"@WIN_HEIGHT@", " " + std::to_string(height)},
      {"@MSEC@", " 0"},
  };
  for (const auto& [mark, value] : fills) {
    for (size_t p = text.find(mark); p != std::string::npos; p = text.find(mark, p + value.size()))
      text.replace(p, mark.size(), value);
  }
  return text;
}

}  // namespace vna::testing
