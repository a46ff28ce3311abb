#include "value_parse.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace vna::sim {

bool ParseSi(const std::string& text, double& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  const char* begin = t.c_str();
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE) return false;
  std::string suffix(end);
  double scale = 1;
  if (suffix.size() > 1) return false;
  if (suffix.size() == 1) {
    switch (suffix[0]) {
      case 'f':
        scale = 1e-15;
        break;
      case 'p':
        scale = 1e-12;
        break;
      case 'n':
        scale = 1e-9;
        break;
      case 'u':
        scale = 1e-6;
        break;
      case 'm':
        scale = 1e-3;
        break;
      case 'k':
        scale = 1e3;
        break;
      case 'M':
        scale = 1e6;
        break;
      case 'G':
        scale = 1e9;
        break;
      case 'T':
        scale = 1e12;
        break;
      default:
        return false;
    }
  }
  value = v * scale;
  return std::isfinite(value);
}

bool ParseInt(const std::string& text, long& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(t.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE) return false;
  value = v;
  return true;
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : text) {
    if (c == sep) {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(cur);
  return parts;
}

std::vector<std::pair<std::string, std::string>> SplitKeys(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> items;
  if (Trim(text).empty()) return items;
  for (const std::string& part : Split(text, ',')) {
    const size_t eq = part.find('=');
    if (eq == std::string::npos) {
      items.emplace_back(Trim(part), "");
    } else {
      items.emplace_back(Trim(part.substr(0, eq)), Trim(part.substr(eq + 1)));
    }
  }
  return items;
}

std::string Trim(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  va_end(args);
  return out;
}

}  // namespace vna::sim
