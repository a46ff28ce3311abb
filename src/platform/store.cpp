#include "platform/store.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <cstdlib>
#include <memory>

namespace vna {

namespace {

constexpr size_t kMaxValueBytes = 255;

// "hkey_current_user\software\TARVOVNA\" + "dataready" gives
// "HKEY_CURRENT_USER/software/TARVOVNA/dataready".
QString SettingsKey(const std::string& key, const std::string& name) {
  QStringList parts;
  for (const QString& part : QString::fromStdString(key).split('\\', Qt::SkipEmptyParts)) {
    parts << part;
  }
  if (parts.isEmpty()) parts << QString("HKEY_CURRENT_USER");
  parts[0] = parts[0].toUpper();
  if (!name.empty()) parts << QString::fromStdString(name);
  return parts.join('/');
}

// The file's identity and last change: the same stamp means the same contents.
struct Stamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtime_ns = 0;
  bool operator==(const Stamp&) const = default;
};

// The store as last read. QSettings reads the whole file when it is made and
// at each sync: it is made once per file and synced only when the file
// changed, so a poll of an unchanged store reads nothing.
struct Store {
  std::string path;
  std::unique_ptr<QSettings> settings;
  Stamp read;  // the file as the settings hold it
  int loads = 0;
};

Store& TheStore() {
  static Store store;
  return store;
}

StoreState Check(const std::string& path, Stamp& stamp, int64_t* size) {
  stamp = Stamp{};
  if (size) *size = 0;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return StoreState::kOk;  // made by the first write
  if (size) *size = st.st_size;
  if (!S_ISREG(st.st_mode)) return StoreState::kNotAFile;
  if (st.st_size > kMaxStoreBytes) return StoreState::kTooLarge;
  stamp = {true, st.st_dev, st.st_ino, st.st_size,
           static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
  return StoreState::kOk;
}

// The store's settings with the file's present contents; null when the file
// may not be read (it is then left alone, never opened).
QSettings* Current() {
  Store& s = TheStore();
  const std::string path = StoreFile();
  Stamp now;
  if (Check(path, now, nullptr) != StoreState::kOk) return nullptr;
  if (s.path != path || !s.settings) {
    s.settings = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
    s.path = path;
    ++s.loads;
  } else if (!(now == s.read)) {
    s.settings->sync();  // another program wrote since
    ++s.loads;
  }
  s.read = now;
  return s.settings.get();
}

// After our own write the settings hold what the file holds.
void Written() {
  Store& s = TheStore();
  Stamp now;
  Check(s.path, now, nullptr);
  s.read = now;
}

}  // namespace

std::string StoreFile() {
  if (const char* v = std::getenv("VNA_REGISTRY_FILE"); v && *v) return v;
  std::string config;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
    config = x;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home && *home ? home : "/tmp") + "/.config";
  }
  return config + "/vna/registry.ini";
}

StoreState StoreCheck(int64_t* size) {
  Stamp stamp;
  return Check(StoreFile(), stamp, size);
}

int StoreLoads() {
  return TheStore().loads;
}

bool StoreCreateKey(const std::string& key) {
  (void)key;  // an INI section needs no creating: a key exists once the file can take it
  const QString path = QString::fromStdString(StoreFile());
  if (StoreCheck() != StoreState::kOk) return false;
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;  // creates a missing file
  file.close();
  QSettings* s = Current();
  if (!s) return false;
  s->sync();
  Written();
  return s->isWritable() && s->status() == QSettings::NoError;
}

std::string StoreRead(const std::string& key, const std::string& name,
                      const std::string& default_value) {
  QSettings* s = Current();
  if (!s) return default_value;
  const QVariant v = s->value(SettingsKey(key, name));
  if (!v.isValid()) return default_value;
  // An unquoted value with commas, as another program may write it, reads
  // back as a list.
  std::string text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(',').toStdString()
                                                          : v.toString().toStdString();
  if (text.size() > kMaxValueBytes) text.resize(kMaxValueBytes);
  return text;
}

bool StoreWrite(const std::string& key, const std::string& name, const std::string& value) {
  const QString path = QString::fromStdString(StoreFile());
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSettings* s = Current();
  if (!s) return false;
  s->setValue(SettingsKey(key, name), QString::fromStdString(value));
  s->sync();
  if (s->status() != QSettings::NoError) {
    // The value never reached the file: the next read must not see it.
    TheStore().settings.reset();
    return false;
  }
  Written();
  return true;
}

}  // namespace vna
