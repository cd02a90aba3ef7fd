#pragma once

// Every message Qt prints (debug output included, from any thread) while a piece of a test
// runs, for the tests that check what reaches the log.

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace CapturedMessages {

inline QStringList &kept()
{
    static QStringList messages;
    return messages;
}

inline QMutex &guard()
{
    static QMutex mutex;
    return mutex;
}

inline QStringList during(const std::function<void()> &run)
{
    kept().clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        QMutexLocker lock(&guard());
        kept() << text;
    });
    run();
    qInstallMessageHandler(previous);
    QMutexLocker lock(&guard());
    return kept();
}

} // namespace CapturedMessages
