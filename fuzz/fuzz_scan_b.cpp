// The Port B scan file, chosen in its Load Scan file dialog.
#include "files/scan_file_b.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.scnb"));
  vna::LoadScanB();
  return 0;
}
