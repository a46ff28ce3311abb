// A point a tool reads itself (MeasureAtFreq, Send_Freq) that measured
// nothing, and the one message that says so.
#pragma once

#include <string>

namespace vna {

// The fitted reference magnitude (ref_mag_raw) below which a point has no
// reference to measure against: the link's own limit above 10 MHz, here
// at every frequency.
constexpr double kLeastReference = 50;

// True when the point just read holds no measurement: the link reported a
// failure (no reply, damaged replies, no reference, an overload), the
// instrument is gone, the reply held no samples, or its reference was
// missing. vna_status then holds the reading's status; a failure the link
// gave no status gets one. Call it right after the reading: it also notes
// whether the link has said so in a box of its own.
bool ReadingFailed();

// Whether the link has said in a box of its own that a reading with this
// status failed, as things stand now: the " Hardware Reset" question of a
// silent instrument, the overload, the instrument lost (or the program
// ending).
bool FailureSaidByLink(int status);

// Says once that the reading at freq with this status failed, unless the
// link said so when ReadingFailed found it: a box with `caption`, the
// failure on the first line and `consequence` on the second.
void SayReadingFailed(int status, const std::string& caption, const std::string& consequence);

}  // namespace vna
