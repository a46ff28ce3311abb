// The version query: is an instrument there, which model is it, what are its
// clocks, offsets and sensors.
#pragma once

namespace vna {

// Sends "V" and reads the reply up to "@" (200 ms for the first byte, 100 ms
// after each further one). detect > 0 also decides the model, takes the
// clocks, offsets and sensor flag and writes "version.txt" into the program
// folder; without a usable reply it switches to demonstration mode. Rebuilds
// the frequency plan at the end in every case.
void GetVersion(int detect);

}  // namespace vna
