// The functions other programs call: each runs one operation of the
// instrument link or of calibration loading on the program's own globals and
// hands back its status. A program that only loads the library gets the
// start-up defaults on its first call and the model decision on each port
// open that finds an instrument other than the one it had.
#include "shell/vna_exports.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calibration/correct_b.h"
#include "calibration/state.h"
#include "files/file_commands.h"
#include "files/settings.h"
#include "instrument/commands.h"
#include "instrument/measurement_reply.h"
#include "instrument/point_reads.h"
#include "instrument/serial_link.h"
#include "instrument/state.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "platform/serial.h"
#include "scan/scan_b.h"
#include "scan/state.h"
#include "shell/init_vars.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "tools/failed_reading.h"

namespace vna {
namespace {

constexpr int kCalFileNotLoaded = 34508;

bool client_prepared = false;  // start-up's first steps ran for a loading program

// Settings put back to their defaults forget what the open port's instrument
// is (its model, clocks and offsets, sync support) and what it was told (its
// oscillator, averaging, amplitude, gains, relays): it is identified again
// and put to the defaults, as start-up does, so that the next command and
// the instrument agree.
void SettingsToDefaults(void (*defaults)()) {
  defaults();
  if (!SerialIsOpen(hcom) || SerialLost(hcom)) return;
  IdentifyInstrument();
  if (vna_status != 0) return;
  ResetInstrument();
  AverageADC(average);
}

// The frame of every export but VNA_Sync: the instrument is addressed and no
// message box is shown while it runs.
class ExportCall {
 public:
  ExportCall() {
    if (!StartUpRan() && !client_prepared) {
      client_prepared = true;
      SettingsToDefaults(PrepareWithoutStartUp);
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

// A frequency the instrument cannot be set to: one the frequency programming
// would clamp (not a number, below the lowest frequency, above the model's
// highest once the model is known).
bool Unmeasurable(double f) {
  return !(f >= min_freq) || (maximumfreq > min_freq && f > maximumfreq) || !std::isfinite(f);
}

// No reading can be taken without an open port and a model to program it
// for: the exchange fails as a reply that never came, without the messages
// of a port that stopped answering mid-way.
bool InstrumentReachable() {
  if (SerialIsOpen(hcom) && !SerialLost(hcom) && (model_uhf != 0 || model7306 != 0)) return true;
  vna_status = kStatusNoData;
  return false;
}

// The shared start of both point reads; false, with vna_status saying why,
// when nothing may be measured: an output the mode writes is missing, the
// frequency cannot be measured, a corrected result needs a calibration that
// is not loaded, or there is no instrument to read.
bool StartPointRead(int mode, double freq_MHz, int port_cal, bool outputs_given) {
  smoothing = 0;
  scan_running = 1;
  vna_status = 0;
  if (!outputs_given) {
    vna_status = VNA_NULL_OUTPUT;
    return false;
  }
  if (Unmeasurable(freq_MHz)) {
    vna_status = VNA_FREQ_OUT_OF_RANGE;
    return false;
  }
  if (mode > 0 && port_cal == 0) {
    vna_status = VNA_NOT_CALIBRATED;
    return false;
  }
  if (!InstrumentReachable()) return false;
  if (relay_state == 0) ProgRelay(3);
  freq = freq_MHz;
  SyncStep();
  return true;
}

// Which port the single-DDS model measures follows transmission_mode: a
// point read sets it for its own port and gives the caller's back.
class TransmissionMode {
 public:
  explicit TransmissionMode(int mode) : kept_(transmission_mode) { transmission_mode = mode; }
  ~TransmissionMode() { transmission_mode = kept_; }
  TransmissionMode(const TransmissionMode&) = delete;
  TransmissionMode& operator=(const TransmissionMode&) = delete;

 private:
  int kept_;
};

}  // namespace
}  // namespace vna

using namespace vna;

extern "C" {

int VNA_InitVars(int) {
  ExportCall call;
  SettingsToDefaults(InitVars);
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
  const bool writes = mode == 1 || mode == 2;
  if (!StartPointRead(mode, freq_MHz, PortA_cal, !writes || (out1 != nullptr && out2 != nullptr))) {
    return vna_status;
  }
  {
    const TransmissionMode port_a(0);
    ReadPoint_A(0);
  }
  // A failed reading hands out nothing; one without a reference is failed
  // at every frequency (the link tests it above 10 MHz only).
  if (ReadingFailed()) return vna_status;
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
  if (!StartPointRead(mode, freq_MHz, PortB_cal, out1 != nullptr && out2 != nullptr)) {
    return vna_status;
  }
  // Read as the Port B scan and point data read: from gain step 1 at low
  // sensitivity (whatever step the instrument was left on) ranged to the
  // step the signal needs, this point's own B/A ratio formed, then
  // corrected. out1 is the corrected ratio, out2 the corrected phase.
  bool measured = false;
  {
    const TransmissionMode port_b(1);
    DDSAmplitude(DDS_Amplitude);
    StartPortBRanging();
    measured = MeasurePointB();
  }
  if (!measured || vna_status != 0) return vna_status;  // a failed reading hands out nothing
  *out1 = ratio_BA;
  *out2 = Zphase;
  return vna_status;
}

int VNA_AvgReadings(int n) {
  ExportCall call;
  // A count the instrument was not told would scale every later reading.
  if (!InstrumentReachable()) return vna_status;
  AverageADC(n);
  return vna_status;
}

int VNA_CommPort(int open, int port, int) {
  ExportCall call;
  if (open != 0) {
    commport = port > 0 ? port : 1;
    baudrate = kBaudLow;
    CheckComm();
    // A loading program learns the model from the instrument that answers,
    // as start-up does: on its first open, and again whenever another
    // instrument answers (another port, another unit), whose model, clocks
    // and range may differ. A calibration loaded for the one before is
    // not this one's.
    if (vna_status == 0 && !StartUpRan() && msg_text != identified_reply) {
      if (!identified_reply.empty()) {
        PortA_cal = 0;
        PortB_cal = 0;
      }
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
  if (!InstrumentReachable()) return vna_status;
  live_data = 1;
  vna_status = 0;  // the switch has no status of its own: not an earlier operation's
  ProgRelay(on != 0 ? 3 : 0);
  return vna_status;
}

int VNA_ConstantFreq(int on, double freq_MHz) {
  ExportCall call;
  vna_status = 0;
  if (!InstrumentReachable()) return vna_status;
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
