// The lines of the program's text files, which end in CR LF.
#pragma once

#include <string>
#include <vector>

namespace vna::testing {

// Splits file bytes at CR LF; a last line without one is kept.
inline std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> out;
  size_t p = 0;
  while (p < bytes.size()) {
    size_t e = bytes.find("\r\n", p);
    if (e == std::string::npos) {
      out.push_back(bytes.substr(p));
      break;
    }
    out.push_back(bytes.substr(p, e - p));
    p = e + 2;
  }
  return out;
}

// Each line followed by CR LF.
inline std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

}  // namespace vna::testing
