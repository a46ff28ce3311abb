// A state file, chosen in Recall State's file dialog: the settings, then the
// calibration and config files it names.
#include "files/file_commands.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.stat"));
  vna::LoadStateFile();
  return 0;
}
