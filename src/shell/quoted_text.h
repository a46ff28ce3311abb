// Text from outside the program quoted in a message: a line of a file, a
// value a file holds, a file's name. Whatever is not text (control bytes,
// bytes that form no UTF-8 character) is shown escaped as "\x07", so a file
// of random bytes shows as what it is instead of as garbage; a long text is
// cut, "..." marking the cut. Every message that quotes such text uses these.
#pragma once

#include <cstddef>
#include <string>

namespace vna {

// A line of a file, or a value from one.
constexpr size_t kQuotedChars = 80;
// A file's name with its folders: longer than any a person types.
constexpr size_t kQuotedPathChars = 300;

// The bytes as text: printable ASCII, tabs and UTF-8 characters as they are,
// every other byte as "\x" and two hexadecimal digits; at most max_chars
// characters (an escape counts its four), then "...".
std::string QuotedText(const std::string& bytes, size_t max_chars = kQuotedChars);
// QuotedText for a file's name.
std::string QuotedPath(const std::string& path);

}  // namespace vna
