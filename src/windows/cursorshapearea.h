#pragma once

#include <QQuickItem>

// An invisible item that gives the area it covers a mouse cursor of the page's choice
// (a pointing hand over links and buttons).
class CursorShapeArea : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(Qt::CursorShape cursorShape READ cursorShape WRITE setCursorShape NOTIFY cursorShapeChanged)

public:
    explicit CursorShapeArea(QQuickItem *parent = nullptr);

    Qt::CursorShape cursorShape() const;
    void setCursorShape(Qt::CursorShape shape);

signals:
    void cursorShapeChanged();
};
