// The tray icon and its menu, rebuilt from scratch whenever the sign-in state or the
// language changes.

#include "core.h"

#include "network/autorization.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>

#include <functional>

namespace {

// The stored hotkey text ("Ctrl + ⇧ + 1", "Print Screen") in the form QKeySequence reads.
QString trayKeyText(const QString &stored)
{
    QString text = stored;
    text.replace(QChar(0x21E7), QStringLiteral("Shift"));
    text.replace(QChar(0x2318), QStringLiteral("Ctrl"));
    text.replace(QStringLiteral("Print Screen"), QStringLiteral("Print"));
    text.remove(QLatin1Char(' '));
    return text;
}

QString storedText(const QString &key)
{
    return Setting::instance()->getValue(key).toString();
}

} // namespace

void Core::createTrayIcon()
{
    // The tray is made of widgets: a process without them (some tests) has none.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    qCDebug(lcMavu) << "void Core::createTrayIcon()" << "start";
    if (!m_trayIcon) {
        m_trayIcon = new QSystemTrayIcon();
        m_trayIcon->setIcon(QIcon(QStringLiteral(":/icon/image/icon.ico")));
        m_trayIcon->setVisible(false);
        m_trayIcon->setVisible(true);
        connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Core::activatedTrayIcon);
        qCDebug(lcMavu) << "void Core::createTrayIcon()" << "icon created";
    }
    createTrayMenu();
    qCDebug(lcMavu) << "void Core::createTrayIcon()" << "done";
}

void Core::createTrayMenu()
{
    qCDebug(lcMavu) << "void Core::createTrayMenu()" << "start create tray";
    struct Entry
    {
        QAction **action;
        const char *text;
        const char *objectName;
        std::function<void()> run;
    };
    const Entry entries[] = {
        {&m_actionAuth, QT_TR_NOOP("Autorization"), "actionAuth", [this] { checkAutorization(); }},
        {&m_actionScreen, QT_TR_NOOP("Capture fragment"), "actionScreen", [this] { fragmentScreen(); }},
        {&m_actionVideo, QT_TR_NOOP("Capture fullscreen"), "actionVideo", [this] { fullScreen(); }},
        {&m_actionSetting, QT_TR_NOOP("Settings"), "actionSetting", [this] { showSetting(); }},
        {&m_trayHistory, QT_TR_NOOP("History"), "trayHistory", [this] { openHistory(); }},
        {&m_actionHelp, QT_TR_NOOP("Help"), "actionHelp", [this] { openHelp(); }},
        {&m_actionQuit, QT_TR_NOOP("Quit"), "actionQuit", [this] { exitApp(); }},
        {&m_openLastLink, QT_TR_NOOP("Open last link"), "openLastLink", [this] { openLastLink(); }},
        {&m_copyLastLink, QT_TR_NOOP("Copy last link"), "copyLastLink", [this] { copyLastLink(); }},
    };
    if (m_trayMenu) {
        for (const Entry &entry : entries) {
            delete *entry.action;
            *entry.action = nullptr;
        }
        m_trayMenu->clear();
    } else {
        m_trayMenu = new QMenu();
    }
    for (const Entry &entry : entries) {
        auto *action = new QAction(tr(entry.text), m_trayMenu);
        action->setObjectName(QLatin1String(entry.objectName));
        connect(action, &QAction::triggered, this, entry.run);
        *entry.action = action;
    }
    updateTrayShortcuts();
    qCDebug(lcMavu) << "void Core::createTrayMenu()" << "key string" << m_actionScreen->objectName();
    updateLinkActions();
    fillTrayMenu();
    m_trayIcon->setVisible(false);
    m_trayIcon->setContextMenu(m_trayMenu);
    m_trayIcon->setVisible(true);
    if (qEnvironmentVariableIsSet("MAVU_DEBUG")) {
        connect(m_trayMenu, &QMenu::aboutToShow, this, [] { qCDebug(lcMavu) << "=== TRAY MENU ABOUT TO SHOW ==="; });
        connect(m_trayMenu, &QMenu::triggered, this,
                [](QAction *action) { qCDebug(lcMavu) << "=== TRAY MENU ACTION TRIGGERED ===" << action->text(); });
    }
    qCDebug(lcMavu) << "void Core::createTrayMenu()" << "complete create tray";
}

// The hotkeys as stored: at every rebuild and whenever the hotkeys are armed anew.
void Core::updateTrayShortcuts()
{
    if (!m_actionScreen || !m_actionVideo)
        return;
    m_actionScreen->setShortcut(
        QKeySequence(trayKeyText(storedText(SettingKeys::keyFragmentScreen)), QKeySequence::PortableText));
    m_actionVideo->setShortcut(
        QKeySequence(trayKeyText(storedText(SettingKeys::keySnapshotScreen)), QKeySequence::NativeText));
}

void Core::fillTrayMenu()
{
    if (Autorization::isAuth()) {
        m_trayMenu->addAction(m_actionScreen);
        m_trayMenu->addAction(m_actionVideo);
        m_trayMenu->addSeparator();
        m_trayMenu->addAction(m_trayHistory);
        m_trayMenu->addAction(m_actionSetting);
        m_trayMenu->addSeparator();
        m_trayMenu->addAction(m_openLastLink);
        m_trayMenu->addAction(m_copyLastLink);
    } else {
        m_trayMenu->addAction(m_actionAuth);
    }
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_actionHelp);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_actionQuit);
}

// Follows the last link at once, not only at the next rebuild of the menu.
void Core::updateLinkActions()
{
    const bool haveLink = !m_lastLink.isEmpty();
    if (m_openLastLink)
        m_openLastLink->setEnabled(haveLink);
    if (m_copyLastLink)
        m_copyLastLink->setEnabled(haveLink);
}

// A plain click starts a fragment capture (or opens the login window); the menu opens by
// itself on a right click.
void Core::activatedTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        screen(false, false);
}
