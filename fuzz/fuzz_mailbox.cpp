// The registry mailbox: the store's file as another program may have left
// it, polled once for a request. A request refused for its limits (or for a
// Port B scan without a Port B calibration) runs no scan: the stored scans
// stay as they were and the answer names the refusal.
#include "calibration/state.h"
#include "files/settings.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_support.h"
#include "instrument/state.h"
#include "platform/clock.h"
#include "platform/store.h"
#include "platform/testhook.h"
#include "scan/scan_a.h"
#include "scan/state.h"
#include "shell/mailbox.h"
#include "shell/state.h"
#include "shell/text.h"

namespace {

using namespace vna;

int Refusal() {
  const bool refused = (vna_status >= kCtlDeltaRange && vna_status <= kCtlTooManyPoints) ||
                       vna_status == kStatusNotCalibrated;
  return refused ? vna_status : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Begin();
  fuzz::InputFile(data, size, "registry.ini");  // VNA_REGISTRY_FILE names it
  control_csv = fuzz::Folder() + "/result.csv";
  vna_present = 1;  // no port: a scan it orders stops at its first point
  // Both calibrations marked loaded, as start-up leaves them without an
  // instrument: a request in range reaches its scan.
  PortA_cal = 1;
  PortB_cal = 1;
  regctl_mode = 2;
  main_loop_on = 1;
  // One poll: the wait after it ends at once, and with it the loop.
  testhook::SetPumpHook([] {
    if (scan_running != 0) return;
    main_loop_on = 0;
    SetTickOffset(1000000);
  });
  if (!fuzz::WholeOrNothing(
          fuzz::StoredScanData(), "mailbox request", [] { RegistryControl(); }, Refusal)) {
    fuzz::Expect(StoreRead(regctl_key, "csvready", "") == "error" + NumStr(vna_status),
                 "the answer to a refused request");
  }
  return 0;
}
