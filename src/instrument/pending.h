// The measured point, which the command routines and the drift test call
// but which is not built yet. Placeholders until the measured point is built:
// weak definitions in pending.cpp, so the real ones take their place; delete
// the entries then.
#pragma once

namespace vna {

// Programs freq and, unless flags says otherwise, measures it. Placeholder:
// sends nothing, measures nothing, returns 0.
int Send_Freq(int flags);
// One Port A point at freq. Placeholder: reads nothing, returns 0.
int ReadPoint_A(int flags);

// Dialog handlers: each placeholder centres its dialog and waits for its
// close box.
int ConstantTestFreqHandler();
int VnaTestHandler();
int MuxHandler();

}  // namespace vna
