#include "files/write_errors.h"

#include <cstring>
#include <filesystem>

#include "platform/paths.h"
#include "shell/quoted_text.h"

namespace vna {

std::string ReadOnlyFileText(const std::string& name) {
  return "The file named: " + QuotedPath(name) +
         "  \ris a Read-Only file.\rIt cannot be updated.\r" +
         "Make sure the Read-Only bit for all the files in \rthe VNA folder is NOT set.";
}

std::string CannotCreateFileText(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(HostPath(name)).parent_path();
  std::error_code ec;
  if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
    return "The file named: " + QuotedPath(name) + "  \rcannot be created: its folder " +
           QuotedPath(folder.string()) + " does not exist.";
  return ReadOnlyFileText(name);
}

std::string WriteFailedText(const std::string& name, int err) {
  return "The file named: " + QuotedPath(name) + "  \rcould not be written (" + std::strerror(err) +
         ").\r" + "The previous file was kept unchanged.";
}

}  // namespace vna
