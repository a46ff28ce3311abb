// The registry stand-in: string values under keys written the Windows way,
// "hkey_current_user\software\TARVOVNA\". The text before the first
// backslash names the hive (any case); the rest is the key below it.
//
// The values live in an INI file, VNA_REGISTRY_FILE when set, else
// $XDG_CONFIG_HOME/vna/registry.ini (~/.config/vna/registry.ini). The hive is
// the section in upper case and the key path, backslashes kept, prefixes the
// value name:
//   [HKEY_CURRENT_USER]
//   software\TARVOVNA\dataready=1
// Another program polls the same file, so every read first picks up the
// file's current contents and every write reaches the file at once.
#pragma once

#include <cstdint>
#include <string>

namespace vna {

// The INI file in use.
std::string StoreFile();

// The store holds a handful of short values: six of at most 255 bytes under
// the mailbox's key take about 2 KB. A file far larger is none the program
// or its client wrote, and is never read.
constexpr int64_t kMaxStoreBytes = 64 * 1024;

enum class StoreState {
  kOk,        // usable (a missing file is made by the first write)
  kNotAFile,  // a named pipe, a device or a folder
  kTooLarge,  // more than kMaxStoreBytes
};
// Whether the store file may be read now; its size goes to *size when given.
// A store that may not be read reads as empty, and writes to it fail.
StoreState StoreCheck(int64_t* size = nullptr);

// How often the store file was read in whole so far: reads and polls of an
// unchanged file read nothing; a change is read once.
int StoreLoads();

// Makes sure values can be written under the key; false when the store
// cannot be written.
bool StoreCreateKey(const std::string& key);

// The value, at most 255 bytes; default_value when the key or the value is
// missing.
std::string StoreRead(const std::string& key, const std::string& name,
                      const std::string& default_value);

// Writes a string value, creating the key; false when it did not reach the file.
bool StoreWrite(const std::string& key, const std::string& name, const std::string& value);

}  // namespace vna
