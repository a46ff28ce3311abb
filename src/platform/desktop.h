// Documents and web pages in the desktop's own applications.
#pragma once

#include <string>

namespace vna {

// Opens a document (the PDF manual) or a URL ("https://...") with the
// desktop's handler and returns without waiting for it. False, and nothing
// shown, when the file is missing or no handler takes it.
bool OpenDocument(const std::string& path_or_url);

}  // namespace vna
