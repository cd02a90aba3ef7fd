#include "qdropboxauth.h"

#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QQmlEngine>

DropboxAuth::DropboxAuth(QObject *parent)
    : QObject(parent)
{
}

void DropboxAuth::registerQmlType()
{
    qmlRegisterType<DropboxAuth>("Core", 1, 0, "DropboxAuth");
}

bool DropboxAuth::isAuth() const
{
    return !Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2, true).toString().isEmpty();
}

QString DropboxAuth::name() const
{
    return Setting::instance()->getValue(SettingKeys::dropBoxDisplayName).toString();
}

QString DropboxAuth::email() const
{
    return Setting::instance()->getValue(SettingKeys::dropBoxEmail).toString();
}

qlonglong DropboxAuth::total() const
{
    return Setting::instance()->getValue(SettingKeys::dropBoxTotal).toLongLong();
}

qlonglong DropboxAuth::usage() const
{
    return Setting::instance()->getValue(SettingKeys::dropBoxUsage).toLongLong();
}

void DropboxAuth::authorization()
{
}

// Forgets the Dropbox token, the FTP and SFTP connections and the Dropbox account data.
void DropboxAuth::logout()
{
    static const QString *const keys[] = {
        &SettingKeys::dropBoxTokenApiV2,
        &SettingKeys::ftpHost, &SettingKeys::ftpPort, &SettingKeys::ftpUser,
        &SettingKeys::ftpPassword, &SettingKeys::ftpPath, &SettingKeys::ftpBaseUrl,
        &SettingKeys::sftpHost, &SettingKeys::sftpPort, &SettingKeys::sftpUser,
        &SettingKeys::sftpPassword, &SettingKeys::sftpPath, &SettingKeys::sftpBaseUrl,
        &SettingKeys::dropBoxDisplayName, &SettingKeys::dropBoxEmail, &SettingKeys::dropBoxTotal,
        &SettingKeys::dropBoxUsage, &SettingKeys::dropBoxToken,
    };
    Setting *settings = Setting::instance();
    for (const QString *key : keys)
        settings->setValue(*key, QString());
    emit isAuthChanged();
}
