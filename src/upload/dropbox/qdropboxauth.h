#pragma once

#include <QObject>
#include <QString>

// The Dropbox account as the settings pages see it. Its data lives in the settings
// (drop_box_*); signing in is completed with the Dropbox client.
class DropboxAuth : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isAuth READ isAuth NOTIFY isAuthChanged)
    Q_PROPERTY(QString name READ name NOTIFY isAuthChanged)
    Q_PROPERTY(QString email READ email NOTIFY isAuthChanged)
    Q_PROPERTY(qlonglong total READ total NOTIFY isAuthChanged)
    Q_PROPERTY(qlonglong usage READ usage NOTIFY isAuthChanged)
public:
    explicit DropboxAuth(QObject *parent = nullptr);

    // Registers the type in the QML module "Core" 1.0.
    static void registerQmlType();

    bool isAuth() const;
    QString name() const;
    QString email() const;
    qlonglong total() const;
    qlonglong usage() const;

    Q_INVOKABLE void authorization();

public slots:
    void logout();

signals:
    void isAuthChanged();
};
