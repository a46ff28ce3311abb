#include "shell/state.h"

namespace vna {

int number_decimals = 2;

}  // namespace vna
