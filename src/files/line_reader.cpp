#include "files/line_reader.h"

#include <cmath>

#include "files/state.h"
#include "shell/text.h"

namespace vna {

void ReadDataLine(int /*line_no*/) {
  // ReadLine empties line_buf first and leaves it empty at the end of file.
  ReadLine(data_file, line_buf, kLineBufChars);
}

double LineValue(const std::string& line) {
  return ParseNumber(line);
}
double LineValue() {
  return LineValue(line_buf);
}
bool HoldsNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  if (text[i] == '-') ++i;
  auto digit = [&](size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
  if (!digit(i) && !(i < text.size() && text[i] == '.' && digit(i + 1))) return false;
  return std::isfinite(LineValue(text));
}

int LineValueInt(const std::string& line) {
  return Rnd(LineValue(line));
}
int LineValueInt() {
  return LineValueInt(line_buf);
}

}  // namespace vna
