// The last link, the clipboard and the signed link to the history page.

#include "core.h"

#include "network/autorization.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDesktopServices>
#include <QTemporaryFile>
#include <QUrl>

namespace {

QString noBrowserText()
{
    return Core::tr("no program to open web pages could be started (xdg-open)");
}

} // namespace

// A job reports its link when the service made the file record and again when the bytes
// are up: the clipboard is written only for a new link.
void Core::setLastLink(QString link)
{
    qCDebug(lcMavu) << "void Core::setLastLink(QString)" << link;
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
        qCDebug(lcMavu) << "void Core::takeLink(QString, int)" << "kept the newer link instead of" << link;
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
    qCDebug(lcMavu) << "void Core::withdrawLink(QString)" << link;
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
    qCDebug(lcMavu) << "void Core::openLastLink()" << m_lastLink;
    openUrl(m_lastLink);
}

void Core::openUrl(const QString &url)
{
    if (!QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode)))
        showErrorWidget(tr("The link %1 cannot be opened: %2").arg(url, noBrowserText()));
}

void Core::writeClipboard(const QString &text)
{
    if (m_clipboard)
        m_clipboard->setText(text, QClipboard::Clipboard);
}

namespace {

// Long enough for a browser that has to start first to read the page.
constexpr int historyPageLifeMsecs = 60000;

// Sends the browser on to the address at once, also when scripts are off.
QByteArray forwardingPage(const QUrl &address)
{
    const QString encoded = QString::fromLatin1(address.toEncoded()); // quotes and brackets escaped
    const QString attribute = encoded.toHtmlEscaped();
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                          "<meta name=\"referrer\" content=\"no-referrer\">"
                          "<meta http-equiv=\"refresh\" content=\"0; url=%1\"><title>Mavu</title>"
                          "<script>location.replace(\"%2\");</script></head>"
                          "<body><a href=\"%1\">Mavu</a></body></html>\n")
        .arg(attribute, encoded)
        .toUtf8();
}

} // namespace

// The history page signs the user in with the token, the time in seconds and the MD5 of
// both.
QUrl Core::signedHistoryUrl() const
{
    const QString seconds = QString::number(QDateTime::currentMSecsSinceEpoch() / 1000);
    const QString token = Autorization::token();
    const QByteArray signature =
        QCryptographicHash::hash(token.toUtf8() + seconds.toUtf8(), QCryptographicHash::Md5).toHex();
    return QUrl(serverHistory() + token + QLatin1Char('/') + QString::fromLatin1(signature) + QLatin1Char('/')
                + seconds);
}

// The signed address holds the token, the key of the stored passwords: handed to the
// desktop's opener, it would stand on command lines that every local user can read. The
// opener gets a private page instead, which forwards the browser there; the page goes
// after a minute, at quit, or at the next start with the other temporary files.
QString Core::writeHistoryPage(const QUrl &address, QString *failure)
{
    *failure = DataFolder::refusal(m_tempDir);
    if (!failure->isEmpty())
        return QString();
    auto *page = new QTemporaryFile(m_tempDir + QStringLiteral("history-XXXXXX.html"), this);
    const QByteArray html = forwardingPage(address);
    if (!page->open() || page->write(html) != html.size() || !page->flush()) {
        *failure = page->errorString();
        delete page;
        return QString();
    }
    const QString path = page->fileName();
    page->close();
    QTimer::singleShot(historyPageLifeMsecs, page, &QObject::deleteLater);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, page, [page] { delete page; });
    return path;
}

void Core::openHistory()
{
    if (!checkAutorization())
        return;
    const QUrl address = signedHistoryUrl();
    QString failure = address.isValid() ? QString() : address.errorString();
    const QString page = failure.isEmpty() ? writeHistoryPage(address, &failure) : QString();
    if (!page.isEmpty() && !QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        failure = noBrowserText();
    if (!failure.isEmpty())
        showErrorWidget(tr("The history page cannot be opened: %1").arg(failure));
}
