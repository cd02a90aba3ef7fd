#include "historystack.h"

#include "abstractgraphitem.h"
#include "mpainterarea.h"

AbstractHistoryCommand::AbstractHistoryCommand(MPainterArea *area, AbstractGraphItem *item,
                                               const QString &text)
    : m_area(area), m_item(item)
{
    setText(text);
}

AbstractGraphItem *AbstractHistoryCommand::item() const
{
    return m_item;
}

AddItemCommand::AddItemCommand(MPainterArea *area, AbstractGraphItem *item)
    : AbstractHistoryCommand(area, item, QStringLiteral("add ") + item->name())
{
}

AddItemCommand::~AddItemCommand()
{
    if (m_item && !m_done)
        m_item->deleteLater();
}

void AddItemCommand::undo()
{
    m_done = false;
    if (!m_item)
        return;
    m_item->setCheck(false);
    m_item->setVisible(false);
}

void AddItemCommand::redo()
{
    m_done = true;
    if (m_item)
        m_item->setVisible(true);
}

MoveItemCommand::MoveItemCommand(MPainterArea *area, AbstractGraphItem *item,
                                 const QPolygonF &before, const QPolygonF &after, int dragSerial)
    : AbstractHistoryCommand(area, item, QStringLiteral("move ") + item->name()),
      m_before(before), m_after(after), m_dragSerial(dragSerial)
{
}

void MoveItemCommand::undo()
{
    if (m_item)
        m_item->setPoints(m_before);
}

void MoveItemCommand::redo()
{
    if (m_item)
        m_item->setPoints(m_after);
}

int MoveItemCommand::id() const
{
    return Id;
}

bool MoveItemCommand::mergeWith(const QUndoCommand *other)
{
    const auto *move = static_cast<const MoveItemCommand *>(other);
    if (move->m_item != m_item || move->m_dragSerial != m_dragSerial)
        return false;
    m_after = move->m_after;
    return true;
}

ColorChangeCommand::ColorChangeCommand(MPainterArea *area, AbstractGraphItem *item, int value,
                                       int oldValue)
    : AbstractHistoryCommand(area, item, QStringLiteral("colour")), m_value(value),
      m_oldValue(oldValue), m_itemColor(item ? item->color() : QColor()),
      m_itemColorX(item ? item->colorX() : 0)
{
}

void ColorChangeCommand::undo()
{
    if (m_item) {
        m_item->setColor(m_itemColor);
        m_item->setColorX(m_itemColorX);
    }
    if (m_area)
        m_area->adoptColor(MPainterArea::colorFromX(m_oldValue), m_oldValue);
}

void ColorChangeCommand::redo()
{
    const QColor color = MPainterArea::colorFromX(m_value);
    if (m_item) {
        m_item->setColor(color);
        m_item->setColorX(m_value);
    }
    if (m_area)
        m_area->adoptColor(color, m_value);
}

LineWidthChangeCommand::LineWidthChangeCommand(MPainterArea *area, AbstractGraphItem *item,
                                               int value, int oldValue)
    : AbstractHistoryCommand(area, item, QStringLiteral("line width")), m_value(value),
      m_oldValue(oldValue), m_itemWidth(item ? item->lineWidth() : 0)
{
}

void LineWidthChangeCommand::undo()
{
    if (m_item)
        m_item->setLineWidth(m_itemWidth);
    if (m_area)
        m_area->adoptLineWidth(m_oldValue);
}

void LineWidthChangeCommand::redo()
{
    if (m_item)
        m_item->setLineWidth(m_value);
    if (m_area)
        m_area->adoptLineWidth(m_value);
}
