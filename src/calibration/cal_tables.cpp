#include "calibration/cal_tables.h"

#include <algorithm>

#include "calibration/state.h"

namespace vna {

namespace {

template <typename Record>
bool Bracket(const Record* table, int max, double f, int state, CalBracket& k) {
  if (max >= kCalTableSize) max = kCalTableSize - 1;
  // The first record above f, the last when none is. Frequencies never fall
  // along a table (a calibration steps upward, the file reader refuses a row
  // below the one before), so a binary search finds the record a scan from
  // the start would, touching a handful of records instead of all below f.
  int ndx = max;
  if (max >= 0) {
    const Record* above = std::upper_bound(table, table + max + 1, f,
                                           [](double x, const Record& r) { return x < r.freq; });
    if (above != table + max + 1) ndx = static_cast<int>(above - table);
  }
  k = CalBracket{};
  k.ndx = ndx;
  if (ndx < 1 || ndx > max) return false;
  // A pair of records i, i + 1 inside the table measured in one state.
  auto run = [&](int i) {
    return i >= 0 && i + 1 <= max && table[i].multstate == table[i + 1].multstate;
  };
  int a = ndx - 1, b = ndx, base = a;
  if (!run(a)) {
    // The side whose state matches: below the change when the upper record
    // differs from the present state, else above it. Its record next to the
    // change gives the value; the slope comes from the pair on that side, or
    // where that record is the only one of its state, from the pair across.
    const bool down = table[b].multstate != state;
    base = down ? ndx - 1 : ndx;
    a = b = base;  // alone where no pair of one state is at hand
    for (int pair : {down ? ndx - 2 : ndx, down ? ndx : ndx - 2}) {
      if (run(pair)) {
        a = pair;
        b = pair + 1;
        break;
      }
    }
  }
  k.a = a;
  k.b = b;
  k.base = base;
  const double span = table[b].freq - table[a].freq;
  // Two records on one frequency (a damaged table) give no slope.
  k.t = span != 0 ? (f - table[base].freq) / span : 0;
  return true;
}

}  // namespace

bool BracketCalA(double f, int state, CalBracket& bracket) {
  return Bracket(CalDataA, MaxCalANdx, f, state, bracket);
}

bool BracketCalB(double f, int state, CalBracket& bracket) {
  return Bracket(CalDataB, MaxCalBNdx, f, state, bracket);
}

}  // namespace vna
