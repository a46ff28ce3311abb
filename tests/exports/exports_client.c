/* A program of another developer driving the instrument through libvna: it
 * loads the library with dlopen, finds the eleven functions by name and
 * checks what each does against the instrument simulator, which it asks for
 * its state over the simulator's control channel.
 *
 * exports_client LIBVNA VNA_SIM CONTROL MAXFREQ CALFILE PART
 * The simulator starts with an ideal bridge, r=75 on Port A and a through
 * connection on Port B; the COM port 1 of the environment leads to it.
 * PART is one of the checks below: tour, port-b, refused, no-instrument,
 * failed-reads, reopen (COM port 2 then leads to an instrument of the other
 * model). Exit status 0 when every check held; each failed check
 * prints a line "FAIL ...". */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "shell/vna_exports.h"

typedef int (*IntFn)(int);
typedef int (*CommPortFn)(int, int, int);
typedef int (*ConstantFreqFn)(int, double);
typedef double (*TemperatureFn)(int);
typedef char* (*VersionFn)(int);
typedef int (*LoadCalFn)(const char*);
typedef int (*ReadPointFn)(int, double, double*, double*);

static const char* sim_bin;
static const char* control;
static int failures = 0;

/* The eleven functions, found in the library by name. */
static IntFn avg, init, relay, sync;
static CommPortFn comm;
static ConstantFreqFn constant;
static TemperatureFn temperature;
static VersionFn version;
static LoadCalFn load_cal;
static ReadPointFn read_a, read_b;

static void Check(int ok, const char* what, double got) {
  if (!ok) {
    printf("FAIL %s (got %.6f)\n", what, got);
    ++failures;
  }
}

/* Sends one control line; the answer (after "ok") into out. */
static void Control(const char* line, char* out, size_t size) {
  char cmd[1024];
  snprintf(cmd, sizeof cmd, "'%s' --control '%s' --send '%s'", sim_bin, control, line);
  FILE* p = popen(cmd, "r");
  size_t n = 0;
  out[0] = 0;
  if (p != NULL) {
    n = fread(out, 1, size - 1, p);
    out[n] = 0;
    pclose(p);
  }
  if (strncmp(out, "ok", 2) != 0) {
    printf("FAIL control '%s': %s\n", line, out);
    ++failures;
  }
}

static void Send(const char* line) {
  char answer[2048];
  Control(line, answer, sizeof answer);
}

/* One number of the simulator's status line. */
static double Status(const char* key) {
  char answer[2048], pattern[64];
  Control("status", answer, sizeof answer);
  snprintf(pattern, sizeof pattern, " %s=", key);
  const char* at = strstr(answer, pattern);
  return at != NULL ? atof(at + strlen(pattern)) : -1e9;
}

/* Without libm: the program links libdl and the C library only. */
static double Abs(double v) {
  return v < 0 ? -v : v;
}

static void* Resolve(void* lib, const char* name) {
  void* f = dlsym(lib, name);
  if (f == NULL) {
    printf("FAIL no symbol %s\n", name);
    ++failures;
  }
  return f;
}

/* Reads at 1, 10 and 100 MHz in `mode` and compares with r + jx, within
 * `tolerance` of |Z|. */
static void ReadsAgree(ReadPointFn read, int mode, double r, double x, double tolerance,
                       const char* what) {
  static const double freqs[] = {1, 10, 100};
  for (int i = 0; i < 3; ++i) {
    double rs = -999, xs = -999;
    char text[200];
    const int status = read(mode, freqs[i], &rs, &xs);
    const double limit2 = tolerance * tolerance * (r * r + x * x);
    snprintf(text, sizeof text, "%s at %g MHz: status", what, freqs[i]);
    Check(status == 0, text, status);
    snprintf(text, sizeof text, "%s at %g MHz: R %.3f", what, freqs[i], r);
    Check((rs - r) * (rs - r) <= limit2, text, rs);
    snprintf(text, sizeof text, "%s at %g MHz: X %.3f", what, freqs[i], x);
    Check((xs - x) * (xs - x) <= limit2, text, xs);
  }
}

/* Port B reads in `mode` of known devices, each within `tol` of its ratio
 * and 0.5 degrees of phase 0. Weak and strong signals alternate: whatever
 * gain step a read (or the application's last scan) left, the next one
 * ranges its own. */
