// A fresh temporary folder for one test, removed with everything in it when
// the test ends. Optionally the current folder while it lives.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vna::testing {

class TempDir {
 public:
  explicit TempDir(bool enter = false) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vna-test-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
    if (enter) {
      old_cwd_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ec;
    if (!old_cwd_.empty()) std::filesystem::current_path(old_cwd_, ec);
    std::filesystem::remove_all(path_, ec);
  }

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes bytes to a file below the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string p = *this / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  // The bytes of a file below the folder ("" when missing).
  std::string Read(const std::string& name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string path_;
  std::filesystem::path old_cwd_;
};

// Sets (or, with nullptr, removes) an environment variable for the life of
// the object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, nullptr) {
    setenv(name, value.c_str(), 1);
  }
  ScopedEnv(const char* name, std::nullptr_t) : name_(name) {
    if (const char* old = std::getenv(name)) {
      had_ = true;
      old_ = old;
    }
    unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_)
      setenv(name_.c_str(), old_.c_str(), 1);
    else
      unsetenv(name_.c_str());
  }

 private:
  std::string name_, old_;
  bool had_ = false;
};

}  // namespace vna::testing
