#include "network/cafile.h"

#include <QDebug>
#include <QSslCertificate>
#include <QSslConfiguration>

bool addTrustedCaFile(const QString &path)
{
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(path, QSsl::Pem);
    if (certificates.isEmpty()) {
        qWarning() << "bool addTrustedCaFile(const QString&)" << "no certificate in" << path;
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificates);
    QSslConfiguration::setDefaultConfiguration(configuration);
    return true;
}
