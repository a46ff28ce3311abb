// Steps the Port A and Port B scans share.
#pragma once

#include <vector>

namespace vna {

// The frequency list of a port's stored scan (scanA_freq or scanB_freq) and
// Numscanpts, kept while a live scan builds its own list there: a scan that
// measures nothing puts them back, so the stored points keep their
// frequencies.
class StoredList {
 public:
  explicit StoredList(double* list) : list_(list) {}
  void Take();
  void Restore() const;

 private:
  double* list_;
  std::vector<double> freq_;
  int points_ = 0;
};

// True while f lies within the loaded calibration: at or below its last
// record (to a hertz, for the rounding of a list built step by step). A
// scan measures a list frequency that falls on that record and none above.
bool WithinCalibration(double f);

// "There is no reference signal from the VNA at" the frequency, in the main
// window: the scan that found no reference stops there.
void NoReferenceText();

// The instrument's loop-counter reset ("Y" and six fixed bytes), written
// straight to the serial port.
void SendLoopCounterReset();
// Closes an open Smith chart (and then the second one too); with
// focus_main the main window gets the focus.
void CloseSmithCharts(bool focus_main);

}  // namespace vna
