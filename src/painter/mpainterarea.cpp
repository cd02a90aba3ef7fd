#include "mpainterarea.h"

#include "abstractgraphitem.h"
#include "arrowitem.h"
#include "blackoutitem.h"
#include "bluritem.h"
#include "capture/ponorammodule.h"
#include "counteritem.h"
#include "ellipseitem.h"
#include "historystack.h"
#include "lineitem.h"
#include "markeritem.h"
#include "movemodule.h"
#include "penitem.h"
#include "rectitem.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "textitem.h"

#include <QDebug>
#include <QMouseEvent>

namespace {
const QString moveTool = QStringLiteral("Move");

int settingInt(const QString &key, int fallback)
{
    bool ok = false;
    const int value = Setting::instance()->getValue(key).toInt(&ok);
    return ok ? value : fallback;
}
} // namespace

const QStringList &MPainterArea::toolNames()
{
    static const QStringList names = {
        QStringLiteral("Move"),    QStringLiteral("Pen"),   QStringLiteral("Rect"),
        QStringLiteral("Ellipse"), QStringLiteral("Line"),  QStringLiteral("Arrow"),
        QStringLiteral("Text"),    QStringLiteral("Blur"),  QStringLiteral("Counter"),
        QStringLiteral("Marker"),  QStringLiteral("Blackout"), QStringLiteral("Ponoram")};
    return names;
}

MPainterArea::MPainterArea(QQuickItem *parent) : QQuickItem(parent)
{
    setObjectName(QStringLiteral("MPainterArea"));
    setAcceptedMouseButtons(Qt::LeftButton);
    connect(&m_history, &QUndoStack::indexChanged, this, &MPainterArea::followHistoryState);

    m_currentColorX = settingInt(SettingKeys::colorColorLine, 7);
    m_currentColor = colorFromX(m_currentColorX);
    m_currentSubstrate = Setting::instance()->getValue(SettingKeys::substrate).toBool();
    m_currentLineWidth = settingInt(SettingKeys::widthColorLine, 2);
    loadGraphModule();
}

MPainterArea::~MPainterArea()
{
    // The undo steps go first, while the items they point at still exist.
    m_history.clear();
}

void MPainterArea::loadGraphModule()
{
    if (!m_modules.isEmpty())
        return;
    const QList<GraphModule *> modules = {
        new MoveModule(this),    new PenModule(this),   new RectModule(this),
        new EllipseModule(this), new LineModule(this),  new ArrowModule(this),
        new TextModule(this),    new BlurModule(this),  new CounterModule(this),
        new MarkerModule(this),  new BlackoutModule(this), new PonoramModule(this)};
    for (GraphModule *module : modules) {
        m_modules.insert(module->name(), module);
        connect(module, &GraphModule::currentItemChange, this, &MPainterArea::setCurrentItem);
    }
}

GraphModule *MPainterArea::module(const QString &name) const
{
    return m_modules.value(name, nullptr);
}

GraphModule *MPainterArea::activeModule() const
{
    return module(m_currentModule);
}

QString MPainterArea::currentModule() const
{
    return m_currentModule;
}

void MPainterArea::setCurrentModule(const QString &name)
{
    if (!name.isEmpty() && !m_modules.contains(name)) {
        qWarning() << Q_FUNC_INFO << "no tool named" << name;
        return;
    }
    if (name == m_currentModule)
        return;
    if (!m_currentModule.isEmpty() && m_currentModule != moveTool)
        m_lastModule = m_currentModule;
    finishDrag();
    m_currentModule = name;
    if (!name.isEmpty()) {
        Setting::instance()->setValue(SettingKeys::lastGraphTools, name);
        emit Setting::instance()->lastGraphToolsChanged(name);
        loadLineWidthFor(name);
    }
    emit currentModuleChanged(name);
}

void MPainterArea::selectLastModule()
{
    if (m_currentModule != moveTool)
        setCurrentModule(moveTool);
    else if (!m_lastModule.isEmpty())
        setCurrentModule(m_lastModule);
}

AbstractGraphItem *MPainterArea::currentItem() const
{
    return m_currentItem;
}

void MPainterArea::setCurrentItem(AbstractGraphItem *item)
{
    if (m_currentItem == item)
        return;
    m_currentItem = item;
    emit currentItemChange(item);
}

QColor MPainterArea::currentColor() const
{
    return m_currentColor;
}

// The colour, colour-line position and line width are those of the next item. The
// selected item changes only through pushColorChange() and pushLineWidthChange(), as one
// undoable step: a tool change, which brings its own width, leaves it alone.
void MPainterArea::setCurrentColor(const QColor &color)
{
    if (m_currentColor == color)
        return;
    m_currentColor = color;
    emit currentColorChanged(color);
}

int MPainterArea::currentColorX() const
{
    return m_currentColorX;
}

void MPainterArea::setCurrentColorX(int value)
{
    if (m_currentColorX == value)
        return;
    m_currentColorX = value;
    emit currentColorXChanged(value);
}

int MPainterArea::currentLineWidth() const
{
    return m_currentLineWidth;
}

