// The Port A scan file, chosen in Load Scan's file dialog.
#include "files/scan_file_a.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.scn"));
  vna::LoadScanA();
  return 0;
}
