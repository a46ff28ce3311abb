// The debug channel: trace lines a developer can switch on, never shown to a
// user.
#pragma once

#include <string>

namespace vna {

// Writes one line to stderr under the logging category "vna.debug", which is
// off unless switched on (QT_LOGGING_RULES="vna.debug=true").
void DebugOutput(const std::string& line);

}  // namespace vna
