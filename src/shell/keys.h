// Single-key commands of the graph windows and the hidden four-digit codes
// that switch the diagnostic and service modes.
#pragma once

namespace vna {

// Runs the command of the key in msg_wparam (the window handler has set
// key_down). Nothing acts and nothing is collected while a scan runs.
int HandleKey();

// Collects the key for the hidden codes and acts on a complete code. Only
// the first four keys after the defaults can form a code.
int CheckKeyCodes();

}  // namespace vna
