#include "shell/text.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "platform/draw.h"
#include "shell/state.h"

namespace vna {

namespace {

constexpr int kMaxDecimals = 40;

// Fixed-point text with exactly `decimals` decimals, rounded as printf's
// "%.*f" does; std::to_chars never looks at the locale, which Qt sets from
// the environment (a German locale would otherwise write a comma).
// Not-a-number is written as 0.
std::string Fixed(double x, int decimals) {
  if (std::isnan(x)) x = 0;
  if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
  // The integer part of a double has at most 309 digits.
  std::string buf(static_cast<size_t>(decimals) + 320, '\0');
  auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed, decimals);
  buf.resize(static_cast<size_t>(res.ptr - buf.data()));
  return buf;
}

std::string IntText(int64_t v) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

double ItemValue(const TextItem& v) {
  switch (v.kind()) {
    case TextItem::Kind::kInt:
      return static_cast<double>(v.integer());
    case TextItem::Kind::kReal:
      return v.real();
    case TextItem::Kind::kText:
      break;
  }
  return ParseNumber(v.text());
}

std::string Pad2(int v) {
  std::string s = IntText(v);
  return s.size() < 2 ? "0" + s : s;
}

// A number with an exponent, "-1.5e-3": the double nearest to it. Beyond the
// range of a double it is an infinity or 0, as the size of its mantissa's
// value and its exponent tell.
double WithExponent(std::string number, double mantissa, int64_t exponent) {
  const size_t plus = number.find('+');  // from_chars takes no "+"
  if (plus != std::string::npos) number.erase(plus, 1);
  double v = 0;
  const auto res =
      std::from_chars(number.data(), number.data() + number.size(), v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (mantissa == 0 || std::log10(std::fabs(mantissa)) + static_cast<double>(exponent) < 0) {
      return 0.0;
    }
    return mantissa < 0 ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
  }
  if (res.ec != std::errc()) return 0.0;
  return v == 0 ? 0.0 : v;
}

}  // namespace

