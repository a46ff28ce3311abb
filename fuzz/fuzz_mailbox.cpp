// The registry mailbox: the store's file as another program may have left
// it, polled once for a request.
#include "files/settings.h"
#include "fuzz/fuzz_support.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/mailbox.h"
#include "shell/state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vna;
  fuzz::Begin();
  fuzz::InputFile(data, size, "registry.ini");  // VNA_REGISTRY_FILE names it
  control_csv = fuzz::Folder() + "/result.csv";
  vna_present = 1;  // no port: a scan it orders stops at its first point
  regctl_mode = 2;
  main_loop_on = 1;
  // One poll: the wait after it ends at once, and with it the loop.
  testhook::SetPumpHook([] {
    if (scan_running != 0) return;
    main_loop_on = 0;
    SetTickOffset(1000000);
  });
  RegistryControl();
  return 0;
}
