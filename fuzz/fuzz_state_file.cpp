// A state file, chosen in Recall State's file dialog: the settings, then the
// calibration and config files it names.
#include "files/file_commands.h"
#include "files/settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "platform/testhook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin(&fuzz::Settings());
  testhook::QueueFileAnswer(fuzz::InputFile(data, size, "input.stat"));
  if (fuzz::WholeOrNothing(
          fuzz::Settings(), "state file", [] { LoadStateFile(); }, fuzz::SettingsRefusal)) {
    // The calibration and config files it names are read next: one that
    // cannot be read leaves the names in force before it.
    fuzz::ExpectSettingsTaken(data, size,
                              {&cal_file_path, &cal_file_name, &cal_folder, &config_file_path,
                               &config_file_name, &config_folder});
  }
  return 0;
}
