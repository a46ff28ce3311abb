// Decimals of the frequencies of the current scan range.
#pragma once

namespace vna {

// Sets the decimals of number text from the span end_freq - start_freq:
// 3 for 10 MHz and more, one more for each tenfold narrower span, at most 8.
void FreqDecimals();

}  // namespace vna
