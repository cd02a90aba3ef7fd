#pragma once

// Drives a page as its user does: finds items by object name or label, clicks them and
// types into them; reads the settings database file as another program would.

#include "processes.h"
#include "settings/constants.h"
#include "settings/setting.h"

#include <QQuickItem>
#include <QQuickView>
#include <QTest>

#include <functional>

namespace PageDriver {

inline QQuickItem *find(QQuickItem *root, const std::function<bool(QQuickItem *)> &match)
{
    for (QQuickItem *child : root ? root->childItems() : QList<QQuickItem *>()) {
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

inline QQuickItem *named(QQuickView *view, const QString &name) { return named(view->rootObject(), name); }

// A check box or radio button under the named item, by its label.
inline QQuickItem *labelled(QQuickView *view, const QString &parent, const QString &text)
{
    return find(named(view, parent), [&](QQuickItem *item) { return item->property("text").toString() == text; });
}

inline QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

inline bool click(QQuickView *view, QQuickItem *item)
{
    if (!item || !item->isVisible())
        return false;
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(item));
    return true;
}

inline bool click(QQuickView *view, const QString &name) { return click(view, named(view, name)); }

// Replaces the field's text, key by key.
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

// The database file once every write is on disk: one row's value, or every row with ".dump".
inline QString stored(const QString &key)
{
    Setting::instance()->sync();
    const QString query = key == QLatin1String(".dump") ? key : QStringLiteral("SELECT value FROM Settings WHERE name = '%1'").arg(key);
    return commandOutput(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), m_pathSettings + QStringLiteral("setting"), query});
}

} // namespace PageDriver
