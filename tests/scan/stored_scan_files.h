// What the scan tests read back of a stored scan: the point records of the
// Port A and Port B scan files the program wrote, and the stored Port B
// scan's measured points.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scan/state.h"

namespace vna::test {

// The lines of a file that end in CR LF (a last line without one is dropped).
inline std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) break;
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// A Port A scan file's point records: frequency and |Z| of each.
struct FileScanA {
  int count = -1;
  std::vector<double> freq, zmag;
  std::string after_points;  // the line after the last record
};
inline FileScanA ReadScanA(const std::string& path) {
  const std::vector<std::string> l = FileLines(path);
  FileScanA s;
  if (l.size() < 18) return s;
  s.count = std::stoi(l[2]);
  for (int i = 0; i < s.count && 17 + 3 * i + 2 < static_cast<int>(l.size()); ++i) {
    s.freq.push_back(std::stod(l[17 + 3 * i]));
    s.zmag.push_back(std::stod(l[18 + 3 * i]));
  }
  const size_t after = 17 + 3 * static_cast<size_t>(s.count);
  if (after < l.size()) s.after_points = l[after];
  return s;
}

// A Port B scan file's count and record frequencies (count + 1 records).
struct FileScanB {
  int count = -1;
  std::vector<double> freq, s21;
};
inline FileScanB ReadScanB(const std::string& path) {
  const std::vector<std::string> l = FileLines(path);
  FileScanB s;
  if (l.size() < 30) return s;
  s.count = std::stoi(l[2]);
  for (int i = 0; i <= s.count && 29 + 5 * i + 1 < static_cast<int>(l.size()); ++i) {
    s.freq.push_back(std::stod(l[29 + 5 * i]));
    s.s21.push_back(std::stod(l[30 + 5 * i]));
  }
  return s;
}

// The stored Port B scan: its count and the columns of its measured points.
struct StoredB {
  int count;
  std::vector<double> freq, s21, phase;
  bool operator==(const StoredB&) const = default;
};
inline StoredB TakeStoredB() {
  const int n = scanB_npoints;
  return {n, std::vector<double>(scanB_freq, scanB_freq + n),
          std::vector<double>(s21_dB, s21_dB + n),
          std::vector<double>(scanB_phase, scanB_phase + n)};
}

}  // namespace vna::test
