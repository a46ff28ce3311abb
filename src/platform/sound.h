// Wave-file playback for the voice output.
#pragma once

#include <string>

namespace vna {

// Plays a WAV file and returns when it has finished, at the latest after its
// length plus a margin. User input waits meanwhile. Returns false when
// nothing was played: a missing or unreadable file, no audio device; the
// first such case is said once on stderr, nothing else is shown.
bool PlayWavSync(const std::string& path);

// The length of a PCM WAV file in milliseconds from its header; -1 when the
// file is missing, no regular file (a pipe is never waited on) or no WAV
// file.
int WavDurationMs(const std::string& path);

}  // namespace vna
