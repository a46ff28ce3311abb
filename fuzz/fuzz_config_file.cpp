// The config file, as start-up reads it.
#include "files/config_file.h"
#include "files/state.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::file_name = vna::fuzz::InputFile(data, size, "input.cfg");
  vna::LoadConfig();
  return 0;
}
