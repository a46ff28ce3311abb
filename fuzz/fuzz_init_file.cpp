// The init file, as start-up reads it.
#include "files/init_file.h"
#include "files/state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin(&fuzz::Settings());
  file_name = fuzz::InputFile(data, size, "input.ini");
  if (fuzz::WholeOrNothing(
          fuzz::Settings(), "init file", [] { LoadInitData(); }, fuzz::SettingsRefusal)) {
    fuzz::ExpectSettingsTaken(data, size);
  }
  return 0;
}
