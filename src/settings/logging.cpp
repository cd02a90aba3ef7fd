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
    message.replace(QLatin1Char('\n'), QStringLiteral("\n\t\t\t\t\t"));
    const QString entry = QDateTime::currentDateTime().toString(stampFormat) + QLatin1Char('\t')
        + message + QStringLiteral("\r\n");
    m_file.write(entry.toUtf8());
    m_file.close();
    if (!QFile::exists(m_fileName))
        qCDebug(lcMavu) << "void Logging::writeMessage(QString)" << "hui";
}

// Drops expired entries (with their continuation lines) and leaves the file open for
// appending. The rewrite goes through a new file that replaces the old one, so a crash
// midway never loses the entries that are kept.
void Logging::openFile()
{
    qCDebug(lcMavu) << "void Logging::openFile()";
    if (!DataFolder::refusal(m_fileName).isEmpty()) // reported by the settings store at start
        return;
    bool pruned = false;
    const QByteArray kept = keptEntries(&pruned);
    if (pruned)
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
