// The last link, the clipboard and the messages for the user.

#include "core.h"

#include "network/autorization.h"

#include <QClipboard>
#include <QDebug>

void Core::setLastLink(QString link)
{
    qDebug() << "void Core::setLastLink(QString)" << link;
    if (link != m_lastLink) {
        m_lastLink = link;
        emit lastLinkChanged(link);
        writeClipboard(link);
    }
    emit lastLinkChanged(m_lastLink);
}

void Core::withdrawLink(QString link)
{
    qDebug() << "void Core::withdrawLink(QString)" << link;
    if (link.isEmpty())
        return;
    if (m_clipboard && m_clipboard->text(QClipboard::Clipboard) == link)
        m_clipboard->clear(QClipboard::Clipboard);
    if (m_lastLink == link) {
        m_lastLink.clear();
        emit lastLinkChanged(m_lastLink);
    }
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

// The error window arrives with the page windows; until then the text goes to the log.
void Core::showErrorWidget(QString text)
{
    qDebug() << "void Core::showErrorWidget(QString)" << text;
    qWarning().noquote() << text;
}

// The sign-in window arrives with the page windows; until then a capture simply needs an
// account.
bool Core::checkAutorization()
{
    if (Autorization::isAuth())
        return true;
    m_account->resetAutorization();
    return false;
}
