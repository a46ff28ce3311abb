#include "calibration/cal_tables.h"

#include "calibration/state.h"

namespace vna {

namespace {

template <typename Record>
bool Bracket(const Record* table, int max, double f, int state, CalBracket& k) {
  if (max >= kCalTableSize) max = kCalTableSize - 1;
  int ndx = max;
  for (int i = 0; i <= max; ++i) {
    if (table[i].freq > f) {
      ndx = i;
      break;
    }
  }
  k = CalBracket{};
  k.ndx = ndx;
  if (ndx < 1 || ndx > max) return false;
  int a = ndx - 1, b = ndx, c = ndx;
  if (table[a].multstate != table[b].multstate) {
    if (table[b].multstate != state) {
      if (ndx >= 2) {
        b = ndx - 1;
        a = ndx - 2;
        c = table[a].multstate == table[b].multstate ? b : a;
      } else {
        b = c = a;  // record 0 is the only one below the change
      }
    } else if (ndx + 1 <= max) {
      a = ndx + 1;
      b = ndx;
      c = table[a].multstate == table[b].multstate ? b : a;
    } else {
      a = c = b;  // the last record is the only one above the change
    }
  }
  k.a = a;
  k.b = b;
  k.c = c;
  const double span = table[b].freq - table[a].freq;
  // Two records on one frequency (a damaged table) give the lower one's values.
  k.t = span != 0 && c != a ? (f - table[a].freq) / span : 0;
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
