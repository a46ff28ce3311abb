// The calibration file, as start-up and Load Calibration File read it.
#include "calibration/cal_file.h"
#include "files/state.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::file_name = vna::fuzz::InputFile(data, size, "input.vcal");
  vna::GetPortACal(0);
  return 0;
}
