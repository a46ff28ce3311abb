#include "files/refused_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "files/init_file.h"
#include "files/state.h"
#include "platform/paths.h"
#include "shell/quoted_text.h"

namespace vna {

namespace {

namespace fs = std::filesystem;

// The same file whichever way its path was written ("x.tdr", "./x.tdr").
std::string Normal(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::absolute(fs::path(path), ec);
  return (ec ? fs::path(path) : p).lexically_normal().string();
}

// The files the program writes again itself, whatever the user does.
bool RewrittenByProgram(const std::string& normal) {
  return normal == Normal(ProgramFolder() + InitFileName()) ||
         normal == Normal("last_VNATDR_file.tdr");
}

}  // namespace

std::string RefusedFileName(const std::string& path) {
  const fs::path p(path);
  fs::path kept = p;
  kept.replace_filename(p.stem().string() + ".refused" + p.extension().string());
  return kept.string();
}

std::string NoteRefusedFile(const std::string& path) {
  const std::string normal = Normal(path);
  if (!RewrittenByProgram(normal)) return "";
  std::vector<std::string>& refused = refused_files;
  if (std::find(refused.begin(), refused.end(), normal) == refused.end()) {
    refused.push_back(normal);
  }
  return "\rBefore this program writes it again, it is kept as " +
         QuotedPath(RefusedFileName(path)) + ".";
}

bool SetRefusedFileAside(const std::string& path) {
  std::vector<std::string>& refused = refused_files;
  const auto it = std::find(refused.begin(), refused.end(), Normal(path));
  if (it == refused.end()) return true;
  std::error_code ec;
  // Gone meanwhile (moved or deleted by the user): nothing left to keep.
  if (!fs::exists(path, ec)) {
    refused.erase(it);
    return true;
  }
  fs::rename(path, RefusedFileName(path), ec);
  if (ec) return false;
  refused.erase(it);
  return true;
}

}  // namespace vna
