// How often the calling thread went to sleep and was woken again: its
// voluntary context switches. A read loop that waits in one piece adds one
// or two; one that polls every millisecond adds one per millisecond.
#pragma once

#include <sys/resource.h>

namespace vna::test {

inline long ThreadWakeups() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_nvcsw;
}

}  // namespace vna::test
