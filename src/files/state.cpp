#include "files/state.h"

namespace vna {

TextFile data_file;
TextFile file_out;
std::string line_buf;

}  // namespace vna
