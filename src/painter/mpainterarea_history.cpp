// The canvas's undo history and its colour line.

#include "abstractgraphitem.h"
#include "historystack.h"
#include "mpainterarea.h"
#include "settings/setting.h"

#include <QtGlobal>

namespace {
MPainterArea::ColorLookup &colorLookup()
{
    static MPainterArea::ColorLookup lookup;
    return lookup;
}
} // namespace

void MPainterArea::setColorLookup(ColorLookup lookup)
{
    colorLookup() = std::move(lookup);
}

QColor MPainterArea::colorFromX(int x)
{
    const ColorLookup &lookup = colorLookup();
    return lookup ? lookup(x) : defaultPaletteColor(x);
}

// The built-in colour line: 340 columns (positions -7 to 332) running through the hues
// from red to violet, then to white and black.
QColor MPainterArea::defaultPaletteColor(int x)
{
    static const QColor stops[] = {QColor(255, 0, 0),   QColor(255, 128, 0), QColor(255, 255, 0),
                                   QColor(0, 200, 0),   QColor(0, 200, 255), QColor(0, 0, 255),
                                   QColor(200, 0, 255), Qt::white,           Qt::black};
    constexpr int lastStop = int(sizeof(stops) / sizeof(stops[0])) - 1;
    const int column = qBound(0, x + 7, 339);
    const qreal position = column / 339.0 * lastStop;
    const int index = qMin(int(position), lastStop - 1);
    const qreal t = position - index;
    const QColor &a = stops[index];
    const QColor &b = stops[index + 1];
    return QColor(qRound(a.red() + (b.red() - a.red()) * t),
                  qRound(a.green() + (b.green() - a.green()) * t),
                  qRound(a.blue() + (b.blue() - a.blue()) * t));
}

QUndoStack *MPainterArea::history()
{
    return &m_history;
}

bool MPainterArea::canUndo() const
{
    return m_canUndo;
}

bool MPainterArea::canRedo() const
{
    return m_canRedo;
}

// The undo stack reports its flags on every step; the page hears only real changes.
void MPainterArea::followHistoryState()
{
    if (m_canUndo != m_history.canUndo()) {
        m_canUndo = m_history.canUndo();
        emit canUndoChanged(m_canUndo);
    }
    if (m_canRedo != m_history.canRedo()) {
        m_canRedo = m_history.canRedo();
        emit canRedoChanged(m_canRedo);
    }
}

void MPainterArea::addItem(AbstractGraphItem *item)
{
    if (!item)
        return;
    finishMove();
    m_history.push(new AddItemCommand(this, item));
    for (AbstractGraphItem *other : graphItems())
        other->setCheck(other == item);
}

void MPainterArea::pushMove(AbstractGraphItem *item, const QPolygonF &before, const QPolygonF &after)
{
    if (item && before != after)
        m_history.push(new MoveItemCommand(this, item, before, after, m_dragSerial));
}

void MPainterArea::finishMove()
{
    ++m_dragSerial;
}

void MPainterArea::pushColorChange(int value, int oldValue)
{
    if (value == oldValue)
        return;
    finishMove();
    m_history.push(new ColorChangeCommand(this, editedItem(), value, oldValue));
}

void MPainterArea::pushLineWidthChange(int value, int oldValue)
{
    if (value == oldValue)
        return;
    finishMove();
    AbstractGraphItem *item = editedItem();
    const QString tool = item ? item->name() : m_currentModule;
    if (!tool.isEmpty())
        Setting::instance()->setValue(lineWidthKey(tool), value);
    m_history.push(new LineWidthChangeCommand(this, item, value, oldValue));
}

void MPainterArea::adoptColor(const QColor &color, int colorX)
{
    if (m_currentColor != color) {
        m_currentColor = color;
        emit currentColorChanged(color);
    }
    if (m_currentColorX != colorX) {
        m_currentColorX = colorX;
        emit currentColorXChanged(colorX);
    }
}

void MPainterArea::adoptLineWidth(int width)
{
    width = qMax(1, width);
    if (m_currentLineWidth == width)
        return;
    m_currentLineWidth = width;
    emit currentLineWidthChanged(width);
}

void MPainterArea::checkUndo()
{
    if (!m_history.canUndo())
        return;
    finishMove();
    m_history.undo();
    adoptTopOfHistory();
    emit updateBlackoutArea();
}

void MPainterArea::checkRedo()
{
    if (!m_history.canRedo())
        return;
    finishMove();
    m_history.redo();
    adoptTopOfHistory();
    emit updateBlackoutArea();
}

// After a step back or forth, the item of the step now on top becomes the current one and
// lends the canvas its line width and colour.
void MPainterArea::adoptTopOfHistory()
{
    const int top = m_history.index() - 1;
    const auto *command =
        top >= 0 ? static_cast<const AbstractHistoryCommand *>(m_history.command(top)) : nullptr;
    AbstractGraphItem *item = command ? command->item() : nullptr;
    setCurrentItem(item);
    if (!item)
        return;
    adoptLineWidth(item->lineWidth());
    adoptColor(item->color(), item->colorX());
}
