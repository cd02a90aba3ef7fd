#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

#include <QTextCursor>
#include <QTextDocument>

// An editable text label. The line width sets the font size; with the substrate on, the
// text sits on a box filled with the item's colour.
class TextItem : public AbstractGraphItem
{
    Q_OBJECT
    Q_PROPERTY(bool substrate READ substrate WRITE setSubstrate NOTIFY substrateChanged)
public:
    explicit TextItem(QQuickItem *parent = nullptr);

    // The selected text with its lines joined by "\n"; empty when nothing is selected.
    Q_INVOKABLE QString getSelectedText() const;
    QString text() const;
    void setText(const QString &text);
    void selectAll();
    void setSelection(int anchor, int position);
    // Puts the caret at the canvas point; with keepAnchor the selection reaches to it.
    void placeCursor(const QPointF &point, bool keepAnchor);

    bool substrate() const;
    void setSubstrate(bool substrate);

    QRectF shapeBounds() const override;
    bool isResizable() const override;
    bool isDegenerate() const override;
    void paintContent(QPainter *painter) override;
    void paint(QPainter *painter) override;

signals:
    void substrateChanged(bool substrate);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool editKey(QKeyEvent *event);
    void applyFormat();
    QColor textColor() const;
    QPointF origin() const;
    void drawDocument(QPainter *painter, bool editing);
    void textEdited();

    QTextDocument m_document;
    QTextCursor m_cursor;
    bool m_substrate = false;
};

// Tool "Text": a click on free space starts a new label, a click on a label edits it, and
// a drag over a label selects text.
class TextModule : public GraphModule
{
    Q_OBJECT
public:
    explicit TextModule(QObject *parent);

public slots:
    void beginPaintItem(MPainterArea *area, QPoint point) override;
    void paintItem(MPainterArea *area, QPoint point) override;
    void endPaintItem(MPainterArea *area, QPoint point) override;

private:
    QPointer<TextItem> m_item;
};
