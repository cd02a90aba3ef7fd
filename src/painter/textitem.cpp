#include "textitem.h"

#include "mpainterarea.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr qreal minimumTextWidth = 20.0;

int fontPixelSize(int lineWidth)
{
    return qMax(10, lineWidth * 2 + 8);
}
} // namespace

TextItem::TextItem(QQuickItem *parent)
    : AbstractGraphItem(QStringLiteral("Text"), parent), m_cursor(&m_document)
{
    m_document.setDocumentMargin(4);
    m_document.setUndoRedoEnabled(false);
    applyFormat();
    connect(this, &AbstractGraphItem::lineWidthChanged, this, [this] { applyFormat(); });
    // An unchecked label stops taking keys, so that typing cannot change it unseen.
    connect(this, &AbstractGraphItem::checkChanged, this, [this](bool checked) {
        if (!checked && hasActiveFocus() && canvas())
            canvas()->forceActiveFocus(Qt::OtherFocusReason);
    });
}

QString TextItem::getSelectedText() const
{
    QString selected = m_cursor.selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return selected;
}

QString TextItem::text() const
{
    return m_document.toPlainText();
}

void TextItem::setText(const QString &text)
{
    m_document.setPlainText(text);
    m_cursor = QTextCursor(&m_document);
    m_cursor.movePosition(QTextCursor::End);
    textEdited();
}

void TextItem::selectAll()
{
    m_cursor.select(QTextCursor::Document);
    update();
}

void TextItem::setSelection(int anchor, int position)
{
    const int last = m_document.characterCount() - 1;
    m_cursor.setPosition(qBound(0, anchor, last));
    m_cursor.setPosition(qBound(0, position, last), QTextCursor::KeepAnchor);
    update();
}

void TextItem::placeCursor(const QPointF &point, bool keepAnchor)
{
    const int position = m_document.documentLayout()->hitTest(point - origin(), Qt::FuzzyHit);
    if (position < 0)
        return;
    m_cursor.setPosition(position, keepAnchor ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    update();
}

bool TextItem::substrate() const
{
    return m_substrate;
}

void TextItem::setSubstrate(bool substrate)
{
    if (m_substrate == substrate)
        return;
    m_substrate = substrate;
    update();
    emit substrateChanged(substrate);
}

QPointF TextItem::origin() const
{
    const QPolygonF anchor = points();
    return anchor.isEmpty() ? QPointF() : anchor.first();
}

QRectF TextItem::shapeBounds() const
{
    const QSizeF size = m_document.size();
    return QRectF(origin(), QSizeF(qMax(minimumTextWidth, size.width()), size.height()));
}

bool TextItem::isResizable() const
{
    return false;
}

bool TextItem::isDegenerate() const
{
    return false;
}

QColor TextItem::textColor() const
{
    if (!m_substrate)
        return color();
    return color().lightnessF() > 0.6 ? QColor(Qt::black) : QColor(Qt::white);
}

void TextItem::applyFormat()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(fontPixelSize(lineWidth()));
    m_document.setDefaultFont(font);
    updateGeometry();
}

void TextItem::drawDocument(QPainter *painter, bool editing)
{
    if (m_substrate) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(color());
        painter->drawRoundedRect(shapeBounds(), 3, 3);
    }
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, textColor());
    if (editing) {
        context.cursorPosition = m_cursor.position();
        if (m_cursor.hasSelection()) {
            QAbstractTextDocumentLayout::Selection selection;
            selection.cursor = m_cursor;
            selection.format.setBackground(QColor(51, 153, 255));
            selection.format.setForeground(Qt::white);
            context.selections << selection;
        }
    }
    painter->translate(origin());
    m_document.documentLayout()->draw(painter, context);
}

void TextItem::paintContent(QPainter *painter)
{
    drawDocument(painter, false);
}

void TextItem::paint(QPainter *painter)
{
    painter->translate(-position());
    painter->save();
    drawDocument(painter, hasActiveFocus());
    painter->restore();
    paintEditingAids(painter);
}

void TextItem::keyPressEvent(QKeyEvent *event)
{
    if (editKey(event))
        event->accept();
    else
        event->ignore();
}

// Applies one editing key; false for keys the text does not handle (left to the window).
bool TextItem::editKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const auto mode = (modifiers & Qt::ShiftModifier) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    switch (event->key()) {
    case Qt::Key_Left: m_cursor.movePosition(QTextCursor::Left, mode); break;
    case Qt::Key_Right: m_cursor.movePosition(QTextCursor::Right, mode); break;
    case Qt::Key_Up: m_cursor.movePosition(QTextCursor::Up, mode); break;
    case Qt::Key_Down: m_cursor.movePosition(QTextCursor::Down, mode); break;
    case Qt::Key_Home: m_cursor.movePosition(QTextCursor::StartOfLine, mode); break;
    case Qt::Key_End: m_cursor.movePosition(QTextCursor::EndOfLine, mode); break;
    case Qt::Key_Backspace: m_cursor.deletePreviousChar(); break;
    case Qt::Key_Delete: m_cursor.deleteChar(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers & Qt::ControlModifier)
            return false;
        m_cursor.insertBlock();
        break;
    default:
        if (event->matches(QKeySequence::SelectAll)) {
            m_cursor.select(QTextCursor::Document);
            break;
        }
        if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) || event->text().isEmpty()
            || !event->text().at(0).isPrint())
            return false;
        m_cursor.insertText(event->text());
    }
    textEdited();
    return true;
}

void TextItem::textEdited()
{
    updateGeometry();
    emit pointsChanged();
}

void TextItem::focusInEvent(QFocusEvent *event)
{
    AbstractGraphItem::focusInEvent(event);
    update();
}

void TextItem::focusOutEvent(QFocusEvent *event)
{
    AbstractGraphItem::focusOutEvent(event);
    update();
}

TextModule::TextModule(QObject *parent) : GraphModule(QStringLiteral("Text"), parent) {}

void TextModule::beginPaintItem(MPainterArea *area, QPoint point)
{
    if (!area)
        return;
    area->finishMove();
    if (auto *text = qobject_cast<TextItem *>(area->itemAt(point))) {
        for (AbstractGraphItem *item : area->graphItems())
            item->setCheck(item == text);
        text->placeCursor(point, false);
        m_item = text;
    } else {
        area->uncheckAllItem();
        m_item = new TextItem;
        area->prepareItem(m_item);
        // The press marks the middle of the first line.
        const qreal lineHeight = m_item->shapeBounds().height();
        m_item->setPoints(QPolygonF({QPointF(point.x(), point.y() - lineHeight / 2.0)}));
        area->addItem(m_item);
    }
    m_item->forceActiveFocus(Qt::MouseFocusReason);
    emit currentItemChange(m_item);
}

void TextModule::paintItem(MPainterArea *, QPoint point)
{
    if (m_item)
        m_item->placeCursor(point, true);
}

void TextModule::endPaintItem(MPainterArea *, QPoint point)
{
    if (m_item)
        m_item->placeCursor(point, true);
    m_item = nullptr;
}
