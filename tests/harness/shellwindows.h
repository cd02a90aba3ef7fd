#pragma once

// What the user sees of the program's small windows, for tests in the program's own
// process: the shown windows of a class and the texts of the shown error windows.

#include "windows/errorwidget.h"

#include <QFile>
#include <QGuiApplication>
#include <QQuickItem>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

namespace ShellWindows {

// The program's windows of a class, shown or not.
template <typename Window>
QList<Window *> all()
{
    QList<Window *> found;
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (auto *typed = qobject_cast<Window *>(window))
            found.append(typed);
    }
    return found;
}

template <typename Window>
QList<Window *> shown()
{
    QList<Window *> found = all<Window>();
    found.removeIf([](Window *window) { return !window->isVisible(); });
    return found;
}

// The text an error window's page shows, empty while the page hides it.
inline QString shownErrorText(ErrorWidget *window)
{
    QObject *page = window->rootObject();
    auto *text = page ? page->findChild<QQuickItem *>(QStringLiteral("errorText")) : nullptr;
    return text && text->isVisible() ? text->property("text").toString() : QString();
}

inline QStringList shownErrorTexts()
{
    QStringList texts;
    for (ErrorWidget *window : shown<ErrorWidget>())
        texts.append(shownErrorText(window));
    return texts;
}

// The address the private page of the history opens in the browser, empty when the page
// forwards nowhere.
inline QString historyPageTarget(const QString &page)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    static const QRegularExpression refresh(QStringLiteral("http-equiv=\"refresh\" content=\"0; url=([^\"]+)\""));
    return refresh.match(QString::fromUtf8(file.readAll())).captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// Hides every shown page window, so that the next case starts on an empty screen.
inline void hideAll()
{
    for (BasicWindow *window : shown<BasicWindow>())
        window->hide();
}

// Closes every shown page window as its user would, and lets the closing run.
inline void closeAll()
{
    for (BasicWindow *window : shown<BasicWindow>())
        window->close();
    QTest::qWait(50);
}

} // namespace ShellWindows
