#pragma once

#include <QQuickItem>

// Turns wheel turns over its area into signals with the angle delta (positive: away from
// the user, or to the left), so that pages can scroll views that ignore the wheel.
class WheelArea : public QQuickItem
{
    Q_OBJECT

public:
    explicit WheelArea(QQuickItem *parent = nullptr);

signals:
    void verticalWheel(int delta);
    void horizontalWheel(int delta);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
