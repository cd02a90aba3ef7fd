#include "logging.h"

#include "atomicfile.h"
#include "constants.h"
#include "datafolder.h"
#include "debuglog.h"
#include "setting.h"

#include <QDateTime>
#include <QDebug>

Logging *Logging::m_instance = nullptr;

namespace {

const QString stampFormat = QStringLiteral("dd-MM-yyyy hh:mm:ss");
constexpr int keptDays = 7;
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// The most one entry takes: the stamp and its TAB, every character of the message a line
// feed with its five TABs, the note of what was cut, CR LF.
constexpr qint64 maxEntryBytes = 20 + 6 * Logging::maxMessageChars + 40;

// The time stamp that opens an entry, or an invalid time for a continuation line.
QDateTime entryTime(const QByteArray &line)
{
    const int tab = line.indexOf('\t');
    if (tab <= 0)
        return QDateTime();
    return QDateTime::fromString(QString::fromUtf8(line.left(tab)), stampFormat);
}

bool isExpired(const QDateTime &stamp, const QDateTime &now)
{
    return stamp.isValid() && stamp.addDays(keptDays) < now;
}

bool isContinuationLine(const QByteArray &line)
{
    return line.startsWith("\t\t\t\t\t");
}

// A service's error text can be megabytes long; its beginning tells what went wrong.
QString cutToSize(const QString &message)
{
    if (message.size() <= Logging::maxMessageChars)
        return message;
    int kept = Logging::maxMessageChars;
    if (message.at(kept - 1).isHighSurrogate()) // a character is never split
        --kept;
    return message.left(kept) + QStringLiteral("... (%1 more characters)").arg(message.size() - kept);
}

// Where the entry after the one at from begins, or the end.
qsizetype nextEntry(const QByteArray &entries, qsizetype from)
{
    for (qsizetype end = entries.indexOf('\n', from); end >= 0; end = entries.indexOf('\n', end + 1)) {
        if (entryTime(entries.mid(end + 1, 20)).isValid())
            return end + 1;
    }
    return entries.size();
}

// Drops the oldest entries, each whole, until the rest fits in budget bytes.
QByteArray newestWithin(const QByteArray &entries, qint64 budget)
{
    qsizetype from = 0;
    while (entries.size() - from > budget)
        from = nextEntry(entries, from);
    return entries.mid(from);
}

} // namespace

Logging::Logging(QObject *parent)
    : QObject(parent)
{
    Setting::instance();
    m_fileName = m_logFileName;
}

void Logging::writeMessage(QString message)
{
    qCDebug(lcMavu) << "void Logging::writeMessage(QString)" << m_fileName;
    if (!QFile::exists(m_fileName) || !m_file.isOpen())
        openFile();
    qCDebug(lcMavu) << "void Logging::writeMessage(QString)" << (m_file.isOpen() ? "true" : "false");
    if (!m_file.isOpen())
        return;
    // Line feeds end the lines of an entry; other control characters came from outside.
    message = cutToSize(escapeControls(message, u"\n\t")).replace(QLatin1Char('\n'), QStringLiteral("\n\t\t\t\t\t"));
    const QByteArray entry = (QDateTime::currentDateTime().toString(stampFormat) + QLatin1Char('\t') + message
                              + QStringLiteral("\r\n")).toUtf8();
    const qint64 before = m_file.size();
    // A cut entry would run into the next one: the file goes back to where it was.
    if (m_file.write(entry) != entry.size()) {
        qCDebug(lcMavu) << "void Logging::writeMessage(QString)" << m_file.errorString();
        m_file.resize(before);
    }
    m_file.close();
    if (!QFile::exists(m_fileName))
        qCDebug(lcMavu) << "void Logging::writeMessage(QString)" << "hui";
}

// Drops expired entries (with their continuation lines), and the oldest ones while the
// file would not leave room for one more within maxFileBytes, and leaves it open for
// appending. The rewrite goes through a new file that replaces the old one, so a crash
// midway never loses the entries that are kept.
void Logging::openFile()
{
    qCDebug(lcMavu) << "void Logging::openFile()";
    if (!DataFolder::refusal(m_fileName).isEmpty()) // reported by the settings store at start
        return;
    bool pruned = false;
    const QByteArray young = keptEntries(&pruned);
    const QByteArray kept = newestWithin(young, maxFileBytes - maxEntryBytes);
    if (pruned || kept.size() < young.size())
        replaceContents(kept);
    const bool created = !QFile::exists(m_fileName);
    m_file.setFileName(m_fileName);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        qCDebug(lcMavu) << "void Logging::openFile()" << m_file.errorString();
        return;
    }
    if (created)
        m_file.setPermissions(ownerOnly);
}

QByteArray Logging::keptEntries(bool *pruned)
{
    QFile file(m_fileName);
    QByteArray kept;
    if (!file.open(QIODevice::ReadOnly))
        return kept;
    const QDateTime now = QDateTime::currentDateTime();
    bool inExpiredEntry = false;
    int lineNumber = 0;
    int lastExpiredLine = -1;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const QDateTime stamp = entryTime(line);
        // A line that is neither an entry nor a continuation is no one's: it is kept.
        if (stamp.isValid() || !isContinuationLine(line))
            inExpiredEntry = isExpired(stamp, now);
        if (inExpiredEntry)
            lastExpiredLine = lineNumber;
        else
            kept.append(line);
        ++lineNumber;
    }
    qCDebug(lcMavu) << "void Logging::openFile()" << lastExpiredLine;
    *pruned = lastExpiredLine >= 0;
    return kept;
}

void Logging::replaceContents(const QByteArray &contents)
{
    QString error;
    if (!AtomicFile::save(m_fileName, contents, &error, AtomicFile::Access::Private))
        qCDebug(lcMavu) << "void Logging::openFile()" << error;
}