static void PortBReads(int mode) {
  static const struct {
    const char* dut;
    double mhz, ratio, tol;
  } cases[] = {
      {"dut-b atten:db=40", 10, 0.01, 0.025},
      {"dut-b atten:db=70", 50, 0.000316227766, 0.06},
      {"dut-b atten:db=20", 90, 0.1, 0.025},
      {"dut-b thru", 3, 1, 0.025},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    double ratio = -999, phase = -999;
    char text[200];
    Send(cases[i].dut);
    const int status = read_b(mode, cases[i].mhz, &ratio, &phase);
    snprintf(text, sizeof text, "Port B mode %d, %s at %g MHz: status", mode, cases[i].dut,
             cases[i].mhz);
    Check(status == 0, text, status);
    snprintf(text, sizeof text, "Port B mode %d, %s at %g MHz: ratio %g", mode, cases[i].dut,
             cases[i].mhz, cases[i].ratio);
    Check(Abs(ratio / cases[i].ratio - 1) <= cases[i].tol, text, ratio);
    snprintf(text, sizeof text, "Port B mode %d, %s at %g MHz: phase 0", mode, cases[i].dut,
             cases[i].mhz);
    Check(Abs(phase) <= 0.5 / 57.29578, text, phase * 57.29578);
  }
}

/* Without an instrument, every function that addresses it fails with the
 * status of the reply that never came and changes nothing: the point reads
 * in every mode that passes the calibration test write nothing. */
static void WithoutInstrument(const char* when) {
  const struct {
    const char* what;
    int status;
  } commands[] = {
      {"ProgRelay 1", relay(1)},
      {"AvgReadings 4", avg(4)},
      {"ConstantFreq on", constant(1, 10)},
      {"ConstantFreq off", constant(0, 0)},
  };
  char text[200];
  for (size_t i = 0; i < sizeof commands / sizeof commands[0]; ++i) {
    snprintf(text, sizeof text, "%s: %s fails with no reply", when, commands[i].what);
    Check(commands[i].status == VNA_NO_REPLY, text, commands[i].status);
  }
  static const struct { int port_b, mode; } cases[] = {{0, -1}, {0, 0}, {1, -1}, {1, 0}};
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    double out1 = -999, out2 = -999;
    const int status = (cases[i].port_b ? read_b : read_a)(cases[i].mode, 10, &out1, &out2);
    snprintf(text, sizeof text, "%s: Port %c mode %d fails with no reply", when,
             cases[i].port_b ? 'B' : 'A', cases[i].mode);
    Check(status == VNA_NO_REPLY, text, status);
    snprintf(text, sizeof text, "%s: Port %c mode %d writes nothing", when,
             cases[i].port_b ? 'B' : 'A', cases[i].mode);
    Check(out1 == -999 && out2 == -999, text, out1);
  }
}

/* Calls refused before anything is measured: an output the mode writes
 * given as NULL, or a frequency the model cannot measure. Each returns its
 * status, writes nothing, and the instrument takes no measurement. */
