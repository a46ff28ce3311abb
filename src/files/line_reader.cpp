#include "files/line_reader.h"

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
int LineValueInt(const std::string& line) {
  return Rnd(LineValue(line));
}
int LineValueInt() {
  return LineValueInt(line_buf);
}

}  // namespace vna
