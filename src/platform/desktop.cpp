#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "platform/paths.h"

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
  return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace vna
