#pragma once

#include <QColor>
#include <QPointer>
#include <QPolygonF>
#include <QUndoCommand>

class AbstractGraphItem;
class MPainterArea;

// Base of the canvas's undo steps. Each step touches one item (or only the canvas's own
// colour or line width) and keeps just what it changes, never a copy of the other items.
class AbstractHistoryCommand : public QUndoCommand
{
public:
    AbstractHistoryCommand(MPainterArea *area, AbstractGraphItem *item, const QString &text);

    // The item the step acts on, or null for a step on the canvas alone.
    AbstractGraphItem *item() const;

protected:
    QPointer<MPainterArea> m_area;
    QPointer<AbstractGraphItem> m_item;
};

// A new item: undo hides it, redo shows it again. An item whose step was dropped from the
// history while undone can never come back and is deleted with the step.
class AddItemCommand : public AbstractHistoryCommand
{
public:
    AddItemCommand(MPainterArea *area, AbstractGraphItem *item);
    ~AddItemCommand() override;

    void undo() override;
    void redo() override;

private:
    bool m_done = false;
};

// Moving or resizing an item. Successive steps of one drag merge into one.
class MoveItemCommand : public AbstractHistoryCommand
{
public:
    enum { Id = 0x4d56 };

    MoveItemCommand(MPainterArea *area, AbstractGraphItem *item, const QPolygonF &before,
                    const QPolygonF &after, int dragSerial);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    QPolygonF m_before;
    QPolygonF m_after;
    int m_dragSerial;
};

// A pick on the colour line, for the checked item if there is one. Undo gives the item back
// the colour it had, which need not be the one the colour line showed before.
class ColorChangeCommand : public AbstractHistoryCommand
{
public:
    ColorChangeCommand(MPainterArea *area, AbstractGraphItem *item, int value, int oldValue);

    void undo() override;
    void redo() override;

private:
    int m_value;
    int m_oldValue;
    QColor m_itemColor;
    int m_itemColorX;
};

// A line-width change, for the checked item if there is one; undo as for the colour.
class LineWidthChangeCommand : public AbstractHistoryCommand
{
public:
    LineWidthChangeCommand(MPainterArea *area, AbstractGraphItem *item, int value, int oldValue);

    void undo() override;
    void redo() override;

private:
    int m_value;
    int m_oldValue;
    int m_itemWidth;
};
