#pragma once

#include <QList>
#include <QPointF>
#include <QQuickItem>
#include <QRectF>

// The capture rectangle over the screen image: drawn with the mouse, resized by its sides and
// corners, slid while Space is held during the first drag, and everything outside it dimmed.
// Inside a finished selection the item lets input through to the canvas underneath.
// A selection less than one pixel wide or high counts as empty (see isEmptySelection).
// The dim layer and the guide lines are plain rectangles of the scene graph, so that a move
// of the pointer repaints only the strips that changed, never the whole screen.
class SurfaceSelector : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QRectF rubberRect READ rubberRect NOTIFY rubberRectChanged)
    Q_PROPERTY(int rubberRectLeft READ rubberRectLeft NOTIFY rubberRectLeftChanged)
    Q_PROPERTY(int rubberRectRight READ rubberRectRight NOTIFY rubberRectRightChanged)
    Q_PROPERTY(int rubberRectTop READ rubberRectTop NOTIFY rubberRectTopChanged)
    Q_PROPERTY(int rubberRectBottom READ rubberRectBottom NOTIFY rubberRectBottomChanged)
    Q_PROPERTY(int gRubberRectLeft READ gRubberRectLeft NOTIFY gRubberRectLeftChanged)
    Q_PROPERTY(int gRubberRectRight READ gRubberRectRight NOTIFY gRubberRectRightChanged)
    Q_PROPERTY(int gRubberRectTop READ gRubberRectTop NOTIFY gRubberRectTopChanged)
    Q_PROPERTY(int gRubberRectBottom READ gRubberRectBottom NOTIFY gRubberRectBottomChanged)
    Q_PROPERTY(bool showToolBar READ showToolBar NOTIFY showToolBarChanged)
    Q_PROPERTY(bool fullScreen READ fullScreen WRITE setFullScreen NOTIFY fullScreenChanged)
    Q_PROPERTY(bool quickScreen READ quickScreen WRITE setQuickScreen NOTIFY quickScreenChanged)
    Q_PROPERTY(bool isPress READ isPress NOTIFY isPressChanged)
    Q_PROPERTY(bool firstDraw READ firstDraw NOTIFY firstDrawChanged)
    Q_PROPERTY(int gx READ gx NOTIFY gxChanged)
    Q_PROPERTY(int gy READ gy NOTIFY gyChanged)
    Q_PROPERTY(QRectF gRect READ gRect NOTIFY gRectChanged)
    Q_PROPERTY(int maxSelectWidth READ maxSelectWidth WRITE setMaxSelectWidth NOTIFY maxSelectWidthChanged)
    Q_PROPERTY(int maxSelectHeight READ maxSelectHeight WRITE setMaxSelectHeight NOTIFY maxSelectHeightChanged)
    Q_PROPERTY(int screenIndex READ screenIndex WRITE setScreenIndex NOTIFY screenIndexChanged)
    Q_PROPERTY(bool isShowMagnified READ isShowMagnified WRITE setIsShowMagnified NOTIFY isShowMagnifiedChanged)

