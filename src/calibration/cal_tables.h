// Finding the two calibration records around a frequency, for the Port A and
// Port B corrections.
#pragma once

namespace vna {

// Where a frequency lies in a calibration table. A calibrated quantity q is
// q[a] + (q[c] - q[a]) x t (CalLerp). c is b, or a when the two records
// were measured with different DDS multipliers, so no interpolation crosses a
// multiplier change.
struct CalBracket {
  int ndx = 0;   // first record above the frequency (the last one when none is)
  int a = 0;     // lower record, or the record used alone
  int b = 0;     // upper record
  int c = 0;     // second value record
  double t = 0;  // interpolation factor; outside 0..1 extrapolates
};

// The bracket of f in CalDataA (records 0..MaxCalANdx) or CalDataB (records
// 0..MaxCalBNdx), for the multiplier state `state` (1000 x OSC + mult_code)
// of the point being measured. False when f lies below the first record or
// the table has fewer than two records; bracket.ndx then holds the failing
// index.
//
// A pair that straddles a multiplier change moves to the side whose state
// matches: down to the two records below when the upper one differs from the
// present state, else up to the two above, and extrapolates from there. Where
// that side has only one record inside the table, that record alone is used.
bool BracketCalA(double f, int state, CalBracket& bracket);
bool BracketCalB(double f, int state, CalBracket& bracket);

inline double CalLerp(const CalBracket& k, double qa, double qc) {
  return qa + (qc - qa) * k.t;
}

}  // namespace vna
