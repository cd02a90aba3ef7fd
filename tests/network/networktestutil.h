#pragma once

#include "settings/constants.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace NetworkTestUtil {

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Entries of the error log: lines that open with the time stamp and a TAB.
inline int errorLogEntries()
{
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\\t"),
                                          QRegularExpression::MultilineOption);
    const QString text = QString::fromUtf8(readFile(m_logFileName));
    int count = 0;
    auto it = stamp.globalMatch(text);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

} // namespace NetworkTestUtil
