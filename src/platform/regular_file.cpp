#include "platform/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace vna {

int OpenRegularFile(const std::string& host_path, int flags, struct stat& st) {
  const int fd = open(host_path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace vna
