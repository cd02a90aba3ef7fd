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
      m_oldValue(oldValue)
{
}

void ColorChangeCommand::undo()
{
    apply(m_oldValue);
}

void ColorChangeCommand::redo()
{
    apply(m_value);
}

void ColorChangeCommand::apply(int value)
{
    const QColor color = MPainterArea::colorFromX(value);
    if (m_item) {
        m_item->setColor(color);
        m_item->setColorX(value);
    }
    if (m_area)
        m_area->adoptColor(color, value);
}

LineWidthChangeCommand::LineWidthChangeCommand(MPainterArea *area, AbstractGraphItem *item,
                                               int value, int oldValue)
    : AbstractHistoryCommand(area, item, QStringLiteral("line width")), m_value(value),
      m_oldValue(oldValue)
{
}

void LineWidthChangeCommand::undo()
{
    apply(m_oldValue);
}

void LineWidthChangeCommand::redo()
{
    apply(m_value);
}

void LineWidthChangeCommand::apply(int value)
{
    if (m_item)
        m_item->setLineWidth(value);
    if (m_area)
        m_area->adoptLineWidth(value);
}
