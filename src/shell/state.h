// Globals of the application shell that other folders read.
#pragma once

namespace vna {

// Decimals used when a number that is not whole becomes text, and when a
// double is printed into a window. 2 until start-up sets it; procedures that
// write numbers set their own and leave it set. Never above 40.
extern int number_decimals;

}  // namespace vna
