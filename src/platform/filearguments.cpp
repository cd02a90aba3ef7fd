#include "filearguments.h"

#include "settings/constants.h"
#include "settings/debuglog.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <unistd.h>

namespace FileArguments {

namespace {

// The names reached through links, by the link's path.
QHash<QString, QByteArray> &linkedNames()
{
    static QHash<QString, QByteArray> names;
    return names;
}

// The length of the UTF-8 sequence that starts at bytes[at], or 0 when none does.
int sequenceLength(const QByteArray &bytes, int at)
{
    const uchar lead = uchar(bytes.at(at));
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xe ? 3 : (lead >> 3) == 0x1e ? 4 : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    const QByteArray sequence = bytes.mid(at, length);
    return QString::fromUtf8(sequence).toUtf8() == sequence ? length : 0; // overlong forms and surrogates too
}

QString decoded(const QByteArray &bytes, const std::function<QString(const QString &)> &text,
                const std::function<QString(uchar)> &undecodable)
{
    QString result;
    for (int at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0) {
            result += undecodable(uchar(bytes.at(at++)));
            continue;
        }
        result += text(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return result;
}

// A link points from its own folder: a relative name is taken from the working folder.
QByteArray absoluteName(const QByteArray &name)
{
    if (name.startsWith('/'))
        return name;
    char folder[PATH_MAX];
    return ::getcwd(folder, sizeof folder) ? QByteArray(folder) + '/' + name : name;
}

QString linkName(QByteArray name)
{
    while (name.size() > 1 && name.endsWith('/'))
        name.chop(1);
    const QByteArray base = name.mid(name.lastIndexOf('/') + 1);
    return decoded(base, [](const QString &text) { return text; }, [](uchar) { return QStringLiteral("_"); });
}

} // namespace

QString usablePath(const QByteArray &name)
{
    const QString text = QFile::decodeName(name);
    if (QFile::encodeName(text) == name)
        return text;
    QTemporaryDir folder(m_tempDir + linkFolderPrefix + QStringLiteral("XXXXXX"));
    const QString link = folder.filePath(linkName(name));
    if (!folder.isValid() || ::symlink(absoluteName(name).constData(), QFile::encodeName(link).constData()) != 0)
        return text;
    folder.setAutoRemove(false);
    linkedNames().insert(link, name);
    return link;
}

QStringList usableArguments(const QList<QByteArray> &arguments)
{
    QStringList usable;
    for (const QByteArray &argument : arguments)
        usable.append(usable.isEmpty() ? QFile::decodeName(argument) : usablePath(argument));
    return usable;
}

QString shownName(const QString &path)
{
    return visibleBytes(linkedNames().value(path, QFile::encodeName(path)));
}

QString visibleBytes(const QByteArray &bytes)
{
    return decoded(bytes, [](const QString &text) { return escapeControls(text, {}); },
                   [](uchar byte) { return QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0')); });
}

} // namespace FileArguments