static void RefusedReads(double maxfreq) {
  const double nan = strtod("nan", NULL), inf = strtod("inf", NULL);
  double a = -999, b = -999;
  const struct {
    int port_b, mode;
    double mhz;
    double *out1, *out2;
    int status;
  } cases[] = {
      {1, 0, 10, NULL, NULL, VNA_NULL_OUTPUT},
      {1, 1, 10, &a, NULL, VNA_NULL_OUTPUT},
      {1, -1, 10, NULL, &b, VNA_NULL_OUTPUT},
      {0, 1, 10, NULL, NULL, VNA_NULL_OUTPUT},
      {0, 2, 10, &a, NULL, VNA_NULL_OUTPUT},
      {0, 1, 10, NULL, &b, VNA_NULL_OUTPUT},
      {0, 1, nan, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {1, 0, nan, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, 2, inf, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {1, 1, inf, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, 0, -inf, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {1, 0, -50, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, 1, -50, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {1, 1, 0.001, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, -1, 0.001, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, 2, maxfreq + 1, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {1, 0, 5000, &a, &b, VNA_FREQ_OUT_OF_RANGE},
      {0, 1, 5000, &a, &b, VNA_FREQ_OUT_OF_RANGE},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    char text[200];
    a = b = -999;
    const double measurements = Status("measurements");
    const int status = (cases[i].port_b ? read_b : read_a)(cases[i].mode, cases[i].mhz,
                                                           cases[i].out1, cases[i].out2);
    snprintf(text, sizeof text, "Port %c mode %d at %g MHz, out1 %s, out2 %s: status %d",
             cases[i].port_b ? 'B' : 'A', cases[i].mode, cases[i].mhz,
             cases[i].out1 ? "given" : "NULL", cases[i].out2 ? "given" : "NULL", cases[i].status);
    Check(status == cases[i].status, text, status);
    Check(a == -999 && b == -999, "... and writes nothing", a != -999 ? a : b);
    Check(Status("measurements") == measurements, "... and measures nothing",
          Status("measurements") - measurements);
  }
  /* Port A mode 0 and below write nothing: they need no outputs. */
  Check(read_a(0, 10, NULL, NULL) == 0, "Port A mode 0 with NULL outputs measures", 0);
  Check(read_a(-1, maxfreq, NULL, NULL) == 0, "Port A mode -1 at the maximum measures", 0);
}

/* A read that fails hands out its status and nothing else: the outputs
 * keep what the caller put there, not a value of the failed read nor of
 * the read before it. */
static void FailedReadsWriteNothing(void) {
  static const struct {
    const char* fault;
    int port_b, mode, status; /* status -1: any failure */
  } cases[] = {
      {"fault silence 1", 0, 1, VNA_NO_REPLY},
      {"fault silence 1", 0, 2, VNA_NO_REPLY},
      {"fault silence", 1, 1, VNA_NO_REPLY},
      {"fault silence", 1, 0, VNA_NO_REPLY},
      {"fault noref", 0, 1, -1},
      {"fault noref", 1, 1, -1},
      {"fault nosignal", 0, 2, -1},
      {"fault nosignal", 1, 0, -1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    double out1 = -999, out2 = -999;
    char text[200];
    ReadPointFn read = cases[i].port_b ? read_b : read_a;
    Check(read(cases[i].mode, 20, &out1, &out2) == 0, "a good read first", out1);
    out1 = out2 = -999;
    Send(cases[i].fault);
    const int status = read(cases[i].mode, 20, &out1, &out2);
    Send("fault none");
    snprintf(text, sizeof text, "%s: Port %c mode %d fails", cases[i].fault,
             cases[i].port_b ? 'B' : 'A', cases[i].mode);
    Check(cases[i].status < 0 ? status != 0 : status == cases[i].status, text, status);
    snprintf(text, sizeof text, "%s: Port %c mode %d writes nothing", cases[i].fault,
             cases[i].port_b ? 'B' : 'A', cases[i].mode);
    Check(out1 == -999 && out2 == -999, text, out1 != -999 ? out1 : out2);
    /* What comes next reports its own outcome, not the failure's. */
    Check(relay(1) == 0, "ProgRelay after a failed read", 0);
  }
}

/* Opens COM port 1, as every part but the one without an instrument does. */
static void Open(void) {
  const int status = comm(1, 1, 0);
  Check(status == 0, "CommPort open", status);
}

/* Every function in the order a program first meets them. */
static void Tour(const char* cal, double maxfreq) {
  int status = 0;
  Check(init(0) == 0, "InitVars returns 0", 0);
  /* Sync is allowed only once an instrument has been identified. */
  status = sync(1);
  Check(status == VNA_NO_SYNC, "Sync before identification is refused", status);

  /* Port 0 means port 1, and the baud argument gives way to 57600. */
  Send("mark open");
  status = comm(1, 0, 9600);
  Check(status == 0, "CommPort open", status);
  Check(Status("baud") == 57600, "line at 57600 baud", Status("baud"));
  Send("mark opened");

  char* text = version(0);
  Check(text != NULL && strncmp(text, "vna", 3) == 0, "version text starts with vna", 0);
  free(text);

  status = relay(1);
  Check(status == 0 && Status("relays") == 3, "ProgRelay 1: both relays on", Status("relays"));
  status = avg(4);
  Check(status == 0 && Status("avg") == 4, "AvgReadings 4", Status("avg"));
  avg(1);

  /* Mode 1 (corrected) and mode 2 (raw) both need the port's calibration. */
  double out1 = -999, out2 = -999;
  for (int mode = 1; mode <= 2; ++mode) {
    status = read_a(mode, 10, &out1, &out2);
    Check(status == VNA_NOT_CALIBRATED, "read without calibration", status);
    Check(out1 == -999 && out2 == -999, "outputs untouched without calibration", out1);
  }
  status = read_b(1, 10, &out1, &out2);
  Check(status == VNA_NOT_CALIBRATED, "corrected Port B read without calibration", status);
  status = read_b(0, 10, &out1, &out2);
  Check(status == 0 && out1 != -999 && out2 != -999, "Port B mode 0 writes both outputs", out1);
  Check(Status("syncs") == 0, "the refused Sync armed nothing", Status("syncs"));

  status = load_cal("");
  Check(status == 34508, "LoadCalFile without a name fails", status);
  status = load_cal(cal);
  Check(status == 0, "LoadCalFile", status);
  /* The ideal bridge hands the device itself to the raw readings. */
  ReadsAgree(read_a, 2, 75, 0, 0.005, "raw r=75");
  Send("dut z=20,-80");
  ReadsAgree(read_a, 2, 20, -80, 0.005, "raw z=20,-80");

  /* The calibration, made on the real bridge, takes its errors out again. */
  Send("bridge real");
  Send("dut r=75");
  ReadsAgree(read_a, 1, 75, 0, 0.01, "corrected r=75");
  Send("dut z=20,-80");
  ReadsAgree(read_a, 1, 20, -80, 0.01, "corrected z=20,-80");

  /* Sync 1 arms one sync; 2 sends one before every read. */
  double before = Status("syncs");
  Check(sync(1) == 0, "Sync 1", 0);
  for (int i = 0; i < 3; ++i) read_a(2, 10, &out1, &out2);
  Check(Status("syncs") - before == 1, "Sync 1: one sync for three reads",
        Status("syncs") - before);
  before = Status("syncs");
  sync(2);
  for (int i = 0; i < 3; ++i) read_a(2, 10, &out1, &out2);
  Check(Status("syncs") - before == 3, "Sync 2: three syncs for three reads",
        Status("syncs") - before);
  sync(0);

  /* The constant signal stays within the instrument's range. */
  status = constant(1, 0.001);
  Check(status == 0 && Abs(Status("freq") - 0.005) < 1e-4, "ConstantFreq 0.001 gives 0.005",
        Status("freq"));
  status = constant(1, 5000);
  Check(status == 0 && Abs(Status("freq") - maxfreq) < 1e-3, "ConstantFreq 5000 gives the maximum",
        Status("freq"));
  status = constant(0, 0);
  Check(status == 0 && Status("relays") == 0, "ConstantFreq 0: relays off", Status("relays"));

  Send("temp 100");
  const double c = temperature(0), f = temperature(1);
  Check(Abs(c - 100) <= 0.3, "100 Celsius", c);
  Check(Abs(f - 212) <= 0.3, "212 Fahrenheit", f);

  Send("mark close");
  status = comm(0, 0, 0);
  Check(status == 0, "close returns 0", status);
  status = comm(0, 0, 0);
  Check(status == VNA_PORT_NOT_OPEN, "second close: no port open", status);
  text = version(0);
  Check(text != NULL && strcmp(text, "34506") == 0, "version without a port is 34506", 0);
  free(text);
}

/* Port B read as the Port B scan reads it, on the real bridge the
 * calibration was made on. */
static void PortB(const char* cal) {
  Open();
  Check(load_cal(cal) == 0, "LoadCalFile", 0);
  Send("bridge real");
  /* The first read finds the gain step the application's last scan left on
     the instrument. */
  PortBReads(1);
  PortBReads(0);

  /* InitVars puts every setting back to its default while the instrument
     keeps what it runs: the 10 MHz band's oscillator (the second one on the
     two-multiplier model) and 16 readings averaged. Reads after it program
     the instrument as the settings now say. */
  double out1 = -999, out2 = -999;
  Send("dut-b atten:db=40");
  avg(16);
  int status = read_b(0, 10, &out1, &out2);
  Check(status == 0, "Port B read with 16 readings averaged", status);
  Check(init(0) == 0, "InitVars with the port open", 0);
  status = load_cal(cal);
  Check(status == 0, "LoadCalFile after InitVars", status);
  out1 = out2 = -999;
  status = read_b(1, 10, &out1, &out2);
  Check(status == 0, "Port B read after InitVars: status", status);
  Check(Abs(out1 / 0.01 - 1) <= 0.025, "Port B read after InitVars: ratio 0.01", out1);
  Check(Status("protocolerrors") == 0, "Port B read after InitVars: no protocol error",
        Status("protocolerrors"));
}

static void NoInstrument(void) {
  WithoutInstrument("before any CommPort");
  /* COM port 99 names a device that does not exist. */
  const int status = comm(1, 99, 0);
  Check(status != 0, "CommPort open of a port without a device fails", status);
  WithoutInstrument("after a failed open");
  Open();
  comm(0, 0, 0);
  WithoutInstrument("after the close");
}
/* Port A at `mhz` without outputs: whether the open instrument's model can
 * measure there (status 0) or refuses it, as its identification says. */
static void RangeIs(double mhz, double maxfreq, const char* what) {
  char text[200];
  const int want = mhz <= maxfreq ? 0 : VNA_FREQ_OUT_OF_RANGE;
  const int status = read_a(0, mhz, NULL, NULL);
  snprintf(text, sizeof text, "%s: %g MHz on the %g MHz model gives status %d", what, mhz,
           maxfreq, want);
  Check(status == want, text, status);
}

/* A program that opens the port again is served by the instrument it finds
 * there: the same one keeps its calibration; another one (here the other
 * model, on COM port 2) is identified anew, with its own range, and the
 * calibration made on the first is no longer in force. */
static void Reopen(const char* cal, double maxfreq) {
  const double other = maxfreq > 500 ? 180 : 1200;
  double out1 = -999, out2 = -999;
  Open();
  Check(load_cal(cal) == 0, "LoadCalFile", 0);
  RangeIs(500, maxfreq, "first open");
  comm(0, 0, 0);
  Open();
  Check(read_a(1, 10, &out1, &out2) == 0, "the same instrument again keeps its calibration", 0);
  RangeIs(500, maxfreq, "the same instrument again");
  comm(0, 0, 0);
  const int status = comm(1, 2, 0);
  Check(status == 0, "CommPort open of the other instrument", status);
  RangeIs(500, other, "another instrument");
  out1 = out2 = -999;
  Check(read_a(1, 10, &out1, &out2) == VNA_NOT_CALIBRATED,
        "another instrument: the first one's calibration is not in force", out1);
  Check(out1 == -999 && out2 == -999, "... and nothing is written", out1);
  comm(0, 0, 0);
  Open();
  RangeIs(500, maxfreq, "the first instrument once more");
  comm(0, 0, 0);
}

int main(int argc, char** argv) {
  if (argc != 7) {
    fprintf(stderr, "usage: exports_client LIBVNA VNA_SIM CONTROL MAXFREQ CALFILE PART\n");
    return 2;
  }
  /* Line by line: a crash keeps the FAIL lines before it. */
  setvbuf(stdout, NULL, _IOLBF, 0);
  sim_bin = argv[2];
  control = argv[3];
  const double maxfreq = atof(argv[4]);
  const char* cal = argv[5];
  const char* part = argv[6];
  /* Kept mapped after dlclose: what the system libraries it brings allocate
     when they load stays reachable, so a leak check at exit (the sanitizer
     build) reports only real leaks. */
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (lib == NULL) {
    printf("FAIL dlopen: %s\n", dlerror());
    return 1;
  }
  avg = (IntFn)Resolve(lib, "VNA_AvgReadings");
  comm = (CommPortFn)Resolve(lib, "VNA_CommPort");
  constant = (ConstantFreqFn)Resolve(lib, "VNA_ConstantFreq");
  temperature = (TemperatureFn)Resolve(lib, "VNA_GetTemperature");
  version = (VersionFn)Resolve(lib, "VNA_GetVersion");
  init = (IntFn)Resolve(lib, "VNA_InitVars");
  load_cal = (LoadCalFn)Resolve(lib, "VNA_LoadCalFile");
  relay = (IntFn)Resolve(lib, "VNA_ProgRelay");
  read_a = (ReadPointFn)Resolve(lib, "VNA_ReadPointA");
  read_b = (ReadPointFn)Resolve(lib, "VNA_ReadPointB");
  sync = (IntFn)Resolve(lib, "VNA_Sync");
  if (failures != 0) return 1;

  if (strcmp(part, "tour") == 0) {
    Tour(cal, maxfreq);
  } else if (strcmp(part, "port-b") == 0) {
    PortB(cal);
  } else if (strcmp(part, "refused") == 0) {
    Open();
    Check(load_cal(cal) == 0, "LoadCalFile", 0);
    RefusedReads(maxfreq);
  } else if (strcmp(part, "no-instrument") == 0) {
    NoInstrument();
  } else if (strcmp(part, "reopen") == 0) {
    Reopen(cal, maxfreq);
  } else if (strcmp(part, "failed-reads") == 0) {
    Open();
    Check(load_cal(cal) == 0, "LoadCalFile", 0);
    FailedReadsWriteNothing();
  } else {
    printf("FAIL no part %s\n", part);
    ++failures;
  }

  dlclose(lib);
  return failures == 0 ? 0 : 1;
}
