// The TDR file, chosen in Load TDR's file dialog.
#include "files/tdr_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.tdr"));
  vna::LoadTDR(0);
  return 0;
}
