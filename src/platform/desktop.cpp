#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "platform/paths.h"
#include "platform/testhook.h"

namespace vna {

bool OpenDocument(const std::string& path_or_url) {
  if (!QCoreApplication::instance() || path_or_url.empty()) return false;
  const QString text = QString::fromStdString(path_or_url);
  // A scheme has two letters at least, so "c:\manual.pdf" stays a path.
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  QUrl url;
  if (scheme.match(text).hasMatch()) {
    url = QUrl(text);
  } else {
    const QString file = QString::fromStdString(HostPath(path_or_url));
    if (!QFileInfo(file).isFile()) return false;
    url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
  }
  if (!url.isValid()) return false;
  if (testhook::Enabled()) {
    // Tests see what would open; no viewer or browser is started.
    testhook::LogDocument(url.isLocalFile() ? url.toLocalFile().toStdString()
                                            : url.toString().toStdString());
    return true;
  }
  return QDesktopServices::openUrl(url);
}

}  // namespace vna
