#pragma once

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// The Dropbox account as the settings page shows it.
class QDropboxInfo
{
public:
    QDropboxInfo() = default;
    // From the replies of users/get_current_account and users/get_space_usage.
    QDropboxInfo(const QJsonObject &account, const QJsonObject &space);

    bool isValid() const { return !m_email.isEmpty() || !m_name.isEmpty(); }
    QString name() const { return m_name; }
    QString email() const { return m_email; }
    qlonglong total() const { return m_total; }
    qlonglong usage() const { return m_usage; }

private:
    QString m_name;
    QString m_email;
    qlonglong m_total = 0;
    qlonglong m_usage = 0;
};

Q_DECLARE_METATYPE(QDropboxInfo)
