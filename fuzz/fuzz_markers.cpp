// The marker file, chosen in Load Markers' file dialog.
#include "fuzz/fuzz_support.h"
#include "graph/markers.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vna::fuzz::Begin();
  vna::testhook::QueueFileAnswer(vna::fuzz::InputFile(data, size, "input.mrk"));
  vna::LoadMarkers();
  return 0;
}
