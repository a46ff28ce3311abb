// The functions other programs call: each runs one operation of the
// instrument link or of calibration loading on the program's own globals and
// hands back its status. A program that only loads the library gets the
// start-up defaults on its first call and the model decision on its first
// port open that finds an instrument.
#include "shell/vna_exports.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/file_commands.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/point_reads.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "platform/serial.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"

namespace vna {
namespace {

constexpr int kCalFileNotLoaded = 34508;

bool client_prepared = false;  // start-up's first steps ran for a loading program
bool client_identified = false;

// The frame of every export but VNA_Sync: the instrument is addressed and no
// message box is shown while it runs.
class ExportCall {
 public:
  ExportCall() {
    if (!StartUpRan() && !client_prepared) {
      client_prepared = true;
      PrepareWithoutStartUp();
    }
    api_busy = 1;
    vna_present = 1;
  }
  ~ExportCall() { api_busy = 0; }
  ExportCall(const ExportCall&) = delete;
  ExportCall& operator=(const ExportCall&) = delete;
};

// Just before a point is read: the armed sync goes out.
void SyncStep() {
  if (sync_count > 0 && sync_allowed > 0) {
    WriteDirect("Z2");
    if (sync_count == 1) sync_count = 0;
  }
}

// The shared start of both point reads; false when a corrected result needs
// a calibration that is not loaded (vna_status then says so).
bool StartPointRead(int mode, double freq_MHz, int port_cal) {
  smoothing = 0;
  scan_running = 1;
  vna_status = 0;
  if (mode > 0 && port_cal == 0) {
    vna_status = VNA_NOT_CALIBRATED;
    return false;
  }
  if (relay_state == 0) ProgRelay(3);
  freq = freq_MHz;
  SyncStep();
  return true;
}

}  // namespace
}  // namespace vna

using namespace vna;

extern "C" {

int VNA_InitVars(int) {
  ExportCall call;
  InitVars();
  return 0;
}

int VNA_Sync(int n) {
  if (sync_allowed != 0) {
    sync_count = n;
    vna_status = 0;
  } else {
    sync_count = 0;
    vna_status = VNA_NO_SYNC;
  }
  return vna_status;
}

int VNA_ReadPointA(int mode, double freq_MHz, double* out1, double* out2) {
  ExportCall call;
  if (!StartPointRead(mode, freq_MHz, PortA_cal)) return vna_status;
  ReadPoint_A(0);
  if (mode == 1) {
    *out1 = point_Rs;
    *out2 = point_Xs;
  } else if (mode == 2) {
    *out1 = Rsm;
    *out2 = Xsm;
  }
  return vna_status;
}

int VNA_ReadPointB(int mode, double freq_MHz, double* out1, double* out2) {
  ExportCall call;
  plot_s11 = 0;
  if (!StartPointRead(mode, freq_MHz, PortB_cal)) return vna_status;
  ReadPoint_B(0);
  // The read corrects a ratio it did not form: this point's ratio, then its
  // correction, as the Port B scan and point-data mode take them.
  ratio_BA = MagRef != 0 ? MagLoad / MagRef : 0;
  CorrectB();
  *out1 = ratio_BA;
  *out2 = Zphase;
  return vna_status;
}

int VNA_AvgReadings(int n) {
  ExportCall call;
  AverageADC(n);
  return vna_status;
}

int VNA_CommPort(int open, int port, int) {
  ExportCall call;
  if (open != 0) {
    commport = port > 0 ? port : 1;
    baudrate = kBaudLow;
    CheckComm();
    // A loading program learns the model from the first instrument that
    // answers, as start-up does.
    if (vna_status == 0 && !StartUpRan() && !client_identified) {
      client_identified = true;
      IdentifyInstrument();
    }
    if (vna_status == 0) {
      SetAutoPowerDown(0);
      autopoweroff = 0;
    }
    return vna_status;
  }
  if (!SerialIsOpen(hcom)) {
    vna_status = VNA_PORT_NOT_OPEN;
    return vna_status;
  }
  SerialClose(hcom);
  hcom = kInvalidPort;
  vna_status = 0;
  return vna_status;
}

int VNA_LoadCalFile(const char* path) {
  ExportCall call;
  // The status of a file the loader cannot open; it stays when the path is
  // too short to name a file and the loader never runs, so the caller is
  // not handed the status of an earlier operation.
  vna_status = kCalFileNotLoaded;
  LoadCalibrationPath(path != nullptr ? path : "");
  return vna_status;
}

int VNA_ProgRelay(int on) {
  ExportCall call;
  live_data = 1;
  ProgRelay(on != 0 ? 3 : 0);
  return vna_status;
}

int VNA_ConstantFreq(int on, double freq_MHz) {
  ExportCall call;
  vna_status = 0;
  if (on != 0) {
    freq = freq_MHz;
    if (!(freq >= min_freq)) freq = min_freq;  // also not a number
    if (freq > maximumfreq) freq = maximumfreq;
    ProgRelay(1);
    ReadPoint_A(2);
  } else {
    ProgRelay(0);
  }
  return vna_status;
}

char* VNA_GetVersion(int) {
  ExportCall call;
  GetVersion(0);
  const std::string text = vna_status != 0 ? "34506" : msg_text;
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

double VNA_GetTemperature(int fahrenheit) {
  ExportCall call;
  ReadTemperature();
  if (vna_status != 0) return vna_status;
  return fahrenheit != 0 ? temperature_F : (temperature_F + 40) * 5 / 9 - 40;
}

}  // extern "C"
