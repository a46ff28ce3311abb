// Text files: the open modes, number and line writing, line and number
// reading.
#include <sys/stat.h>

#include <cctype>

#include "platform/paths.h"
#include "shell/text.h"

namespace vna {

namespace {

constexpr size_t kMaxNumberToken = 40;

// C streams need a positioning call between a write and a following read.
void ForRead(TextFile& f) {
  if (f.writing) {
    std::fseek(f.fp, 0, SEEK_CUR);
    f.writing = false;
  }
}

void ForWrite(TextFile& f) {
  if (!f.writing) {
    std::fseek(f.fp, 0, SEEK_CUR);
    f.writing = true;
  }
}

bool Put(TextFile& f, const std::string& s) {
  if (!f.fp) return false;
  ForWrite(f);
  return std::fwrite(s.data(), 1, s.size(), f.fp) == s.size();
}

bool IsDigit(int c) {
  return c >= '0' && c <= '9';
}

}  // namespace

TextFile::~TextFile() {
  if (fp) std::fclose(fp);
}

int OpenTextFile(TextFile& f, const std::string& name, const std::string& mode) {
  CloseTextFile(f);
  std::string m;
  for (char c : mode) m += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const char* cmode = nullptr;
  if (m == "R")
    cmode = "rb";
  else if (m == "W")
    cmode = "w+b";
  else if (m == "A")
    cmode = "a+b";
  else if (m == "R+")
    cmode = "r+b";
  if (!cmode || name.empty()) return 1;
  std::FILE* fp = std::fopen(HostPath(name).c_str(), cmode);
  if (!fp) return 1;
  // A folder opens as a stream on Linux but is no file: opening one must
  // fail, as existence tests rely on it.
  struct stat st {};
  if (fstat(fileno(fp), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(fp);
    return 1;
  }
  f.fp = fp;
  f.writing = false;
  return 0;
}

void CloseTextFile(TextFile& f) {
  if (f.fp) std::fclose(f.fp);
  f.fp = nullptr;
  f.writing = false;
}

bool FileEof(TextFile& f) {
  if (!f.fp) return true;
  std::fflush(f.fp);
  long pos = std::ftell(f.fp);
  struct stat st {};
  if (pos < 0 || fstat(fileno(f.fp), &st) != 0) return true;
  return pos >= st.st_size;
}

void WriteNumber(TextFile& f, double x) {
  Put(f, NumStr(x) + " ");
}

void WriteText(TextFile& f, const std::string& text) {
  Put(f, text + "\r\n");
}

int ReadLine(TextFile& f, std::string& target, size_t max_chars) {
  target.clear();
  if (!f.fp) return -1;
  ForRead(f);
  int c = std::getc(f.fp);
  if (c == EOF) return -1;
  for (; c != EOF && c != '\r' && c != '\n'; c = std::getc(f.fp)) {
    if (target.size() < max_chars) target += static_cast<char>(c);
  }
  if (c == '\r') {
    int next = std::getc(f.fp);
    if (next != '\n' && next != EOF) std::ungetc(next, f.fp);
  }
  return 0;
}

int ReadNumber(TextFile& f, double& target) {
  target = 0;
  if (!f.fp) return -1;
  ForRead(f);
  int c;
  do {
    c = std::getc(f.fp);
  } while (c != EOF && c != '-' && !IsDigit(c));
  if (c == EOF) return -1;
  std::string token(1, static_cast<char>(c));
  while (token.size() < kMaxNumberToken) {
    c = std::getc(f.fp);  // the byte that ends the token is consumed with it
    if (c == EOF || !(IsDigit(c) || c == '.' || c == '-')) break;
    token += static_cast<char>(c);
  }
  target = ParseNumber(token);
  return 0;
}

int ReadNumber(TextFile& f, int& target) {
  double v;
  int r = ReadNumber(f, v);
  target = Rnd(v);
  return r;
}

int ReadByte(TextFile& f) {
  if (!f.fp) return -1;
  ForRead(f);
  int c = std::getc(f.fp);
  return c == EOF ? -1 : c;
}

bool WriteBytes(TextFile& f, const std::string& bytes) {
  return Put(f, bytes);
}

}  // namespace vna
