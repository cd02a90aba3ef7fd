#pragma once

#include <QObject>
#include <QString>

class UploadModel;

// The application controller. This file grows facet by facet (service addresses now;
// tray, windows, capture and upload hand-off as they arrive).
class Core : public QObject
{
    Q_OBJECT
    Q_MOC_INCLUDE("upload/uploadmodel.h")
public:
    static Core *instance();

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

    // ---- Upload list (core_uploads.cpp) ----------------------------------------------
    // The list of running uploads, created on first use as a child of Core.
    Q_INVOKABLE UploadModel *uploadModel();
    // ------------------------------------------------------------------------------------

public slots:
    QString appVersion() const;
    void exitApp();

private:
    Core();

    static Core *m_instance;
    QString m_hostUrlAuth;
    QString m_hostUrl;
    QString m_supportHost;

    // ---- Upload list (core_uploads.cpp) ----
    UploadModel *m_uploadModel = nullptr;
};
