/* The functions libvna offers other programs (C linkage, exact names).
 * Each returns the status of its operation, 0 for success, unless noted.
 * A program that loads the library without running the application gets
 * the default settings on its first call; the VNA_CommPort open that finds
 * an instrument decides its model and frequency range, and so does each
 * later open that finds another one. No window is
 * opened: a message the operation would show goes to stderr, answered as a
 * closed box would be. Call one function at a time. */
#ifndef VNA_EXPORTS_H
#define VNA_EXPORTS_H

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes of the functions themselves. */
#define VNA_NOT_CALIBRATED 34519 /* a corrected read without that port's calibration */
#define VNA_NO_SYNC 34524        /* the instrument does not support sync */
#define VNA_PORT_NOT_OPEN 34503  /* close asked with no port open */
/* A point read refused before anything is measured or written: */
#define VNA_NULL_OUTPUT 34531       /* an output the mode writes is NULL */
#define VNA_FREQ_OUT_OF_RANGE 34532 /* not a number, or outside the model's range */
/* Statuses of the instrument link handed on unchanged, among them
 * VNA_NO_REPLY: no instrument (no port open, the open failed, the port was
 * closed or is gone, or none was identified on it), or it did not answer; */
#define VNA_NO_REPLY 10
/* and from a point read 17 (no reference signal), 72 (damaged replies beyond
 * their resends), 1274 (overload), 128 added (weak reference); from
 * VNA_CommPort 10137 (no reply to the version query); from VNA_LoadCalFile
 * 34508 (the file cannot be opened) and the statuses of its checks. */

/* Readings averaged per point. VNA_NO_REPLY without an instrument: the count
 * is then not taken. */
int VNA_AvgReadings(int n);
/* open != 0: opens COM port `port` (1 when port <= 0) at 57600 baud (`baud`
 * is ignored) and tests the instrument; then automatic power-down is switched
 * off. An instrument other than the one identified before (its version text
 * differs) is identified anew, and the calibrations loaded until then no
 * longer count (corrected reads give VNA_NOT_CALIBRATED until one is loaded).
 * open == 0: closes the port. */
int VNA_CommPort(int open, int port, int baud);
/* on != 0: a constant signal at freq_MHz (clamped to the instrument's range);
 * on == 0: relays off. VNA_NO_REPLY without an instrument. */
int VNA_ConstantFreq(int on, double freq_MHz);
/* The instrument's temperature, Fahrenheit when fahrenheit != 0, else
 * Celsius; a failed read gives its status number as the value. */
double VNA_GetTemperature(int fahrenheit);
/* The instrument's version text, or "34506" when the query failed. Never
 * NULL: a new malloc'ed copy on each call, for the caller to free(). */
char* VNA_GetVersion(int unused);
/* Every setting back to its default; returns 0. With a port open the
 * instrument is identified again and put to the defaults too. */
int VNA_InitVars(int unused);
/* Loads the calibration file at path. */
int VNA_LoadCalFile(const char* path);
/* Both relays on (on != 0) or off. VNA_NO_REPLY without an instrument. */
int VNA_ProgRelay(int on);
/* One Port A point at freq_MHz. mode 1: corrected Rs, Xs (ohms); mode 2:
 * uncorrected Rs, Xs; other modes measure and write nothing (their outputs
 * may be NULL). */
int VNA_ReadPointA(int mode, double freq_MHz, double* out1, double* out2);
/* One Port B point at freq_MHz, read as the Port B scan reads it (the gain
 * step ranged to the signal): out1 the B/A magnitude ratio, out2 the phase
 * (radians), both corrected with the Port B calibration when one is loaded;
 * written for every mode, so neither may be NULL. mode > 0 needs a Port B
 * calibration.
 * Both point reads check, in this order, and return without measuring or
 * writing anything: VNA_NULL_OUTPUT, VNA_FREQ_OUT_OF_RANGE (below 0.005 MHz,
 * above the model's maximum, not a number), VNA_NOT_CALIBRATED, VNA_NO_REPLY
 * (no instrument). A read that fails returns its status and writes
 * nothing. */
int VNA_ReadPointB(int mode, double freq_MHz, double* out1, double* out2);
/* n == 1: a sync before the next point read; n > 1: before every read;
 * n <= 0: none. */
int VNA_Sync(int n);

#ifdef __cplusplus
}
#endif

#endif /* VNA_EXPORTS_H */
