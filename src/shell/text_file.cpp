// Text files: the open modes, number and line writing, line and number
// reading.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "platform/paths.h"
#include "platform/regular_file.h"
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
  if (std::fwrite(s.data(), 1, s.size(), f.fp) == s.size()) return true;
  if (!f.write_error) f.write_error = errno ? errno : EIO;
  return false;
}

bool IsDigit(int c) {
  return c >= '0' && c <= '9';
}

// The next byte within the file's read bound, or EOF.
int Get(TextFile& f) {
  if (f.read_left == 0) return EOF;
  const int c = std::getc(f.fp);
  if (c != EOF && f.read_left > 0) --f.read_left;
  return c;
}

void Unget(TextFile& f, int c) {
  if (std::ungetc(c, f.fp) != EOF && f.read_left >= 0) ++f.read_left;
}

// Write permission as the user means it. root passes every access check, so
// a file or folder that nobody may write counts as read-only for root too:
// that is how a user marks a file or folder "do not change".
bool MayWrite(const std::string& path, const struct stat& st) {
  if (access(path.c_str(), W_OK) != 0) return false;
  return geteuid() != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool FolderMayBeWritten(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && MayWrite(folder, st);
}

// A new, empty file beside `path` with the permissions the target has (or a
// new file would get); nullptr when the target may not be written.
std::FILE* OpenReplacement(std::string& path, std::string& temp) {
  // A link stays a link: its target gets the new contents.
  if (char* real = realpath(path.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  struct stat st {};
  mode_t mode;
  if (stat(path.c_str(), &st) == 0) {
    // Renaming over a pipe or a device would put a file in its place.
    if (!S_ISREG(st.st_mode) || !MayWrite(path, st)) return nullptr;
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (!FolderMayBeWritten(path)) return nullptr;
  temp = path + ".tmp-XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return nullptr;
  fchmod(fd, mode);
  std::FILE* fp = fdopen(fd, "w+b");
  if (!fp) {
    close(fd);
    unlink(temp.c_str());
  }
  return fp;
}

}  // namespace

TextFile::~TextFile() {
  CloseTextFile(*this);
}

int OpenTextFile(TextFile& f, const std::string& name, const std::string& mode) {
  CloseTextFile(f);
  std::string m;
  for (char c : mode) m += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const char* cmode = m == "R" ? "rb" : m == "A" ? "a+b" : m == "R+" ? "r+b" : nullptr;
  const int flags = m == "R" ? O_RDONLY : m == "A" ? O_RDWR | O_CREAT | O_APPEND : O_RDWR;
  if ((!cmode && m != "W") || name.empty()) return 1;
  std::string path = HostPath(name);
  if (m == "W") {
    f.fp = OpenReplacement(path, f.temp);
    if (!f.fp) {
      f.temp.clear();
      return 1;
    }
    f.target = path;
    return 0;
  }
  // A folder is no file either: existence tests rely on its open failing.
  struct stat st {};
  const int fd = OpenRegularFile(path, flags, st);
  if (fd < 0) return 1;
  std::FILE* fp = fdopen(fd, cmode);
  if (!fp) {
    close(fd);
    return 1;
  }
  f.fp = fp;
  f.writing = false;
  return 0;
}

InputRefusal OpenInputFile(TextFile& f, const std::string& name, int64_t max_bytes, int64_t* size) {
  if (size) *size = 0;
  if (OpenTextFile(f, name, "R") != 0) return InputRefusal::kCannotOpen;
  struct stat st {};
  fstat(fileno(f.fp), &st);
  if (size) *size = st.st_size;
  if (st.st_size > max_bytes) {
    CloseTextFile(f);
    return InputRefusal::kTooLarge;
  }
  f.read_left = max_bytes;
  return InputRefusal::kNone;
}

int AppendToFile(const std::string& name, const std::string& text) {
  if (name.empty()) return -1;
  const std::string path = HostPath(name);
  struct stat st {};
  const int fd = OpenRegularFile(path, O_RDWR | O_APPEND, st);
  if (fd < 0) return -1;
  if (!MayWrite(path, st)) {
    close(fd);
    return -1;
  }
  std::string bytes = text;
  char last = '\n';
  if (st.st_size > 0 && pread(fd, &last, 1, st.st_size - 1) != 1) last = '\n';
  if (last != '\n' && last != '\r') bytes.insert(0, "\r\n");
  int err = 0;
  for (size_t done = 0; done < bytes.size() && !err;) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      err = n < 0 ? errno : EIO;
    }
  }
  if (!err && fsync(fd) != 0) err = errno;
  // A line written in part would stay as damage at the end of the file.
  if (err && ftruncate(fd, st.st_size) != 0) err = err ? err : errno;
  close(fd);
  return err;
}

int CloseTextFile(TextFile& f) {
  int err = 0;
  if (f.fp && !f.temp.empty()) {
    err = f.write_error;
    if (!err && std::fflush(f.fp) != 0) err = errno;
    if (!err && std::ferror(f.fp)) err = EIO;
    if (!err && fsync(fileno(f.fp)) != 0) err = errno;
    if (std::fclose(f.fp) != 0 && !err) err = errno;
    if (!err && std::rename(f.temp.c_str(), f.target.c_str()) != 0) err = errno;
    if (err) unlink(f.temp.c_str());
  } else if (f.fp) {
    std::fclose(f.fp);
  }
  f.fp = nullptr;
  f.writing = false;
  f.write_error = 0;
  f.read_left = -1;
  f.target.clear();
  f.temp.clear();
  return err;
}

bool FileEof(TextFile& f) {
  if (!f.fp || f.read_left == 0) return true;
  if (!f.writing) {
    // Whether a byte is left, from the stream's own buffer: asking the
    // file's size meant flushing that buffer, so a reader that asks before
    // every line read its file once per line. The end found here is not
    // kept (a file that grows later reads on, as when the size was asked).
    const bool ended_before = std::feof(f.fp) != 0;
    const int c = std::getc(f.fp);
    if (c == EOF) {
      if (!ended_before) std::clearerr(f.fp);
      return true;
    }
    std::ungetc(c, f.fp);
    return false;
  }
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
  int c = Get(f);
  if (c == EOF) return -1;
  for (; c != EOF && c != '\r' && c != '\n'; c = Get(f)) {
    if (target.size() < max_chars) target += static_cast<char>(c);
  }
  if (c == '\r') {
    int next = Get(f);
    if (next != '\n' && next != EOF) Unget(f, next);
  }
  return 0;
}

namespace {

// After a token ended at an "e" or "E": an exponent ("e-3", "E+06") joins
// the token, whatever its length (a mantissa is never read without its
// exponent), and the byte after its digits ends it; anything else leaves
// the file just past the "e", as any other byte that ends a token.
void ReadExponent(TextFile& f, std::string& token) {
  const long at = std::ftell(f.fp);
  const int64_t left = f.read_left;
  std::string exponent = "e";
  int c = Get(f);
  if (c == '+' || c == '-') {
    exponent += static_cast<char>(c);
    c = Get(f);
  }
  if (!IsDigit(c)) {
    if (at >= 0) {
      std::fseek(f.fp, at, SEEK_SET);
      f.read_left = left;
    }
    return;
  }
  exponent += static_cast<char>(c);
  while (exponent.size() < kMaxNumberToken) {
    c = Get(f);
    if (!IsDigit(c)) break;
    exponent += static_cast<char>(c);
  }
  token += exponent;
}

}  // namespace

int ReadNumber(TextFile& f, double& target) {
  target = 0;
  if (!f.fp) return -1;
  ForRead(f);
  int c;
  do {
    c = Get(f);
  } while (c != EOF && c != '-' && !IsDigit(c));
  if (c == EOF) return -1;
  std::string token(1, static_cast<char>(c));
  bool ended = false;  // by a byte that is not part of it (consumed)
  while (token.size() < kMaxNumberToken) {
    c = Get(f);  // the byte that ends the token is consumed with it
    if (c == EOF || !(IsDigit(c) || c == '.' || c == '-')) {
      ended = true;
      break;
    }
    token += static_cast<char>(c);
  }
  if (!ended) {
    // A full token still takes an exponent right after it.
    c = Get(f);
    if (c != 'e' && c != 'E' && c != EOF) Unget(f, c);
  }
  if (c == 'e' || c == 'E') ReadExponent(f, token);
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
  int c = Get(f);
  return c == EOF ? -1 : c;
}

bool WriteBytes(TextFile& f, const std::string& bytes) {
  return Put(f, bytes);
}

}  // namespace vna
