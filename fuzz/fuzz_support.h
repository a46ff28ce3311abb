// What every fuzz harness shares: the program brought up once, headless, as
// the tests bring it up (dialogs defined, the test hook answering every box
// and dialog with its default), in a temporary folder of its own, its main
// window open; before each input the state it had then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vna::fuzz {

class Guard;

// Before each input: the fresh state and the main window. What `guarded`
// holds (the stored scans when none is given) must then be what it held
// before the first input, as start-up left it: no input's state carries
// over to the next.
void Begin(Guard* guarded = nullptr);
// The same check once more after the last input, so that the last input's
// state is judged too (the replay driver's end).
void CheckLastReset();
// Writes the input to a file of this name in the temporary folder; its path.
std::string InputFile(const uint8_t* data, size_t size, const std::string& name);
// The temporary folder (ends without a slash).
const std::string& Folder();

}  // namespace vna::fuzz
