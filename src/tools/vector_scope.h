// The Vector Scope: the elements of a phased array, each read through its own
// multiplexer channel with that channel's calibration, shown as vectors
// relative to element 1.
#pragma once

#include <string>

namespace vna {

// ---- Readings ----
// Measures element 1 (when enabled), then element n when n > 1, at freq,
// and refreshes the window. A request while a scan or another scope reading
// runs is ignored. A reading that fails is said in a box and leaves its
// element as it was; no element is read after it. Returns 0.
int ReadElement(int n);
// Reads every enabled element, the array SWR at Port A and the dump power
// level, then redraws the face. A failed reading ends it there (and ends
// RECYCLE), the dump power left as it was. Returns 0.
int ReadAllElements();

// The calibration file of multiplexer channel `chan` for the channel file
// `path` names: the file name's first ".chan" and what comes before it, then
// "chan" and the channel's digit (C:\cal\a.chan1 gives C:\cal\a.chan2 for
// channel 2). "" when the file name holds no ".chan" (a folder's name does
// not count).
std::string ChannelCalPath(const std::string& path, int chan);
// Loads the calibration file of channel mux_chan into cal_file_path and
// file_name. False, after the " No multi cal file" box and with mux_chan 0,
// when the calibration in use is no channel file.
bool LoadChannelCal();
// The " No cal file" box for channel mux_chan, whose file (file_name) holds
// no Port B calibration.
void NoChannelCalBox();
// A measurement of the channels that failed and ended the run: what_failed
// + " (status N)." and what follows from it, said once in a box of
// `caption`; nothing when the instrument is gone (the program said so when
// it went).
void FailedMeasurementBox(const std::string& caption, const std::string& what_failed, int status,
                          const std::string& consequence);

// ---- Window ----
// Opens the window and waits until it is closed; a scope already open is
// brought to the front. Returns 0.
int OpenVectorScope();
int CreateVectorScopeControls();
// The frequency line and the element table.
int ShowVectorScopeFreq();
int VectorScopeHandler();

// ---- Face ----
// The polar face at the full scale of the "Vector Full Scale" box; erases
// the vectors drawn before.
int DrawVectorScope();
// One vector per enabled element, relative to element 1.
int DrawVectors();

// Control ids the readings use.
enum : int {
  kVsDelay = 21181,
  kVsSwrText = 21185,
  kVsDumpText = 21186,
  kVsFullScale = 21171,
};

// The two bars (frame position and size).
constexpr int kSwrBarX = 555, kSwrBarY = 370, kSwrBarW = 375, kBarH = 17;
constexpr int kDumpBarX = 480, kDumpBarY = 445, kDumpBarW = 450;

// Repaints a bar: its empty frame, then `fill` pixels from its left edge.
void PaintBar(int x, int y, int w, int fill);

}  // namespace vna
