#include "graph/markers.h"

#include <utility>

#include "files/settings.h"
#include "graph/state.h"
#include "platform/ui.h"
#include "shell/state.h"

namespace vna {

void ClearMarkers() {
  for (int i = 1; i <= kMaxMarkers; ++i) {
    Marker& m = markers[i];
    m.Freq = 10000;
    m.Rs = m.Xs = m.Phase = m.SWR = m.Rt = 0;
  }
  marker_next = 1;
}

void SortMarkers() {
  // A bubble sort: stable, so markers at the same frequency keep their order.
  int passes = 0;
  bool exchanged = true;
  while (exchanged && passes <= 1000) {
    exchanged = false;
    ++passes;
    for (int j = 1; j < kMaxMarkers; ++j) {
      if (markers[j].Freq > markers[j + 1].Freq) {
        std::swap(markers[j], markers[j + 1]);
        exchanged = true;
      }
    }
  }
  if (passes > 1000) MsgBox(&main_win, "Error in sorting markers.", "", kMbOk, kIconNone, true);
  marker_next = 1;
  for (int j = 1; j <= kMaxMarkers; ++j) {
    if (markers[j].Freq >= 9000) {
      marker_next = j;
      break;
    }
  }
}

}  // namespace vna
