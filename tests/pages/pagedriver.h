#pragma once

// Drives a page as its user does: finds items by object name or shown text, clicks them,
// types into them; and reads a settings row as it lies in the database file.

#include "settings/constants.h"
#include "settings/setting.h"

#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

#include <functional>

namespace PageDriver {

inline QQuickItem *find(QQuickItem *root, const std::function<bool(QQuickItem *)> &match)
{
    if (!root)
        return nullptr;
    for (QQuickItem *child : root->childItems()) {
        if (match(child))
            return child;
        if (QQuickItem *found = find(child, match))
            return found;
    }
    return nullptr;
}

inline QQuickItem *named(QQuickItem *root, const QString &name)
{
    return find(root, [&](QQuickItem *item) { return item->objectName() == name; });
}

inline QQuickItem *named(QQuickView *view, const QString &name)
{
    return named(view->rootObject(), name);
}

// A check box or radio button under the named item, by its label.
inline QQuickItem *labelled(QQuickView *view, const QString &parent, const QString &text)
{
    return find(named(view, parent), [&](QQuickItem *item) { return item->property("text").toString() == text; });
}

inline bool click(QQuickView *view, QQuickItem *item)
{
    if (!item || !item->isVisible())
        return false;
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(view, Qt::LeftButton, {}, centre.toPoint());
    return true;
}

inline bool click(QQuickView *view, const QString &name)
{
    return click(view, named(view, name));
}

// Replaces the field's text as typed keys.
inline bool type(QQuickView *view, const QString &field, const QString &text)
{
    if (!click(view, field))
        return false;
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(c), Qt::NoModifier);
    return true;
}

inline bool activate(QQuickView *view)
{
    view->requestActivate();
    return QTest::qWaitForWindowActive(view);
}

// The value column of the row, read by sqlite3 once every write is on disk.
inline QString storedRow(const QString &key)
{
    Setting::instance()->sync();
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), m_pathSettings + QStringLiteral("setting"),
                                             QStringLiteral("SELECT value FROM Settings WHERE name = '%1'").arg(key)});
    sqlite.waitForFinished(10000);
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
}

} // namespace PageDriver
