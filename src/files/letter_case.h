// Letter case of the system's 8-bit texts: only A-Z and a-z change, so file
// names and keys compare the same on every machine.
#pragma once

#include <string>

namespace vna {

std::string LowerCase(std::string s);
std::string UpperCase(std::string s);

}  // namespace vna