public:
    explicit SurfaceSelector(QQuickItem *parent = nullptr);

    // True when the rectangle is less than one pixel wide or less than one pixel high.
    static bool isEmptyArea(const QRectF &rect);
    // The rectangles the item dims, in item coordinates, and the colour it dims them with.
    QList<QRect> dimmedAreas() const;
    static QColor dimColor();

    QRectF rubberRect() const;
    int rubberRectLeft() const;
    int rubberRectRight() const;
    int rubberRectTop() const;
    int rubberRectBottom() const;
    int gRubberRectLeft() const;
    int gRubberRectRight() const;
    int gRubberRectTop() const;
    int gRubberRectBottom() const;
    bool showToolBar() const { return m_showToolBar; }
    bool fullScreen() const { return m_fullScreen; }
    bool quickScreen() const { return m_quickScreen; }
    bool isPress() const { return m_isPress; }
    bool firstDraw() const { return m_firstDraw; }
    int gx() const { return m_gx; }
    int gy() const { return m_gy; }
    QRectF gRect() const { return m_gRect; }
    int maxSelectWidth() const { return m_maxSelectWidth; }
    int maxSelectHeight() const { return m_maxSelectHeight; }
    int screenIndex() const { return m_screenIndex; }
    bool isShowMagnified() const { return m_isShowMagnified; }
    bool moveSelector() const { return m_moveSelector; }

    Q_INVOKABLE bool isCompleteSelectRect() const { return !m_firstDraw; }
    // The rule every caller (release, hit test, the overlay's keys) uses for "no selection".
    Q_INVOKABLE bool isEmptySelection() const { return isEmptyArea(m_rubberRect); }

    void setFullScreen(bool value);
    void setQuickScreen(bool value);
    void setIsShowMagnified(bool value);
    void setFirstDraw(bool value);
    void setScreenIndex(int index);
    void setMaxSelectWidth(int value);
    void setMaxSelectHeight(int value);
    // Cursor position mirrored from a sibling window; redraws the guide lines, no signal.
    void setX(int x);
    void setY(int y);

    bool contains(const QPointF &point) const override;

public slots:
    // Back to the state of a new item, for the next capture in the same window.
    void reset();
    void setRubberRect(const QRectF &rect);
    void setGRect(const QRectF &gRect, const QRectF &rect);
    void moveRubber(int x, int y);
    void expandToFullScreen();
    void collapseFromFullScreen();
    void checkProperties();
    void setMoveSelector(bool move);
    void setGlobalX(int) {}
    void setGlobalY(int) {}

signals:
    void rubberRectChanged(QRectF rect);
    void rubberRectLeftChanged(int left);
    void rubberRectRightChanged(int right);
    void rubberRectTopChanged(int top);
    void rubberRectBottomChanged(int bottom);
    void gRubberRectLeftChanged(int left);
    void gRubberRectRightChanged(int right);
    void gRubberRectTopChanged(int top);
    void gRubberRectBottomChanged(int bottom);
    void showToolBarChanged(bool show);
    void fullScreenChanged(bool value);
    void quickScreenChanged(bool value);
    void isPressChanged(bool press);
    void gxChanged(int gx);
    void gyChanged(int gy);
    void gRectChanged(QRectF gRect);
    void firstDrawChanged(bool firstDraw);
    void maxSelectWidthChanged(int value);
    void maxSelectHeightChanged(int value);
    void screenIndexChanged(int index);
    void isShowMagnifiedChanged();
    void moveRubberChanged(bool move);
    void selectComplete();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;

private:
    void announceRubberRect();
    void setIsPress(bool press);
    void setShowToolBar(bool show);
    void setCursorPosition(const QPoint &position);
    void finishSelection();
    void returnToWaiting();
    bool followHover(const QPoint &position);
    void updateZones(const QPoint &position);
    void updateZoneCursor();
    void resizeBySides(const QPoint &position);
    void slideWhileDrawing();
    void applyDragLimits(double xBefore, double yBefore);
    // When a limit is set: the selection gives up room for the preview on its side with less
    // free space.
    void calcFreeSpace();
    // The guide lines, in item coordinates.
    QList<QRect> guideLines() const;
    QList<QRect> surroundOfSelection() const;

    int m_gx = 0;
    int m_gy = 0;
    QRectF m_gRect;
    bool m_isPress = false;
    bool m_firstDraw = true;
    bool m_complete = false;
    bool m_showToolBar = false;
    QPointF m_startPoint;
    QPointF m_lastPoint;
    QRectF m_rubberRect;
    QRectF m_savedRect;
    bool m_fullScreen = false;
    bool m_quickScreen = false;
    bool m_isShowMagnified = false;
    bool m_outside = false;
    bool m_zoneTop = false;
    bool m_zoneBottom = false;
    bool m_zoneLeft = false;
    bool m_zoneRight = false;
    bool m_zoneCorner = false;
    bool m_moveSelector = false;
    int m_maxSelectWidth = -1;
    int m_maxSelectHeight = -1;
    int m_screenIndex = -1;
};
