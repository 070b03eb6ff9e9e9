#include "platform/DiagnosticsLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <mutex>

namespace {

std::mutex gLogMutex;

void toDebugLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QString line = qFormatLogMessage(type, context, message);
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(line));
    const QString path = qEnvironmentVariable(kDebugLogVariable);
    if (path.isEmpty()) return;
    const std::lock_guard lock(gLogMutex);
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
    log.write(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + line.toUtf8() + '\n');
}

} // namespace

void installDiagnosticsLog() {
    qInstallMessageHandler(toDebugLog);
}
