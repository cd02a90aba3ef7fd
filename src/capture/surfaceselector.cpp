#include "surfaceselector.h"

#include "crosscursor.h"
#include "selectionlimits.h"

#include <QCursor>
#include <QQuickWindow>
#include <QSGRectangleNode>

#include <cmath>

namespace {

const QColor guideColor() { return QColor(QStringLiteral("#33FFFFFF")); }

// The four bands around a selection, the whole item while there is none.
constexpr int dimmedNodes = 4;
// Cursor, start and stop lines, one vertical and one horizontal each.
constexpr int lineNodes = 6;

} // namespace

SurfaceSelector::SurfaceSelector(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
    const QPoint cursor = QCursor::pos();
    m_gx = cursor.x();
    m_gy = cursor.y();
    m_firstDraw = true;
    emit firstDrawChanged(true);
    m_isPress = false;
    emit isPressChanged(false);
    setClip(true);
    setAcceptedMouseButtons(Qt::AllButtons);
    setAcceptHoverEvents(true);
    setObjectName(QStringLiteral("SurfaceSelector"));
    setCursor(captureCrossCursor());
    update();
}

bool SurfaceSelector::isEmptyArea(const QRectF &rect)
{
    return std::fabs(rect.width()) < 1.0 || std::fabs(rect.height()) < 1.0;
}

QRectF SurfaceSelector::rubberRect() const { return m_rubberRect.normalized(); }
int SurfaceSelector::rubberRectLeft() const { return int(rubberRect().x()); }
int SurfaceSelector::rubberRectRight() const { return int(rubberRect().x() + rubberRect().width()); }
int SurfaceSelector::rubberRectTop() const { return int(rubberRect().y()); }
int SurfaceSelector::rubberRectBottom() const { return int(rubberRect().y() + rubberRect().height()); }
int SurfaceSelector::gRubberRectLeft() const { return int(m_gRect.normalized().x()); }

int SurfaceSelector::gRubberRectRight() const
{
    const QRectF rect = m_gRect.normalized();
    return int(rect.x() + rect.width());
}

int SurfaceSelector::gRubberRectTop() const { return int(m_gRect.normalized().y()); }

int SurfaceSelector::gRubberRectBottom() const
{
    const QRectF rect = m_gRect.normalized();
    return int(rect.y() + rect.height());
}

// The side signals carry the rectangle as it stands, inverted or not; the getters normalize.
void SurfaceSelector::announceRubberRect()
{
    const QRectF &raw = m_rubberRect;
    emit rubberRectChanged(rubberRect());
    emit rubberRectLeftChanged(int(raw.x()));
    emit rubberRectRightChanged(int(raw.x() + raw.width()));
    emit rubberRectTopChanged(int(raw.y()));
    emit rubberRectBottomChanged(int(raw.y() + raw.height()));
}

void SurfaceSelector::setIsPress(bool press)
{
    m_isPress = press;
    emit isPressChanged(press);
}

void SurfaceSelector::setShowToolBar(bool show)
{
    m_showToolBar = show;
    emit showToolBarChanged(show);
}

void SurfaceSelector::setCursorPosition(const QPoint &position)
{
    m_gx = position.x();
    m_gy = position.y();
    emit gxChanged(m_gx);
    emit gyChanged(m_gy);
}

void SurfaceSelector::setRubberRect(const QRectF &rect)
{
    if (isEmptyArea(rect)) {
        // Nothing to finish: an empty rectangle leaves the item waiting for a selection.
        m_rubberRect = QRectF();
        returnToWaiting();
        announceRubberRect();
        update();
        return;
    }
    m_rubberRect = rect.normalized();
    m_isPress = false;
    m_firstDraw = false;
    m_complete = true;
    setShowToolBar(true);
    announceRubberRect();
    emit firstDrawChanged(false);
    emit isPressChanged(false);
    emit selectComplete();
    update();
}

