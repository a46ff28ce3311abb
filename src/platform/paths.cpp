#include "platform/paths.h"

#include <QFile>

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vna {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string WithTrailingSlash(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

}  // namespace

std::string ProgramFolder() {
  std::string dir = Env("VNA_PROGRAM_DIR");
  if (dir.empty()) {
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') data = HomeFolder() + "/.local/share";
    dir = WithTrailingSlash(data) + "vna";
  }
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);  // a failure shows at the first file's open
  return WithTrailingSlash(dir);
}

std::string ShippedFile(const std::string& name) {
  QFile f(QString::fromStdString(":/defaults/" + name));
  if (!f.open(QIODevice::ReadOnly)) return "";
  return f.readAll().toStdString();
}

std::string DriveRoot() {
  std::string root = Env("VNA_DRIVE_ROOT");
  if (root.empty()) root = HomeFolder() + "/.vna/drives";
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

std::string HostPath(const std::string& path) {
  std::string p = path;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
    std::string rest = p.substr(2);
    size_t skip = rest.find_first_not_of('/');
    rest = skip == std::string::npos ? std::string() : rest.substr(skip);
    const std::string drive = DriveRoot() + "/" + letter;
    std::error_code ec;
    std::filesystem::create_directories(drive, ec);  // a failure shows at the file's open
    return drive + "/" + rest;
  }
  return p;
}

}  // namespace vna
