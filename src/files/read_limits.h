// How large a data file may be. Every format is a fixed number of lines of
// at most what the line reader keeps, so a file larger than its longest
// possible form is no file of its kind: it is refused before a byte is read,
// instead of keeping the program busy reading it.
#pragma once

#include <cstdint>
#include <string>

#include "files/state.h"

namespace vna {

// The longest line a reader takes whole, with its CR LF.
constexpr int64_t kMaxLineBytes = static_cast<int64_t>(kLineBufChars) + 2;

// The most bytes a file of at most `lines` lines can hold.
constexpr int64_t MaxFileBytes(int64_t lines) {
  return lines * kMaxLineBytes;
}

// "It is <size> bytes long, larger than <what> can be."
std::string TooLargeText(int64_t size, const std::string& what);

}  // namespace vna
