#include "shell/quoted_text.h"

#include "shell/text.h"

namespace vna {
namespace {

// The length of the UTF-8 character of a printable code point that starts at
// s[i], or 0 when the bytes there are no such character (a stray or
// truncated sequence, an overlong form, a surrogate, a C1 control).
size_t Utf8Char(const std::string& s, size_t i) {
  const auto at = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = at(i);
  size_t n = 0;
  unsigned cp = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (at(i + k) & 0x3F);
  }
  const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  const bool c1_control = cp >= 0x80 && cp <= 0x9F;
  if (overlong || surrogate || c1_control || cp > 0x10FFFF) return 0;
  return n;
}

std::string Escaped(unsigned char b) {
  const std::string hex = HexText(b);
  return std::string(hex.size() < 2 ? "\\x0" : "\\x") + hex;
}

}  // namespace

std::string QuotedText(const std::string& bytes, size_t max_chars) {
  std::string out;
  size_t shown = 0;  // characters of out
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    std::string piece;
    size_t width = 1, used = 1;
    if (b == '\t' || (b >= 0x20 && b < 0x7F)) {
      piece = std::string(1, static_cast<char>(b));
    } else if (const size_t n = b >= 0x80 ? Utf8Char(bytes, i) : 0; n > 0) {
      piece = bytes.substr(i, n);
      used = n;
    } else {
      piece = Escaped(b);
      width = piece.size();
    }
    if (shown + width > max_chars) return out + "...";
    out += piece;
    shown += width;
    i += used;
  }
  return out;
}

std::string QuotedPath(const std::string& path) {
  return QuotedText(path, kQuotedPathChars);
}

}  // namespace vna
