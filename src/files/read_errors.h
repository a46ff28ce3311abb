// What a user is told about a file a reader could not open. Every reader
// opens through OpenTextFile or OpenInputFile, which refuse a file that is
// missing, no regular file (a named pipe, a device, a folder) or not
// readable alike; this tells them apart afterwards, so the message says
// which it was. A missing file keeps each reader's own words.
#pragma once

#include <string>

namespace vna {

// "The file named: <name>" CR and why it was not read: "is a named pipe, not
// a regular file: it cannot be read." or "cannot be read (<reason>)."; ""
// when the file does not exist.
std::string NotReadText(const std::string& name);

}  // namespace vna
