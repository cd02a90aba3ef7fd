#pragma once

#include <QColor>
#include <QImage>
#include <QMap>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QStringList>
#include <QUndoStack>
#include <functional>

#include "abstractgraphitem.h"

class GraphModule;
class QPainter;

// The annotation canvas laid over the captured picture. Its children are the annotation
// items; the current tool module turns mouse input into items; the undo history records
// every change; renderRect() flattens picture and items into the image that leaves the
// program.
class MPainterArea : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QString currentModule READ currentModule WRITE setCurrentModule NOTIFY currentModuleChanged)
    Q_PROPERTY(AbstractGraphItem *currentItem READ currentItem WRITE setCurrentItem NOTIFY currentItemChange)
    Q_PROPERTY(QColor currentColor READ currentColor WRITE setCurrentColor NOTIFY currentColorChanged)
    Q_PROPERTY(int currentColorX READ currentColorX WRITE setCurrentColorX NOTIFY currentColorXChanged)
    Q_PROPERTY(int currentLineWidth READ currentLineWidth WRITE setCurrentLineWidth NOTIFY currentLineWidthChanged)
    Q_PROPERTY(bool currentSubstrate READ currentSubstrate WRITE setCurrentSubstrate NOTIFY currentSubstrateChanged)
    Q_PROPERTY(QRectF selectRect READ selectRect WRITE setSelectRect NOTIFY selectRectChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY canRedoChanged)

public:
    // Where the canvas asks for the colour at a position of the colour line. The controller
    // puts its palette lookup here; until then a built-in palette answers.
    using ColorLookup = std::function<QColor(int x)>;
    static void setColorLookup(ColorLookup lookup);
    static QColor colorFromX(int x);
    static QColor defaultPaletteColor(int x);

    // The tool names, in the order loadGraphModule() creates their modules.
    static const QStringList &toolNames();

    explicit MPainterArea(QQuickItem *parent = nullptr);
    ~MPainterArea() override;

    QString currentModule() const;
    AbstractGraphItem *currentItem() const;
    QColor currentColor() const;
    int currentColorX() const;
    int currentLineWidth() const;
    bool currentSubstrate() const;
    QRectF selectRect() const;
    bool canUndo() const;
    bool canRedo() const;

    Q_INVOKABLE QImage renderRect(QRect rect, double zLimit, bool antialias, bool);
    Q_INVOKABLE void uncheckAllItem();
    Q_INVOKABLE AbstractGraphItem *checkItem() const;
    Q_INVOKABLE void checkUndo();
    Q_INVOKABLE void checkRedo();
    Q_INVOKABLE void selectLastModule();
    Q_INVOKABLE void loadGraphModule();
    Q_INVOKABLE void pushColorChange(int value, int oldValue);
    Q_INVOKABLE void pushLineWidthChange(int value, int oldValue);
    // The canvas as new: no items, no history, no tool, no selection. The background stays.
    void clear();

    QImage background() const;
    // The background scaled to the canvas as renderRect() draws it (cached).
    QImage canvasBackground() const;

    // For the tool modules and the undo steps.
    GraphModule *module(const QString &name) const;
    QList<AbstractGraphItem *> graphItems() const;
    AbstractGraphItem *itemAt(const QPointF &point) const;
    void prepareItem(AbstractGraphItem *item);
    void addItem(AbstractGraphItem *item);
    void pushMove(AbstractGraphItem *item, const QPolygonF &before, const QPolygonF &after);
    void finishMove();
    void adoptColor(const QColor &color, int colorX);
    void adoptLineWidth(int width);
    QUndoStack *history();

public slots:
    void setCurrentModule(const QString &name);
    void setCurrentItem(AbstractGraphItem *item);
    void setCurrentColor(const QColor &color);
    void setCurrentColorX(int value);
    void setCurrentLineWidth(int width);
    void setCurrentSubstrate(bool substrate);
    void setSelectRect(const QRectF &rect);
    void setBackground(QImage image);
    // Where the background comes from when it is first needed (a result, a blur), for a
    // picture that is not in this process yet.
    void setBackgroundSource(std::function<QImage()> source);

signals:
    void currentModuleChanged(QString name);
    void currentItemChange(AbstractGraphItem *item);
    void currentColorChanged(QColor color);
    void currentColorXChanged(int value);
    void currentLineWidthChanged(int width);
    void currentSubstrateChanged(bool substrate);
    void selectRectChanged(QRectF rect);
    void canUndoChanged(bool canUndo);
    void canRedoChanged(bool canRedo);
    void updateBlackoutArea();
    void backgroundChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    GraphModule *activeModule() const;
    AbstractGraphItem *editedItem() const;
    void adoptTopOfHistory();
    void followHistoryState();
    void finishDrag();
    void paintChild(QQuickItem *child, QPainter *painter) const;
    void loadLineWidthFor(const QString &tool);
    static QString lineWidthKey(const QString &tool);

    QUndoStack m_history;
    QMap<QString, GraphModule *> m_modules;
    QString m_currentModule;
    QString m_lastModule;
    QPointer<AbstractGraphItem> m_currentItem;
    QColor m_currentColor;
    int m_currentColorX = 0;
    int m_currentLineWidth = 2;
    bool m_currentSubstrate = false;
    QRectF m_selectRect;
    mutable QImage m_background;
    std::function<QImage()> m_backgroundSource;
    mutable QImage m_scaledBackground;
    mutable qint64 m_scaledKey = 0;
    mutable QSize m_scaledFor;
    bool m_canUndo = false;
    bool m_canRedo = false;
    int m_dragSerial = 0;
    bool m_mousePressed = false;
    QPoint m_lastMousePoint;
};