void SurfaceSelector::setGRect(const QRectF &gRect, const QRectF &rect)
{
    m_isPress = true;
    m_firstDraw = true;
    m_gRect = gRect;
    m_rubberRect = rect;
    emit rubberRectChanged(rubberRect());
    emit gRubberRectLeftChanged(gRubberRectLeft());
    emit gRubberRectRightChanged(gRubberRectRight());
    emit gRubberRectTopChanged(gRubberRectTop());
    emit gRubberRectBottomChanged(gRubberRectBottom());
    emit rubberRectLeftChanged(int(rect.x()));
    emit rubberRectRightChanged(int(rect.x() + rect.width()));
    emit rubberRectTopChanged(int(rect.y()));
    emit rubberRectBottomChanged(int(rect.y() + rect.height()));
    update();
}

void SurfaceSelector::moveRubber(int x, int y)
{
    const QRectF old = m_rubberRect;
    const double right = std::trunc(old.x() + old.width() + (x - old.x()));
    const double bottom = std::trunc(old.y() + old.height() + (y - old.y()));
    m_rubberRect = QRectF(x, y, right - x, bottom - y);
    announceRubberRect();
    update();
}

void SurfaceSelector::expandToFullScreen()
{
    m_savedRect = m_rubberRect;
    m_rubberRect = QRectF(0, 0, width(), height());
    announceRubberRect();
    update();
}

void SurfaceSelector::collapseFromFullScreen()
{
    m_firstDraw = true;
    emit firstDrawChanged(true);
    m_complete = false;
    setShowToolBar(false);
    m_rubberRect = QRectF(0, 0, 0, 0);
    announceRubberRect();
    update();
}

void SurfaceSelector::checkProperties()
{
    if (!m_fullScreen)
        return;
    m_complete = true;
    m_firstDraw = false;
    m_rubberRect = QRectF(0, 0, width(), height());
    setShowToolBar(true);
    emit firstDrawChanged(false);
    announceRubberRect();
    update();
}

// The configuration that the window gives every capture (full screen, quick, screen index,
// magnifier) stays; everything the user did goes.
void SurfaceSelector::reset()
{
    const QPoint cursor = window() ? mapFromGlobal(QCursor::pos()).toPoint() : QCursor::pos();
    setCursorPosition(cursor);
    m_gRect = QRectF();
    m_rubberRect = QRectF();
    m_savedRect = QRectF();
    m_startPoint = QPointF();
    m_lastPoint = QPointF();
    m_outside = m_zoneTop = m_zoneBottom = m_zoneLeft = m_zoneRight = m_zoneCorner = false;
    m_moveSelector = false;
    setMaxSelectWidth(SelectionLimits::noLimit);
    setMaxSelectHeight(SelectionLimits::noLimit);
    returnToWaiting();
    emit gRectChanged(m_gRect);
    announceRubberRect();
    setCursor(captureCrossCursor());
    update();
}

void SurfaceSelector::setMoveSelector(bool move)
{
    m_moveSelector = move;
    if (move)
        m_lastPoint = QPointF(QCursor::pos());
}

void SurfaceSelector::setFullScreen(bool value)
{
    if (m_fullScreen == value)
        return;
    m_fullScreen = value;
    emit fullScreenChanged(value);
}

void SurfaceSelector::setQuickScreen(bool value)
{
    if (m_quickScreen == value)
        return;
    m_quickScreen = value;
    emit quickScreenChanged(value);
}

void SurfaceSelector::setIsShowMagnified(bool value)
{
    if (m_isShowMagnified == value)
        return;
    m_isShowMagnified = value;
    emit isShowMagnifiedChanged();
}

void SurfaceSelector::setFirstDraw(bool value)
{
    if (m_firstDraw == value)
        return;
    m_firstDraw = value;
    emit firstDrawChanged(value);
}

void SurfaceSelector::setScreenIndex(int index)
{
    m_screenIndex = index;
    emit screenIndexChanged(index);
}

void SurfaceSelector::setMaxSelectWidth(int value)
{
    if (m_maxSelectWidth == value)
        return;
    m_maxSelectWidth = value;
    emit maxSelectWidthChanged(value);
    if (value != SelectionLimits::noLimit)
        calcFreeSpace();
}

