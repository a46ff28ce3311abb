#include "platform/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <cstdlib>

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

bool StoreCreateKey(const std::string& key) {
  (void)key;  // an INI section needs no creating: a key exists once the file can take it
  const QString path = QString::fromStdString(StoreFile());
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;  // creates a missing file
  file.close();
  QSettings s(path, QSettings::IniFormat);
  s.sync();
  return s.isWritable() && s.status() == QSettings::NoError;
}

std::string StoreRead(const std::string& key, const std::string& name,
                      const std::string& default_value) {
  QSettings s(QString::fromStdString(StoreFile()), QSettings::IniFormat);
  s.sync();  // another program may have written since
  const QVariant v = s.value(SettingsKey(key, name));
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
  QSettings s(path, QSettings::IniFormat);
  s.setValue(SettingsKey(key, name), QString::fromStdString(value));
  s.sync();
  return s.status() == QSettings::NoError;
}

}  // namespace vna
