#include "files/read_limits.h"

#include "shell/text.h"

namespace vna {

std::string TooLargeText(int64_t size, const std::string& what) {
  return "It is" + NumStr(static_cast<double>(size)) + " bytes long, larger than " + what +
         " can be.";
}

}  // namespace vna
