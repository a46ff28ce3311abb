#include "files/write_errors.h"

#include <cstring>

namespace vna {

std::string ReadOnlyFileText(const std::string& name) {
  return "The file named: " + name + "  \ris a Read-Only file.\rIt cannot be updated.\r" +
         "Make sure the Read-Only bit for all the files in \rthe VNA folder is NOT set.";
}

std::string WriteFailedText(const std::string& name, int err) {
  return "The file named: " + name + "  \rcould not be written (" + std::strerror(err) + ").\r" +
         "The previous file was kept unchanged.";
}

}  // namespace vna
