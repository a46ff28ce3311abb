#include "files/split_path.h"

#include "files/state.h"
#include "shell/state.h"

namespace vna {

void SplitPath() {
  const size_t cut = msg_text.find_last_of("\\/");
  aux_text = cut == std::string::npos ? "" : msg_text.substr(0, cut + 1);
}

}  // namespace vna
