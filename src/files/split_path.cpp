#include "files/split_path.h"

#include "files/state.h"
#include "shell/state.h"

namespace vna {

void SplitPath() {
  const std::string s = msg_text;
  const size_t cut = s.find_last_of("\\/");
  // The folder keeps at least a drive and its separator ("C:\"): a
  // separator in the first two places splits nothing.
  if (cut == std::string::npos || cut < 2) {
    aux_text.clear();
    return;
  }
  aux_text = s.substr(0, cut + 1);
  msg_text = s.substr(cut + 1);
}

void SplitPathInto(const std::string& path, std::string& name, std::string& folder) {
  msg_text = path;
  SplitPath();
  name = msg_text;
  folder = aux_text;
}

}  // namespace vna