void MPainterArea::setCurrentLineWidth(int width)
{
    adoptLineWidth(width);
}

bool MPainterArea::currentSubstrate() const
{
    return m_currentSubstrate;
}

void MPainterArea::setCurrentSubstrate(bool substrate)
{
    if (auto *text = qobject_cast<TextItem *>(editedItem()))
        text->setSubstrate(substrate);
    if (m_currentSubstrate == substrate)
        return;
    m_currentSubstrate = substrate;
    Setting::instance()->setValue(SettingKeys::substrate, substrate);
    emit currentSubstrateChanged(substrate);
}

QRectF MPainterArea::selectRect() const
{
    return m_selectRect;
}

void MPainterArea::setSelectRect(const QRectF &rect)
{
    if (m_selectRect == rect)
        return;
    m_selectRect = rect;
    emit selectRectChanged(rect);
}

QList<AbstractGraphItem *> MPainterArea::graphItems() const
{
    QList<AbstractGraphItem *> items;
    for (QQuickItem *child : childItems()) {
        if (auto *item = qobject_cast<AbstractGraphItem *>(child))
            items << item;
    }
    return items;
}

AbstractGraphItem *MPainterArea::itemAt(const QPointF &point) const
{
    const QList<AbstractGraphItem *> items = graphItems();
    AbstractGraphItem *found = nullptr;
    // The topmost wins: the highest z, and among equal z the later child.
    for (AbstractGraphItem *item : items) {
        if (item->hitTest(point) && (!found || item->z() >= found->z()))
            found = item;
    }
    return found;
}

AbstractGraphItem *MPainterArea::checkItem() const
{
    for (AbstractGraphItem *item : graphItems()) {
        if (item->isChecked())
            return item;
    }
    return nullptr;
}

void MPainterArea::uncheckAllItem()
{
    for (AbstractGraphItem *item : graphItems())
        item->setCheck(false);
    setCurrentItem(nullptr);
}

void MPainterArea::clear()
{
    finishDrag();
    m_history.clear();
    for (AbstractGraphItem *item : graphItems())
        delete item;
    setCurrentItem(nullptr);
    m_lastModule.clear();
    if (!m_currentModule.isEmpty()) {
        m_currentModule.clear();
        emit currentModuleChanged(m_currentModule);
    }
    setSelectRect(QRectF());
    emit updateBlackoutArea();
}

AbstractGraphItem *MPainterArea::editedItem() const
{
    return (m_currentItem && m_currentItem->isChecked()) ? m_currentItem.data() : nullptr;
}

void MPainterArea::prepareItem(AbstractGraphItem *item)
{
    item->setParentItem(this);
    item->setParent(this);
    item->setColor(m_currentColor);
    item->setColorX(m_currentColorX);
    item->setLineWidth(m_currentLineWidth);
    if (auto *text = qobject_cast<TextItem *>(item))
        text->setSubstrate(m_currentSubstrate);
}

void MPainterArea::mousePressEvent(QMouseEvent *event)
{
    GraphModule *tool = activeModule();
    if (!tool || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    forceActiveFocus(Qt::MouseFocusReason);
    m_mousePressed = true;
    m_lastMousePoint = event->position().toPoint();
    tool->beginPaintItem(this, m_lastMousePoint);
}

void MPainterArea::mouseMoveEvent(QMouseEvent *event)
{
    GraphModule *tool = activeModule();
    if (!tool || !m_mousePressed) {
        event->ignore();
        return;
    }
    m_lastMousePoint = event->position().toPoint();
    tool->paintItem(this, m_lastMousePoint);
}

void MPainterArea::mouseReleaseEvent(QMouseEvent *event)
{
    GraphModule *tool = activeModule();
    if (!tool || !m_mousePressed) {
        event->ignore();
        return;
    }
    m_mousePressed = false;
    tool->endPaintItem(this, event->position().toPoint());
}

// A drag cut short (the tool changed, the window took the mouse away) is finished by the
// tool that began it at the last known point, so that no half-made item stays outside the
// history.
void MPainterArea::finishDrag()
{
    GraphModule *tool = activeModule();
    const bool pressed = m_mousePressed;
    m_mousePressed = false;
    if (pressed && tool)
        tool->endPaintItem(this, m_lastMousePoint);
}

void MPainterArea::mouseUngrabEvent()
{
    finishDrag();
}

QString MPainterArea::lineWidthKey(const QString &tool)
{
    if (tool == QLatin1String("Text"))
        return SettingKeys::widthTextLine;
    if (tool == QLatin1String("Blur"))
        return SettingKeys::widthBlureLine;
    if (tool == QLatin1String("Blackout"))
        return SettingKeys::widthBlackoutLine;
    return SettingKeys::widthColorLine;
}

void MPainterArea::loadLineWidthFor(const QString &tool)
{
    if (tool == moveTool || tool == QLatin1String("Ponoram"))
        return;
    const QString key = lineWidthKey(tool);
    int fallback = 2;
    for (const auto &row : SettingKeys::defaultRows()) {
        if (row.name == key)
            fallback = row.value.toInt();
    }
    adoptLineWidth(settingInt(key, fallback));
}
