#include "tools/failed_reading.h"

#include "files/settings.h"
#include "instrument/measurement_reply.h"
#include "instrument/state.h"
#include "platform/ui.h"
#include "shell/state.h"
#include "shell/text.h"
#include "shell/windows.h"

namespace vna {

namespace {

// The last failure ReadingFailed found was said by the link.
bool said_by_link = false;

}  // namespace

bool ReadingFailed() {
  if (vna_status == 0) {
    if (vna_present == 0) {
      vna_status = kStatusNoData;  // nothing was sent
    } else if (raw_valid == 0 || !(ref_mag_raw >= kLeastReference)) {
      // Below 10 MHz the link does not test the reference, and a reply of
      // zeros is dropped without a status: the values left are another
      // point's.
      vna_status = kStatusNoReference;
    } else {
      return false;
    }
  }
  said_by_link = FailureSaidByLink(vna_status);
  return true;
}

bool FailureSaidByLink(int status) {
  if (vna_present == 0 || main_loop_on == 0) return true;
  if (status == kStatusOverload) return true;
  return status == kStatusNoData && hw_reset_said != 0;
}

void SayReadingFailed(int status, const std::string& caption, const std::string& consequence) {
  if (said_by_link) return;
  MsgBox(&main_win,
         "The instrument failed to measure at" + NumStr(freq) + " MHz (status" + NumStr(status) +
             ").\r\n" + consequence,
         caption, kMbOk, kIconExclamation, true);
}

}  // namespace vna