void SurfaceSelector::setMaxSelectHeight(int value)
{
    if (m_maxSelectHeight == value)
        return;
    m_maxSelectHeight = value;
    emit maxSelectHeightChanged(value);
    if (value != SelectionLimits::noLimit)
        calcFreeSpace();
}

void SurfaceSelector::setX(int x)
{
    m_gx = x;
    update();
}

void SurfaceSelector::setY(int y)
{
    m_gy = y;
    update();
}

QColor SurfaceSelector::dimColor()
{
    return QColor(QStringLiteral("#6c141517"));
}

// What shows in each state: while the first rectangle is drawn, the dimmed surround, the
// lines through the pointer and, once the rectangle has a size, the lines through its start;
// while waiting, the whole item dimmed and the pointer's lines; once finished, the dimmed
// surround and the lines along all four sides.
QList<QRect> SurfaceSelector::dimmedAreas() const
{
    const bool waiting = !m_complete && !(m_isPress && m_firstDraw);
    return waiting ? QList<QRect>{QRect(0, 0, int(width()), int(height()))} : surroundOfSelection();
}

QList<QRect> SurfaceSelector::guideLines() const
{
    const int itemWidth = int(width());
    const int itemHeight = int(height());
    const QList<QRect> cursorLines = {QRect(m_gx, 0, 1, itemHeight), QRect(0, m_gy, itemWidth, 1)};
    const QList<QRect> startLines = {QRect(int(m_rubberRect.x()), 0, 1, itemHeight),
                                     QRect(0, int(m_rubberRect.y()), itemWidth, 1)};
    if (m_isPress && m_firstDraw)
        return isEmptySelection() ? cursorLines : cursorLines + startLines;
    if (!m_complete)
        return cursorLines;
    const QRectF selection = rubberRect();
    const QList<QRect> stopLines = {QRect(int(selection.x() + selection.width()), 0, 1, itemHeight),
                                    QRect(0, int(selection.y() + selection.height()), itemWidth, 1)};
    return startLines + stopLines;
}

QList<QRect> SurfaceSelector::surroundOfSelection() const
{
    const QRectF selection = rubberRect();
    const int x = int(selection.x());
    const int y = int(selection.y());
    const int w = int(selection.width());
    const int h = int(selection.height());
    const int itemWidth = int(width());
    const int itemHeight = int(height());
    QList<QRect> bands;
    for (const QRect &band : {QRect(0, 0, itemWidth, y), QRect(0, y, x, h), QRect(x + w, y, itemWidth - x - w, h),
                              QRect(0, y + h, itemWidth, itemHeight - y - h)}) {
        if (band.width() > 0 && band.height() > 0)
            bands << band;
    }
    return bands;
}

// A fixed set of rectangle nodes, dimmed areas first and lines over them; those not needed
// in the current state are empty.
QSGNode *SurfaceSelector::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    QSGNode *root = oldNode;
    if (!root) {
        root = new QSGNode();
        for (int i = 0; i < dimmedNodes + lineNodes; ++i) {
            QSGRectangleNode *rectangle = window()->createRectangleNode();
            rectangle->setColor(i < dimmedNodes ? dimColor() : guideColor());
            root->appendChildNode(rectangle);
        }
    }
    const QList<QRect> dimmed = dimmedAreas();
    const QList<QRect> lines = guideLines();
    QSGNode *child = root->firstChild();
    for (int i = 0; i < dimmedNodes + lineNodes; ++i, child = child->nextSibling()) {
        const QList<QRect> &areas = i < dimmedNodes ? dimmed : lines;
        const int index = i < dimmedNodes ? i : i - dimmedNodes;
        const QRectF rect = index < areas.size() ? QRectF(areas.at(index)) : QRectF();
        auto *rectangle = static_cast<QSGRectangleNode *>(child);
        if (rectangle->rect() != rect)
            rectangle->setRect(rect);
    }
    return root;
}
