#include "debuglog.h"

#include <QTextStream>

#include <algorithm>

Q_LOGGING_CATEGORY(lcMavu, "mavu", qEnvironmentVariableIsSet("MAVU_DEBUG") ? QtDebugMsg : QtInfoMsg)

namespace {

QtMessageHandler previousSink = nullptr;

void escapedLine(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    previousSink(type, context, escapeControls(text));
}

} // namespace

QString escapeControls(const QString &text, QStringView kept)
{
    const auto isEscaped = [kept](QChar c) { return c.category() == QChar::Other_Control && !kept.contains(c); };
    if (std::none_of(text.begin(), text.end(), isEscaped))
        return text;
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (isEscaped(c))
            escaped += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

void installDebugLineSink()
{
    const QtMessageHandler previous = qInstallMessageHandler(escapedLine);
    if (previous != escapedLine)
        previousSink = previous;
}

void printLine(const QString &line)
{
    QTextStream(stdout) << escapeControls(line) << Qt::endl;
}
