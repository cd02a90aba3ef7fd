// The last link, the clipboard and the signed link to the history page.

#include "core.h"

#include "network/autorization.h"

#include <QAction>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>

// A job reports its link when the service made the file record and again when the bytes
// are up: the clipboard is written only for a new link.
void Core::setLastLink(QString link)
{
    qDebug() << "void Core::setLastLink(QString)" << link;
    if (link != m_lastLink) {
        m_lastLink = link;
        emit lastLinkChanged(link);
        writeClipboard(link);
    }
    emit lastLinkChanged(m_lastLink);
    updateLinkActions();
}

// Uploads that run at once end in any order: a link reaches the clipboard unless a newer
// capture (a job started later) has put its own there already. A link from no job (0)
// always does.
void Core::takeLink(QString link, int job)
{
    if (job != 0 && job < m_linkJob) {
        qDebug() << "void Core::takeLink(QString, int)" << "kept the newer link instead of" << link;
        return;
    }
    if (job != 0)
        m_linkJob = job;
    setLastLink(link);
}

void Core::takeUploadedLink(QString link, int job)
{
    m_batchUploaded = true;
    if (job >= m_uploadedJob) {
        m_uploadedJob = job;
        m_uploadedLink = link;
    }
    takeLink(link, job);
}

// The newest link that went up in this batch takes the place of a withdrawn one.
void Core::withdrawLink(QString link)
{
    qDebug() << "void Core::withdrawLink(QString)" << link;
    if (link.isEmpty())
        return;
    if (m_clipboard && m_clipboard->text(QClipboard::Clipboard) == link)
        m_clipboard->clear(QClipboard::Clipboard);
    if (m_lastLink != link)
        return;
    m_lastLink.clear();
    emit lastLinkChanged(m_lastLink);
    updateLinkActions();
    m_linkJob = m_uploadedJob;
    if (!m_uploadedLink.isEmpty())
        setLastLink(m_uploadedLink);
}

QString Core::lastLink() const
{
    return m_lastLink;
}

void Core::copyLastLink()
{
    writeClipboard(m_lastLink);
}

void Core::openLastLink()
{
    qDebug() << "void Core::openLastLink()" << m_lastLink;
    openUrl(m_lastLink);
}

void Core::writeClipboard(const QString &text)
{
    if (m_clipboard)
        m_clipboard->setText(text, QClipboard::Clipboard);
}

// The history page signs the user in with the token, the time in seconds and the MD5 of
// both.
void Core::openHistory()
{
    if (!checkAutorization())
        return;
    const QString seconds = QString::number(QDateTime::currentMSecsSinceEpoch() / 1000);
    const QString token = Autorization::token();
    const QByteArray signature =
        QCryptographicHash::hash(token.toUtf8() + seconds.toUtf8(), QCryptographicHash::Md5).toHex();
    openUrl(serverHistory() + token + QLatin1Char('/') + QString::fromLatin1(signature) + QLatin1Char('/') + seconds);
}
