#include "files/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"

namespace vna {

namespace {

std::string Reason(int err) { return std::strerror(err); }

// Write permission as the user means it. root passes every access check, so
// a file or folder that nobody may write counts as read-only for root too:
// that is how a user marks a file or folder "do not change".
bool MayWrite(const std::string& path, const struct stat& st) {
  if (access(path.c_str(), W_OK) != 0) return false;
  if (geteuid() == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);  // best effort: the rename is already done
  close(fd);
}

}  // namespace

int OpenSafeWrite(SafeWrite& w, TextFile& f, const std::string& name) {
  CloseTextFile(f);
  w = SafeWrite{};
  if (name.empty()) {
    w.error = "no file name";
    return 1;
  }
  w.target = HostPath(name);
  // Write through a link to the file it names, so the link stays a link.
  char resolved[PATH_MAX];
  if (realpath(w.target.c_str(), resolved)) w.target = resolved;

  struct stat st {};
  mode_t mode = NewFileMode();
  if (stat(w.target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      w.error = "it is a folder";
      return 1;
    }
    if (!MayWrite(w.target, st)) {
      w.error = "the file is read-only";
      return 1;
    }
    mode = st.st_mode & 07777;
  }
  const std::string folder = FolderOf(w.target);
  struct stat fst {};
  if (stat(folder.c_str(), &fst) != 0) {
    w.error = "its folder " + folder + " was not found";
    return 1;
  }
  if (!MayWrite(folder, fst)) {
    w.error = "its folder " + folder + " is read-only";
    return 1;
  }

  std::string base = w.target.substr(folder == "/" ? 1 : folder.size() + 1);
  std::string templ = (folder == "/" ? "" : folder) + "/." + base + ".XXXXXX";
  int fd = mkstemp(templ.data());
  if (fd < 0) {
    w.error = Reason(errno);
    return 1;
  }
  fchmod(fd, mode);
  std::FILE* fp = fdopen(fd, "w+b");
  if (!fp) {
    w.error = Reason(errno);
    close(fd);
    unlink(templ.c_str());
    return 1;
  }
  w.temp = templ;
  f.fp = fp;
  f.writing = true;
  return 0;
}

bool CommitSafeWrite(SafeWrite& w, TextFile& f) {
  if (!f.fp || w.temp.empty()) {
    if (w.error.empty()) w.error = "the file was not open";
    AbandonSafeWrite(w, f);
    return false;
  }
  std::FILE* fp = f.fp;
  f.fp = nullptr;
  f.writing = false;
  int err = 0;
  if (std::fflush(fp) != 0) err = errno;
  if (!err && std::ferror(fp)) err = EIO;
  if (!err && fsync(fileno(fp)) != 0) err = errno;
  if (std::fclose(fp) != 0 && !err) err = errno;
  if (!err && rename(w.temp.c_str(), w.target.c_str()) != 0) err = errno;
  if (err) {
    w.error = Reason(err);
    unlink(w.temp.c_str());
    w.temp.clear();
    return false;
  }
  w.temp.clear();
  SyncFolder(FolderOf(w.target));
  return true;
}

void AbandonSafeWrite(SafeWrite& w, TextFile& f) {
  CloseTextFile(f);
  if (!w.temp.empty()) unlink(w.temp.c_str());
  w.temp.clear();
}

std::string ReadOnlyFileText(const std::string& name) {
  return "The file named: " + name + "  \ris a Read-Only file.\rIt cannot be updated.\r" +
         "Make sure the Read-Only bit for all the files in \rthe VNA folder is NOT set.";
}

std::string WriteFailedText(const std::string& name, const std::string& reason) {
  return "The file named: " + name + "  \rcould not be written (" + reason + ").\r" +
         "The previous file was kept unchanged.";
}

}  // namespace vna
