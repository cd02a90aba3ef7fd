// Services of the settings store that reach outside the database: the interface
// language, the autostart entry and the anonymous analytics client id.

#include "setting.h"

#include "atomicfile.h"
#include "debuglog.h"
#include "settingkeys.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTranslator>
#include <QUuid>

namespace {

QString autostartFolder()
{
    return QDir::homePath() + QStringLiteral("/.config/autostart/");
}

QString autostartEntryPath()
{
    return autostartFolder() + QStringLiteral("Mavu.desktop");
}

QByteArray autostartEntry()
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Exec='" + QCoreApplication::applicationFilePath().toUtf8() + "'\n"
           "Hidden=false\n"
           "NoDisplay=false\n"
           "Name=Voza-rudaz\n";
}

} // namespace

void Setting::checkTranslate()
{
    if (!m_translator)
        m_translator = new QTranslator(this);
    const QString chosen = getValue(SettingKeys::language).toString();
    QString catalogue;
    if (chosen == QLatin1String("ru"))
        catalogue = QStringLiteral(":/translate/mavu.qm");
    else if (chosen == QLatin1String("en"))
        catalogue = QStringLiteral(":/translate/mavu_en.qm");
    if (!catalogue.isEmpty()) {
        if (!m_translator->load(catalogue))
            qCDebug(lcMavu) << "void Setting::checkTranslate()" << "can't load" << catalogue;
        QCoreApplication::installTranslator(m_translator);
    }
    emit languageChanged();
}

void Setting::changeValue(QString name, QVariant value)
{
    if (name != SettingKeys::autostart)
        return;
    qCDebug(lcMavu) << "void Setting::changeValue(QString, QVariant)" << "change autostart";
    if (value.toBool())
        writeAutostartEntry();
    else
        removeAutostartEntry();
}

// Replaced whole or not at all: a full disk leaves the entry as it was, and the user is
// told that the setting and the session may differ.
void Setting::writeAutostartEntry()
{
    QDir().mkpath(autostartFolder());
    QString failure;
    if (!AtomicFile::save(autostartEntryPath(), autostartEntry(), &failure))
        addProblem(tr("The autostart entry %1 cannot be written (%2): Mavu may not start when you log in.")
                       .arg(autostartEntryPath(), failure));
}

void Setting::removeAutostartEntry()
{
    if (!QFile::remove(autostartEntryPath()))
        qCDebug(lcMavu) << "void Setting::changeValue(QString, QVariant)" << "can`t remove autorun";
}

QString Setting::getUserId()
{
    QSettings store(QStringLiteral("wn"), QStringLiteral("mavu"));
    QString id = store.value(QStringLiteral("cid")).toString();
    if (id.isEmpty()) {
        id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        store.setValue(QStringLiteral("cid"), id);
    }
    return id;
}
