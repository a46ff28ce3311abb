#include "platform/debug_out.h"

#include <QLoggingCategory>
#include <QString>

namespace vna {

namespace {
Q_LOGGING_CATEGORY(debug_channel, "vna.debug", QtWarningMsg)
}  // namespace

void DebugOutput(const std::string& line) {
  qCDebug(debug_channel).noquote() << QString::fromStdString(line);
}

}  // namespace vna
