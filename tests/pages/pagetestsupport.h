#pragma once

// Shared by the page tests: every warning Qt or QML prints while a test runs is kept, and
// the test fails on it (a missing image or a broken binding shows up as such a warning).

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

namespace PageTestSupport {

inline QStringList &warnings()
{
    static QStringList list;
    return list;
}

inline QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    // The offscreen platform's notices about what it cannot do (raise, masks) are no faults.
    const bool platformNotice = text.startsWith(QLatin1String("This plugin does not support"));
    if ((type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) && !platformNotice)
        warnings() << text;
    if (previousHandler())
        previousHandler()(type, context, text);
}

inline void install()
{
    previousHandler() = qInstallMessageHandler(recordMessage);
}

inline QString takeWarnings()
{
    const QString all = warnings().join('\n');
    warnings().clear();
    return all;
}

} // namespace PageTestSupport