int RndDown(double x) {
  if (std::isnan(x)) return 0;
  double f = std::floor(x);
  if (f >= 2147483647.0) return std::numeric_limits<int>::max();
  if (f <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(f);
}

std::string NumStr(double x) {
  if (std::isnan(x)) return " 0";
  // A whole value that fits 64 bits is written as that integer; -0 gives 0.
  if (x >= -9223372036854775808.0 && x < 9223372036854775808.0) {
    int64_t t = static_cast<int64_t>(x);
    if (static_cast<double>(t) == x) return " " + IntText(t);
  }
  return " " + Fixed(x, number_decimals);
}

void SetDigits(int n) {
  if (n > kMaxDecimals) n = kMaxDecimals;
  if (n < 0) n = 0;
  number_decimals = n;
}

std::string FormatUsing(const std::string& pattern, const TextItems& values) {
  std::string out;
  size_t next = 0;
  const size_t n = pattern.size();
  for (size_t p = 0; p < n;) {
    const char c = pattern[p];
    if (c == '&') {
      ++p;
      if (next >= values.size()) {
        out += '&';
        continue;
      }
      const TextItem& v = values[next++];
      out += v.kind() == TextItem::Kind::kText ? v.text() : NumStr(ItemValue(v));
      continue;
    }
    if (c != '#') {
      out += c;
      ++p;
      continue;
    }
    // A field: "#" places, at most one "." (only when a place or a "0"
    // follows it, so a full stop after a field stays literal), "0" flags.
    const size_t start = p;
    size_t before = 0, after = 0;
    bool point = false, zeros = false;
    for (; p < n; ++p) {
      const char d = pattern[p];
      if (d == '#') {
        (point ? after : before)++;
      } else if (d == '0') {
        zeros = true;
      } else if (d == '.' && !point && p + 1 < n &&
                 (pattern[p + 1] == '#' || pattern[p + 1] == '0')) {
        point = true;
      } else {
        break;
      }
    }
    if (next >= values.size()) {  // no value left: the field stays as written
      out.append(pattern, start, p - start);
      continue;
    }
    const TextItem& v = values[next++];
    std::string body;
    size_t int_len;
    if (point) {
      body = Fixed(ItemValue(v), static_cast<int>(after));
      int_len = body.find('.');
      if (int_len == std::string::npos) int_len = body.size();
    } else {
      body = IntText(v.kind() == TextItem::Kind::kInt ? v.integer() : Rnd64(ItemValue(v)));
      int_len = body.size();
    }
    if (int_len < before) out.append(before - int_len, zeros ? '0' : ' ');
    out += body;
  }
  return out;
}

std::string ItemsText(const TextItems& items) {
  std::string s;
  for (const TextItem& it : items) {
    switch (it.kind()) {
      case TextItem::Kind::kText:
        s += it.text();
        break;
      case TextItem::Kind::kInt:
        s += IntText(it.integer()) + " ";
        break;
      case TextItem::Kind::kReal: {
        double x = it.real();
        if (x == 0) x = 0;  // -0 is not negative
        std::string t = Fixed(x, number_decimals);
        if (t[0] != '-') s += ' ';
        s += t;
        break;
      }
    }
  }
  if (!s.empty() && s.back() == '\n') {
    s.pop_back();
    if (!s.empty() && s.back() == '\r') s.pop_back();
  }
  return s;
}

void PrintItems(Window& w, const TextItems& items) {
  PrintText(w, ItemsText(items));
}

std::string FitText(Window& w, const std::string& text, int width, bool keep_end) {
  auto fits = [&](const std::string& t) {
    int tw = 0, th = 0;
    TextExtent(w, t, tw, th);
    return tw <= width;
  };
  // Blanks at the end only wipe: past the edge they show nothing.
  std::string t = text.substr(0, text.find_last_not_of(' ') + 1);
  if (fits(t)) return text;
  const std::string mark = "...";
  while (!t.empty()) {
    if (keep_end) {
      t.erase(0, 1);
      if (fits(mark + t)) return mark + t;
    } else {
      t.pop_back();
      if (fits(t + mark)) return t + mark;
    }
  }
  return fits(mark) ? mark : "";
}

void PrintInLine(Window& w, int right, const TextItems& items, bool keep_end) {
  const int x = w.draw.pos_x, y = w.draw.pos_y;
  FillRect(w, x, y, right - x, InkLineHeight(w), w.draw.text_bg);
  PrintText(w, FitText(w, ItemsText(items), right - x, keep_end));
}

double ParseNumber(const std::string& text) {
  const size_t n = text.size();
  size_t p = 0;
  while (p < n && (text[p] == ' ' || text[p] == '\t')) ++p;
  const size_t start = p;
  bool negative = false;
  if (p < n && text[p] == '-') {
    negative = true;
    ++p;
  }
  auto digit = [&](size_t i) { return i < n && text[i] >= '0' && text[i] <= '9'; };
  bool digits = false;  // an exponent needs a digit before it
  double v = 0;
  for (; digit(p); ++p) {
    v = v * 10 + (text[p] - '0');
    digits = true;
  }
  if (p < n && text[p] == '.') {
    double place = 1;
    for (++p; digit(p); ++p) {
      place *= 10;
      v += (text[p] - '0') * (1 / place);
      digits = true;
    }
  }
  // An exponent ("1.5E-3", "2e+6"), as another program may write one: the
  // number is then read by the standard conversion, rounded once, rather
  // than as its digits times a power of ten. Without a digit after the "e"
  // there is none.
  if (digits && p < n && (text[p] == 'e' || text[p] == 'E')) {
    size_t e = p + 1;
    const bool down = e < n && text[e] == '-';
    if (e < n && (text[e] == '+' || text[e] == '-')) ++e;
    if (digit(e)) {
      int64_t exponent = 0;
      for (; digit(e); ++e) {
        if (exponent < 1000000) exponent = exponent * 10 + (text[e] - '0');
      }
      return WithExponent(text.substr(start, e - start), negative ? -v : v,
                          down ? -exponent : exponent);
    }
  }
  if (negative) v = -v;
  return v == 0 ? 0.0 : v;  // "-" and "-0" give 0, not -0
}

std::string HexText(int64_t v) {
  uint64_t u = v < 0 && v >= std::numeric_limits<int32_t>::min() ? static_cast<uint32_t>(v)
                                                                 : static_cast<uint64_t>(v);
  static const char kDigits[] = "0123456789ABCDEF";
  // Written from the last digit back, then copied once: a frequency word's
  // digits go out with every measured point.
  char buf[16];
  char* p = buf + sizeof buf;
  do {
    *--p = kDigits[u & 15];
    u >>= 4;
  } while (u != 0);
  return std::string(p, buf + sizeof buf);
}

std::string DateText() {
  LocalTime t = NowLocal();
  std::string year = IntText(t.year);
  while (year.size() < 4) year.insert(year.begin(), '0');
  return Pad2(t.month) + "-" + Pad2(t.day) + "-" + year;
}

std::string DatePictureText(const std::string& picture, int year, int month, int day) {
  // QLocale() is the default locale: the user's, unless a test pinned one.
  return QLocale().toString(QDate(year, month, day), QString::fromStdString(picture)).toStdString();
}

std::string DateText(const std::string& picture) {
  LocalTime t = NowLocal();
  return DatePictureText(picture, t.year, t.month, t.day);
}

std::string TimeText() {
  LocalTime t = NowLocal();
  return Pad2(t.hour) + ":" + Pad2(t.minute) + ":" + Pad2(t.second);
}

}  // namespace vna
