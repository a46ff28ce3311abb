#include "graph/freq_grid.h"

#include "files/settings.h"
#include "shell/text.h"

namespace vna {

void FreqDecimals() {
  double span = end_freq - start_freq;
  int n = 3;
  while (n < 8 && span < 10) {
    span *= 10;
    ++n;
  }
  SetDigits(n);
}

}  // namespace vna
