// Finding the two calibration records around a frequency, for the Port A and
// Port B corrections.
#pragma once

namespace vna {

// Where a frequency lies in a calibration table. A calibrated quantity q is
// q[base] + (q[b] - q[a]) x t (CalValue): the value of a record of the
// present multiplier state carried along the slope of the pair (a, b).
// Records measured with other DDS multipliers or another oscillator do not
// join smoothly, so no value is taken from across such a change.
struct CalBracket {
  int ndx = 0;   // first record above the frequency (the last one when none is)
  int a = 0;     // lower record of the pair
  int b = 0;     // upper record of the pair
  int base = 0;  // the record the value starts from: one of the pair, or a lone record
  double t = 0;  // (f - freq[base]) / (freq[b] - freq[a]); outside 0..1 extrapolates
};

// The bracket of f in CalDataA (records 0..MaxCalANdx) or CalDataB (records
// 0..MaxCalBNdx), for the multiplier state `state` (1000 x OSC + mult_code)
// of the point being measured. False when f lies below the first record or
// the table has fewer than two records; bracket.ndx then holds the failing
// index.
//
// A pair that straddles a multiplier change moves to the side whose state
// matches: down to the two records below when the upper one differs from the
// present state, else up to the two above, and extrapolates from there.
// Where that side has only one record of its state (the first or the last of
// a table, read just across a change), its value is carried along the slope
// of the pair on the other side; with no such pair it is used alone.
bool BracketCalA(double f, int state, CalBracket& bracket);
bool BracketCalB(double f, int state, CalBracket& bracket);

template <typename Record>
double CalValue(const CalBracket& k, const Record* table, double Record::*q) {
  return table[k.base].*q + (table[k.b].*q - table[k.a].*q) * k.t;
}

}  // namespace vna
