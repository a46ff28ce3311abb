#include "files/read_errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "shell/quoted_text.h"

namespace vna {
namespace {

const char* KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISSOCK(mode)) return "a socket";
  return "something else";
}

}  // namespace

std::string NotReadText(const std::string& name) {
  const std::string path = HostPath(name);
  const std::string named = "The file named: " + QuotedPath(name) + "\r";
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || path.empty()) return "";
    return named + "cannot be read (" + std::strerror(errno) + ").";
  }
  if (!S_ISREG(st.st_mode))
    return named + "is " + KindOf(st.st_mode) + ", not a regular file: it cannot be read.";
  // Never waits: the file is a regular one, or became something else since.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return named + "cannot be read (" + std::strerror(errno) + ").";
  close(fd);
  return named + "could not be opened.";
}

}  // namespace vna
