#pragma once

#include <QColor>
#include <QPolygonF>
#include <QQuickPaintedItem>
#include <QVector>

class MPainterArea;

// Base of every annotation item. An item keeps its shape as control points in canvas
// coordinates (two corners, two line ends, a stroke, one anchor); moving and resizing only
// change those points, which is also all an undo step has to remember.
class AbstractGraphItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name CONSTANT)
    Q_PROPERTY(bool check READ isChecked WRITE setCheck NOTIFY checkChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(int colorX READ colorX WRITE setColorX NOTIFY colorXChanged)
    Q_PROPERTY(int lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged)

public:
    static constexpr qreal handleSize = 8.0;

    AbstractGraphItem(const QString &name, QQuickItem *parent = nullptr);

    Q_INVOKABLE QString name() const;
    bool isChecked() const;
    QColor color() const;
    int colorX() const;
    int lineWidth() const;
    MPainterArea *canvas() const;

    QPolygonF points() const;
    void setPoints(const QPolygonF &points);
    void setPoint(int index, const QPointF &point);
    void appendPoint(const QPointF &point);
    void moveBy(const QPointF &offset);

    // The shape's own extent in canvas coordinates, without stroke or handles.
    virtual QRectF shapeBounds() const;
    // Whether a press at this canvas point picks the item.
    virtual bool hitTest(const QPointF &point) const;
    // True when the item came out too small to keep (a click without a drag).
    virtual bool isDegenerate() const;

    virtual QVector<QPointF> handlePositions() const;
    virtual bool isResizable() const;
    int handleAt(const QPointF &point) const;
    // The control points after dragging `handle` to `point`, starting from `start`.
    virtual QPolygonF resizedPoints(const QPolygonF &start, int handle, const QPointF &point) const;

    // Draws the annotation itself in canvas coordinates: what the rendered capture shows.
    virtual void paintContent(QPainter *painter) = 0;
    // The on-screen form: the annotation plus the editing aids (handles, caret).
    void paint(QPainter *painter) override;

public slots:
    void setCheck(bool checked);
    void setColor(const QColor &color);
    void setColorX(int value);
    void setLineWidth(int width);

signals:
    void checkChanged(bool checked);
    void colorChanged(const QColor &color);
    void colorXChanged(int value);
    void lineWidthChanged(int width);
    void pointsChanged();

protected:
    // How far the painted content reaches beyond shapeBounds().
    virtual qreal contentMargin() const;
    virtual void paintEditingAids(QPainter *painter);
    void paintHandles(QPainter *painter) const;
    void updateGeometry();
    QPen strokePen() const;

private:
    QString m_name;
    QPolygonF m_points;
    QColor m_color = Qt::red;
    int m_colorX = 0;
    int m_lineWidth = 2;
    bool m_checked = false;
};
