#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>

class QClipboard;
class QLockFile;

// The application controller: one object for the whole process, seen by QML as `core`.
// Its facets live in core_<facet>.cpp.
class Core : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString emptyString READ emptyString NOTIFY languageChanged)

public:
    static Core *instance();

    // Service addresses and identity (core_addresses.cpp).
    QString hostUrlAuth() const;
    QString hostUrl() const;
    void setHostUrlAuth(const QString &host);
    void setHostUrl(const QString &host);
    // The second API host (ping and feedback). Fixed by the build; "-beta" leaves it alone.
    // Tests and local stand-ins of the service replace it.
    void setSupportHost(const QString &host);
    QString serverHistory() const;
    QString serverUploadUrl() const;
    QString serverInit() const;
    QString pingUrl() const;
    QString feedbackUrl() const;
    QString userAgent() const;

    QString emptyString() const;

public slots:
    QString appVersion() const;
    void exitApp();
    void clearTempPath();

    // Desktop helpers for the pages (core_desktop.cpp).
    QColor getColorFromX(int x) const;
    void openUrl(const QString &url);
    QString clipboardText() const;
    QString getWindowsManager() const;
    bool is_mac() const;
    void showMainWindow();
    void startArrowAnimation();
    void stopArrowAnimation();

signals:
    void languageChanged();

private:
    Core();

    void printProgress(const QString &line) const;
    bool isFirstInstance();

    static Core *m_instance;
    QString m_hostUrlAuth;
    QString m_hostUrl;
    QString m_supportHost;
    QClipboard *m_clipboard = nullptr;
    QImage m_paletteStrip;
    QLockFile *m_instanceLock = nullptr;
};

// Deletes a folder and everything in it without following symbolic links; stops at the
// first entry it cannot delete. A path where nothing exists counts as removed.
bool removeDir(const QString &path);

// Hands over to an update that the updater left in the update folder: checks it, starts
// it as a new process and returns true when that process runs. A bad update is dropped.
bool startPendingUpdate();
